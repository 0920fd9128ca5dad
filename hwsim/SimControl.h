#pragma once
// Control of the simulated generator bank for tests and demonstrations. Exported by the
// shared library DDSTarnDll next to the twelve generator functions.
#include <string>
#include <vector>

/// What one simulated unit was last sent.
struct SimUnitState {
    bool present;
    double frequency; ///< As requested with DDSSetFrequency (0 before the first request).
    int points;       ///< Plan reported for that request.
    int periods;
    std::vector<unsigned short> buffer; ///< Last download, as many codes as were sent.
    int singleWave;
    int triggerOn;
    int triggerEdge;
    int powerOnOutput;
    int dioMode;
    unsigned short digitalOut;
};

/// A fresh bank of units (all present, nothing sent); DDSSearch reports units from now on.
void SimReset(int units);
/// State of unit index; a default state with present = false for an index outside the bank.
SimUnitState SimGetUnit(int index);
/// The unit stops answering: DDSCheck reports 0 and every other call is ignored.
void SimUnplug(int index);
/// The unit answers again, freshly powered: it has forgotten all it was sent except its
/// power-on output setting, which it keeps for its next power-up.
void SimReplug(int index);
/// The meter reads hz instead of the unit's own output; negative: its own output again.
void SimSetExternalFrequency(int index, double hz);
/// The counter reads count whatever resets arrive; negative: it counts the unit's own output
/// periods again.
void SimSetExternalCount(int index, double count);
/// The latest calls, oldest first, e.g. "DDSSetFrequency(0,1000.000000)" (bounded).
std::vector<std::string> SimCallLog();
void SimClearLog();
