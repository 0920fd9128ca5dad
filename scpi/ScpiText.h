#pragma once

#include <string>
#include <string_view>

/// Upper-case copy in ASCII, whatever the locale.
std::string ScpiUpper(std::string_view text);

/// True when input (already upper case) is the short form of pattern or its whole long form.
/// The short form is the leading run of the pattern's capitals ("FREQuency" -> "FREQ").
bool ScpiMatchesMnemonic(std::string_view pattern, std::string_view upperInput);

/// A response number as scripts read it: up to 15 significant digits, '.' as decimal point,
/// exponent form only where %g would choose it; NaN as 9.91e+37 and infinity as +-9.9e+37.
std::string ScpiFormatNumber(double value);

/// A string response: in double quotes, an inner quote doubled.
std::string ScpiQuote(std::string_view text);
