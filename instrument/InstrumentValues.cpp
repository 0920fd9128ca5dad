#include "instrument/InstrumentValues.h"

#include "scpi/ScpiText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

double CInstrumentValues::Number(const CScpiParameter& param, double min, double max, double def) {
    switch (param.m_eSpecial) {
    case CScpiParameter::MINIMUM:
        return min;
    case CScpiParameter::MAXIMUM:
        return max;
    case CScpiParameter::DEFAULT:
        return def;
    case CScpiParameter::VALUE:
        break;
    }
    return param.m_dValue;
}

void CInstrumentValues::Stored(CScpiContext& context, bool changed, double stored,
                               const std::string& unit) {
    if (changed)
        context.Error(-222,
                      ScpiFormatNumber(stored) + (unit.empty() ? "" : " " + unit) + " stored");
}

double CInstrumentValues::Short(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text - 1, value);
    double shortest = value;
    std::from_chars(text, result.ptr, shortest);
    return shortest;
}

std::string CInstrumentValues::ShortForm(const std::string& word) {
    std::string form;
    for (char c : word) {
        if (c < 'A' || c > 'Z')
            break;
        form += c;
    }
    return form;
}

long long CInstrumentValues::Whole(double value) {
    return std::llround(std::clamp(value, -1.0e15, 1.0e15));
}
