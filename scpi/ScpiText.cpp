#include "scpi/ScpiText.h"

#include <charconv>
#include <cmath>

std::string ScpiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool ScpiMatchesMnemonic(std::string_view pattern, std::string_view upperInput) {
    std::size_t shortLength = 0;
    while (shortLength < pattern.size() &&
           !(pattern[shortLength] >= 'a' && pattern[shortLength] <= 'z'))
        ++shortLength;
    return upperInput == pattern.substr(0, shortLength) || upperInput == ScpiUpper(pattern);
}

std::string ScpiFormatNumber(double value) {
    if (std::isnan(value))
        value = 9.91e37;
    else if (std::isinf(value))
        value = value > 0 ? 9.9e37 : -9.9e37;
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string ScpiQuote(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}
