#include "i18n/ParseNumber.h"

#include "i18n/NumberText.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

int ParseNumber(const std::string& text, double& value) {
    value = 0.0;
    if (!CNumberText::IsNumberText(text))
        return 0;

    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    std::size_t used = 0;
    const double number = CNumberText::ScanDouble(std::string_view(text).substr(pos), used);
    if (number == 0.0 && (text.empty() || text[0] != '0'))
        return 0;
    value = number == 0.0 ? 0.0 : number;

    pos += used;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos == text.size() ? 1 : 0;
}
