#include "scpi/ScpiParamReader.h"

#include "scpi/ScpiText.h"

#include <cmath>

namespace {
struct Multiplier {
    const char* name;
    double factor;
};
// M alone is milli; mega is MA, except in the two units that kept their own spelling.
constexpr Multiplier kMultipliers[] = {
    {"EX", 1e18}, {"PE", 1e15}, {"T", 1e12}, {"G", 1e9},   {"MA", 1e6},  {"K", 1e3},
    {"M", 1e-3},  {"U", 1e-6},  {"N", 1e-9}, {"P", 1e-12}, {"F", 1e-15}, {"A", 1e-18},
};
} // namespace

int CScpiParamReader::UnitFactor(std::string_view suffix, std::string_view unit, double& factor) {
    factor = 1.0;
    if (suffix.empty())
        return 0;
    if (unit.empty())
        return -138;
    if ((unit == "HZ" && suffix == "MHZ") || (unit == "OHM" && suffix == "MOHM")) {
        factor = 1e6;
        return 0;
    }
    if (suffix.size() >= unit.size() && suffix.substr(suffix.size() - unit.size()) == unit)
        suffix.remove_suffix(unit.size());
    if (suffix.empty())
        return 0;
    for (const Multiplier& multiplier : kMultipliers)
        if (suffix == multiplier.name) {
            factor = multiplier.factor;
            return 0;
        }
    return -131;
}

int CScpiParamReader::ConvertNumber(const CScpiToken& token, const CScpiParamDef& def,
                                    CScpiParameter& param) {
    if (token.m_eKind == CScpiToken::CHARS) {
        static constexpr const char* kWords[] = {"MINimum", "MAXimum", "DEFault"};
        for (int i = 0; i < 3; ++i)
            if (ScpiMatchesMnemonic(kWords[i], token.m_strText)) {
                param.m_eSpecial =
                    static_cast<CScpiParameter::Special>(CScpiParameter::MINIMUM + i);
                return 0;
            }
        // The numeric words of SCPI: a high-impedance load is INFinity ohms.
        if (ScpiMatchesMnemonic("INFinity", token.m_strText) ||
            ScpiMatchesMnemonic("NINFinity", token.m_strText)) {
            param.m_dValue = (token.m_strText[0] == 'N' ? -1 : 1) * HUGE_VAL;
            return 0;
        }
        return -141;
    }
    if (token.m_eKind != CScpiToken::NUMBER)
        return -104;
    double factor = 1.0;
    if (const int error = UnitFactor(token.m_strText, def.m_strUnit, factor))
        return error;
    param.m_dValue = token.m_dValue * factor;
    return std::isfinite(param.m_dValue) ? 0 : -123;
}

int CScpiParamReader::ConvertOne(const CScpiToken& token, const CScpiParamDef& def,
                                 CScpiParameter& param) {
    param.m_eKind = def.m_eKind;
    switch (def.m_eKind) {
    case EScpiKind::Numeric:
        return ConvertNumber(token, def, param);
    case EScpiKind::Boolean:
        if (token.m_eKind == CScpiToken::CHARS) {
            if (token.m_strText != "ON" && token.m_strText != "OFF")
                return -141;
            param.m_bValue = token.m_strText == "ON";
            return 0;
        }
        if (token.m_eKind != CScpiToken::NUMBER)
            return -104;
        if (!token.m_strText.empty())
            return -138;
        param.m_bValue = std::round(token.m_dValue) != 0.0;
        return 0;
    case EScpiKind::Choice:
        if (token.m_eKind != CScpiToken::CHARS)
            return -104;
        for (std::size_t i = 0; i < def.m_vChoices.size(); ++i)
            if (ScpiMatchesMnemonic(def.m_vChoices[i], token.m_strText)) {
                param.m_nChoice = static_cast<int>(i);
                return 0;
            }
        return -141;
    case EScpiKind::String:
    case EScpiKind::Block:
        if (def.m_bNumberAsText && token.m_eKind == CScpiToken::NUMBER) {
            if (!token.m_strText.empty())
                return -138;
            param.m_str = ScpiFormatNumber(token.m_dValue);
            return 0;
        }
        if (token.m_eKind !=
            (def.m_eKind == EScpiKind::String ? CScpiToken::STRING : CScpiToken::BLOCK))
            return -104;
        param.m_str = token.m_strText;
        return 0;
    case EScpiKind::Word:
        if (token.m_eKind != CScpiToken::CHARS && token.m_eKind != CScpiToken::STRING)
            return -104;
        param.m_str = ScpiUpper(token.m_strText);
        return 0;
    case EScpiKind::NumericList:
        break;
    }
    return -104;
}

bool CScpiParamReader::Fits(const CScpiToken& token, const CScpiParamDef& def) {
    CScpiParameter scratch;
    return def.m_eKind != EScpiKind::NumericList && ConvertOne(token, def, scratch) == 0;
}

int CScpiParamReader::Convert(const std::vector<CScpiToken>& tokens,
                              const std::vector<CScpiParamDef>& defs,
                              std::vector<CScpiParameter>& params) {
    params.clear();
    std::size_t next = 0;
    for (const CScpiParamDef& def : defs) {
        if (next >= tokens.size()) {
            if (def.m_bOptional)
                break;
            return -109;
        }
        CScpiParameter param;
        if (def.m_bLeading && !Fits(tokens[next], def)) {
            param.m_eKind = def.m_eKind;
            param.m_bGiven = false;
        } else if (def.m_eKind == EScpiKind::NumericList && def.m_bBlockToo &&
                   tokens[next].m_eKind == CScpiToken::BLOCK) {
            param.m_eKind = EScpiKind::Block;
            param.m_str = tokens[next++].m_strText;
        } else if (def.m_eKind == EScpiKind::NumericList) {
            param.m_eKind = def.m_eKind;
            for (; next < tokens.size(); ++next) {
                CScpiParameter element;
                if (const int error = ConvertNumber(tokens[next], def, element))
                    return error;
                if (element.m_eSpecial != CScpiParameter::VALUE || !std::isfinite(element.m_dValue))
                    return -141;
                param.m_vList.push_back(element.m_dValue);
            }
        } else if (const int error = ConvertOne(tokens[next++], def, param)) {
            return error;
        }
        params.push_back(std::move(param));
    }
    return next < tokens.size() ? -108 : 0;
}
