#include "i18n/NumberText.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <locale.h>

namespace {

// One "C" locale for every conversion, so a user's LC_NUMERIC never turns "1.5" into 1.
locale_t ClassicLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return locale;
}

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
    if (IsDecimalDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool CNumberText::IsNumberText(const std::string& text) {
    for (char c : text) {
        if (!IsDecimalDigit(c) && c != '.' && c != '-')
            return false;
    }
    return true;
}

double CNumberText::ScanDouble(std::string_view text, std::size_t& used) {
    // strtod needs a terminated copy; the texts are short.
    const std::string copy(text);
    char* end = nullptr;
    const double value = strtod_l(copy.c_str(), &end, ClassicLocale());
    used = static_cast<std::size_t>(end - copy.c_str());
    return used == 0 ? 0.0 : value;
}

double CNumberText::ToDouble(const std::string& text) {
    if (text.empty() || !IsNumberText(text))
        return 0.0;
    std::size_t used = 0;
    const double value = ScanDouble(text, used);
    if (used != text.size())
        return 0.0;
    if (value == 0.0)
        return 0.0; // also turns "-0" into a plain 0
    return value;
}

int CNumberText::ToInteger(int baseCode, const std::string& text) {
    if (text.empty())
        return 0;
    switch (baseCode) {
    case BASE_DECIMAL: {
        std::int64_t value = 0;
        for (char c : text) {
            if (!IsDecimalDigit(c))
                return 0;
            value = value * 10 + (c - '0');
            if (value > INT_MAX)
                value = INT_MAX;
        }
        return static_cast<int>(value);
    }
    case BASE_HEX: {
        std::uint32_t value = 0;
        for (char c : text) {
            const int digit = HexDigitValue(c);
            if (digit < 0)
                return 0;
            value = (value << 4) | static_cast<std::uint32_t>(digit);
        }
        return static_cast<int>(value);
    }
    case BASE_BINARY: {
        std::uint32_t value = 0;
        for (char c : text) {
            if (c != '0' && c != '1')
                return 0;
            value = (value << 1) | static_cast<std::uint32_t>(c - '0');
        }
        return static_cast<int>(value);
    }
    default:
        return 0;
    }
}
