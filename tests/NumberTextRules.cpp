#include "i18n/NumberText.h"
#include "i18n/ParseNumber.h"

#include <cmath>
#include <gtest/gtest.h>

// Only digits, points and minus signs are number text; only a whole number converts.
TEST(NumberText, AcceptsDigitsPointsAndMinusSignsAndConvertsOnlyWholeNumbers) {
    EXPECT_TRUE(CNumberText::IsNumberText("") && CNumberText::IsNumberText("-1.2.3-"));
    for (const char* text : {" 1", "1 ", "+1", "1e3", "1,5", "0x1", "\t"})
        EXPECT_FALSE(CNumberText::IsNumberText(text)) << text;
    EXPECT_FALSE(CNumberText::IsNumberText(std::string("1\0002", 3)));

    const std::pair<const char*, double> cases[] = {
        {"0", 0.0},         {"00.5", 0.5},      {"1.", 1.0},  {".5", 0.5}, {"-.5", -0.5},
        {"-12.25", -12.25}, {"1.750000", 1.75}, {"", 0.0},    {"-", 0.0},  {".", 0.0},
        {"1.2.3", 0.0},     {"1-2", 0.0},       {"--1", 0.0}, {" 1", 0.0}, {"1 ", 0.0},
        {"+1", 0.0},        {"1e-3", 0.0},      {"1,5", 0.0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(CNumberText::ToDouble(text), value) << '"' << text << '"';
    EXPECT_FALSE(std::signbit(CNumberText::ToDouble("-0")));
    EXPECT_TRUE(std::isinf(CNumberText::ToDouble("1" + std::string(400, '0'))));
}

// A long decimal digit string must not wrap round into a plausible size.
TEST(NumberText, ToIntegerReadsEachBaseStrictly) {
    constexpr int D = CNumberText::BASE_DECIMAL, H = CNumberText::BASE_HEX,
                  B = CNumberText::BASE_BINARY;
    const std::tuple<int, const char*, int> cases[] = {
        {D, "4096", 4096},   {D, "007", 7}, {D, "-1", 0},   {D, "+10", 0},
        {D, "1.0", 0},       {D, "", 0},    {H, "fF", 255}, {H, "0FFF", 4095},
        {H, "FFFFFFFF", -1}, {H, "1G", 0},  {H, "0x1", 0},  {B, "101", 5},
        {B, "102", 0},       {3, "1", 0},   {-1, "1", 0},   {D, "4294967297", 2147483647}};
    for (const auto& [base, text, value] : cases)
        EXPECT_EQ(CNumberText::ToInteger(base, text), value) << base << " " << text;
}

TEST(ParseNumber, ReportsWholeNumbersAndKeepsLeadingPart) {
    // Text, result, value read.
    const std::tuple<const char*, int, double> cases[] = {
        {"12", 1, 12.0},   {"0", 1, 0.0},   {"00.5", 1, 0.5}, {"-5", 1, -5.0}, {".25", 1, 0.25},
        {"1.2.3", 0, 1.2}, {"5-", 0, 5.0},  {"-0", 0, 0.0},   {"", 0, 0.0},    {"-", 0, 0.0},
        {" 1", 0, 0.0},    {"1e3", 0, 0.0}, {"abc", 0, 0.0},  {"0-", 0, 0.0},
    };
    for (const auto& [text, result, expected] : cases) {
        double value = 99.0;
        EXPECT_EQ(ParseNumber(text, value), result) << '"' << text << '"';
        EXPECT_DOUBLE_EQ(value, expected) << '"' << text << '"';
    }
}
