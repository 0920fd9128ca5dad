#pragma once

#include "scpi/ScpiParamDef.h"

#include <string>
#include <vector>

/// A parameter as a handler receives it: typed, numbers in the base unit.
struct CScpiParameter {
    /// A numeric parameter given as a word rather than a number.
    enum Special { VALUE, MINIMUM, MAXIMUM, DEFAULT };

    EScpiKind m_eKind = EScpiKind::Numeric;
    /// False for a leading parameter that was left out.
    bool m_bGiven = true;
    Special m_eSpecial = VALUE;
    /// Numeric: the value with its unit's prefix applied.
    double m_dValue = 0.0;
    bool m_bValue = false;
    /// Choice: index into the row's words.
    int m_nChoice = -1;
    /// String: the contents without quotes; Block (also a list given as a block): the bytes;
    /// Word: the name in capitals.
    std::string m_str;
    std::vector<double> m_vList;
};
