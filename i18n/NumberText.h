#pragma once
#include <cstddef>
#include <string>
#include <string_view>

/// Strict text-to-number conversion shared by the numeric fields and the CSV reader. Text that
/// is not exactly a number reads as 0; nothing depends on the C locale.
class CNumberText {
public:
    /// Base codes of ToInteger.
    enum Base { BASE_HEX = 0, BASE_DECIMAL = 1, BASE_BINARY = 2 };

    /// True when every character is a decimal digit, "." or "-" (so also for the empty text).
    static bool IsNumberText(const std::string& text);
    /// The number the whole text spells, else 0.0 (blanks, "+", exponents, "1.2.3" all give 0).
    static double ToDouble(const std::string& text);
    /// Digits only, in the base the code names (1 decimal, 0 hexadecimal, 2 binary); any other
    /// character, an unknown code or the empty text give 0. Decimal values saturate at INT_MAX;
    /// hexadecimal and binary keep the low 32 bits, as a register value would.
    static int ToInteger(int baseCode, const std::string& text);

    /// Reads the longest leading decimal number of text as the C library's string-to-double
    /// conversion does in the "C" locale; used is how many characters it took (0: no number).
    static double ScanDouble(std::string_view text, std::size_t& used);
};
