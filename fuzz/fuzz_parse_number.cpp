// Feeds arbitrary text to the numeric fields' conversions and checks the rules they promise
// against each other and against the standard library's own reading of a number.
#include "i18n/NumberText.h"
#include "i18n/ParseNumber.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

bool AllOf(const std::string& text, bool (*accepts)(char)) {
    return std::all_of(text.begin(), text.end(), accepts);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsBinaryDigit(char c) {
    return c == '0' || c == '1';
}

void CheckDouble(const std::string& text) {
    double parsed = -1.0;
    const int whole = ParseNumber(text, parsed);
    const double value = CNumberText::ToDouble(text);
    Require(whole == 0 || whole == 1);
    if (!CNumberText::IsNumberText(text)) {
        // Rejected text reads as nothing at all, never as a leading part.
        Require(value == 0.0 && whole == 0 && parsed == 0.0);
        return;
    }
    // A field that accepts the whole text and the strict reader agree on its value.
    if (whole == 1)
        Require(parsed == value);
    if (value != 0.0)
        Require(whole == 1 && parsed == value);
    // Whatever the standard library reads whole and in range, the strict reader reads alike.
    double reference = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), reference);
    if (!text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size())
        Require(value == reference);
}

void CheckInteger(const std::string& text, int unknownBase) {
    const int decimal = CNumberText::ToInteger(CNumberText::BASE_DECIMAL, text);
    const int hex = CNumberText::ToInteger(CNumberText::BASE_HEX, text);
    const int binary = CNumberText::ToInteger(CNumberText::BASE_BINARY, text);
    Require(CNumberText::ToInteger(unknownBase, text) == 0);
    if (text.empty() || !AllOf(text, IsDigit)) {
        Require(decimal == 0);
    } else {
        // Decimal saturates instead of wrapping.
        const std::string digits = text.substr(std::min(text.find_first_not_of('0'), text.size()));
        std::int64_t reference = digits.empty() ? 0 : INT_MAX;
        if (!digits.empty() && digits.size() <= 18)
            std::from_chars(digits.data(), digits.data() + digits.size(), reference);
        Require(decimal == static_cast<int>(std::min<std::int64_t>(reference, INT_MAX)));
    }
    if (text.empty() || !AllOf(text, IsHexDigit)) {
        Require(hex == 0);
    } else {
        // Only the low 32 bits count: the last eight digits.
        const std::string low = text.substr(text.size() - std::min<std::size_t>(text.size(), 8));
        std::uint32_t reference = 0;
        std::from_chars(low.data(), low.data() + low.size(), reference, 16);
        Require(hex == static_cast<int>(reference));
    }
    if (text.empty() || !AllOf(text, IsBinaryDigit)) {
        Require(binary == 0);
    } else {
        const std::string low = text.substr(text.size() - std::min<std::size_t>(text.size(), 32));
        std::uint32_t reference = 0;
        std::from_chars(low.data(), low.data() + low.size(), reference, 2);
        Require(binary == static_cast<int>(reference));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckDouble(text);
    CheckInteger(text, size == 0 ? -1 : 3 + data[0]);
    return 0;
}
