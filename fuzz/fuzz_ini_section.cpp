// Feeds arbitrary bytes to the INI readers and writer as a file's text. The first byte picks
// the section name's spelling so that case-blind matching is exercised too.
#include "i18n/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static const char* const kSections[] = {"App", "app", "Form", " FORM "};
    const std::string section = kSections[data[0] % 4];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::vector<std::string> keys, values;
    const int count = CIniFile::ReadSectionFromText(text, section, keys, values);
    if (count < 1 || keys.size() != static_cast<std::size_t>(count) || values.size() != keys.size())
        std::abort();
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < keys.size(); ++i)
        bytes += keys[i].size() + values[i].size();
    if (bytes > text.size())
        std::abort();

    const std::string value = CIniFile::ReadStringFromText(text, section, "Language", "-1");
    if (value.size() > 259 * 4)
        std::abort();

    // What is written must read back, and a second write of the same value changes nothing.
    const std::string written = CIniFile::WriteStringToText(text, section, "Language", "42");
    if (CIniFile::ReadStringFromText(written, section, "language", "-1") != "42")
        std::abort();
    if (CIniFile::WriteStringToText(written, section, "Language", "42") != written)
        std::abort();
    return 0;
}
