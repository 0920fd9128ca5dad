#include "view/CounterText.h"

#include <cstdio>

QString CCounterText::Format(int measureMode, double measuredFreq, int count) {
    char text[64];
    if (measureMode == 0)
        std::snprintf(text, sizeof text, "%11.11u", static_cast<unsigned>(count));
    else if (measuredFreq < 1000.0)
        std::snprintf(text, sizeof text, "%.06f Hz", measuredFreq);
    else if (measuredFreq >= 1000000.0)
        std::snprintf(text, sizeof text, "%.06f MHz", measuredFreq * 0.000001);
    else
        std::snprintf(text, sizeof text, "%.06f KHz", measuredFreq * 0.001);
    return QString::fromLatin1(text);
}
