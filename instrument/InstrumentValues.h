#pragma once
#include "scpi/ScpiContext.h"

#include <string>

/// How the instrument's commands read numbers and report what they stored.
class CInstrumentValues {
public:
    /// A numeric parameter's value, MINimum, MAXimum and DEFault standing for min, max and def.
    static double Number(const CScpiParameter& param, double min, double max, double def);
    /// Queues -222 naming what was stored when the device's rule changed the value.
    static void Stored(CScpiContext& context, bool changed, double stored, const std::string& unit);
    /// A stored float as the short decimal it was given as (0.2, not 0.200000002980232).
    static double Short(float value);
    /// The leading capitals of a mnemonic: what a query answers ("SINusoid" -> "SIN").
    static std::string ShortForm(const std::string& word);
    /// The whole number nearest value, held within what any integer setting can take.
    static long long Whole(double value);
};
