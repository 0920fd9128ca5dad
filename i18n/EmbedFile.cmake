# Turns the file INPUT into a C++ source OUTPUT defining CDefaultLanguage::Bytes().
# Run by the build (cmake -P) whenever the file changes; a missing file gives empty bytes.
if(EXISTS "${INPUT}")
  file(READ "${INPUT}" hex HEX)
else()
  set(hex "")
endif()
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
set(content "// Generated from ${INPUT}; do not edit.
#include \"i18n/DefaultLanguage.h\"

namespace {
const unsigned char kBytes[] = {
    ${bytes}0x00};
} // namespace

std::string_view CDefaultLanguage::Bytes() {
    return std::string_view(reinterpret_cast<const char*>(kBytes), ${size});
}
")
# Rewrite only on change, so an unchanged file does not rebuild the library.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
else()
  set(old "")
endif()
if(NOT old STREQUAL content)
  file(WRITE "${OUTPUT}" "${content}")
endif()
