#pragma once
#include <string>

/// Reads a decimal number typed into a text field. Only digits, "." and "-" are accepted.
/// Returns 1 when the whole text is one number; otherwise 0, with value holding the leading
/// number read so far ("1.2.3" gives 1.2) or 0 when there is none.
int ParseNumber(const std::string& text, double& value);
