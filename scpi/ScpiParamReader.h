#pragma once

#include "scpi/ScpiLexer.h"
#include "scpi/ScpiParamDef.h"
#include "scpi/ScpiParameter.h"

#include <string_view>
#include <vector>

/// Turns the parameters as written into the typed parameters a row asks for.
class CScpiParamReader {
public:
    /// Returns 0 or the error code (-104, -108, -109, -131, -138, -141).
    static int Convert(const std::vector<CScpiToken>& tokens,
                       const std::vector<CScpiParamDef>& defs, std::vector<CScpiParameter>& params);

    /// The factor a suffix stands for with the given base unit: "KHZ" -> 1e3, "MHZ" -> 1e6,
    /// "MV" -> 1e-3, "MAV" -> 1e6. Returns 0 or -131 / -138.
    static int UnitFactor(std::string_view suffix, std::string_view unit, double& factor);

private:
    /// Whether token reads as def's kind (a leading parameter is left out when not).
    static bool Fits(const CScpiToken& token, const CScpiParamDef& def);
    static int ConvertOne(const CScpiToken& token, const CScpiParamDef& def, CScpiParameter& param);
    static int ConvertNumber(const CScpiToken& token, const CScpiParamDef& def,
                             CScpiParameter& param);
};
