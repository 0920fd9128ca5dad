#pragma once
#include <string_view>

/// The built-in English language file, compiled into the program byte for byte.
class CDefaultLanguage {
public:
    /// The file's bytes; empty when the program was built without it.
    static std::string_view Bytes();
};
