#pragma once
#include <QString>

/// Text of the counter field: the event count, or the measured frequency in Hz, KHz or MHz.
class CCounterText {
public:
    /// measureMode 0 shows count as eleven digits; 1 shows measuredFreq with six decimals.
    static QString Format(int measureMode, double measuredFreq, int count);
};
