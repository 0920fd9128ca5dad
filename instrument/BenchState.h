#pragma once
#include "control/OutputLevels.h"
#include "instrument/NamedWaves.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

/// What the instrument keeps about one device for benchtop-style clients, beside the record:
/// how volts are given, the load, the named waves and which of them was chosen, and the word
/// the client used for the wave playing (FUNCtion? answers with it while it still fits).
struct CBenchState {
    /// The benchtop words for a wave our types play: USER and ARB a named wave (or our Arb),
    /// TRI a ramp at 50 % symmetry, DC a flat table at the offset.
    enum Alias { ALIAS_NONE, ALIAS_USER, ALIAS_ARB, ALIAS_TRI, ALIAS_DC };
    /// What strPlayed holds for DC: no client name can take it.
    static constexpr const char* kDcWave = "(DC)";

    int nVoltUnit = COutputLevels::UNIT_VPP;
    double dLoad = COutputLevels::kDefaultLoad;
    CNamedWaves waves;
    /// FUNCtion:USER / FUNCtion:ARBitrary: the wave FUNCtion USER or ARB plays ("" none).
    std::string strChosen;
    Alias eAlias = ALIAS_NONE;
    /// The table a named wave (or DC) became, and which: while the device's table still holds
    /// it, a change of amplitude or offset makes it again, as a benchtop arbitrary wave follows.
    std::vector<float> vPlayed;
    std::string strPlayed;
    /// The named wave last resampled to the plan (-1..+1), kept so that following a new
    /// amplitude or offset only scales it again.
    std::string strShapeOf;
    std::vector<double> vShape;
};

/// The bench states of all sessions, by the serial of the device's control.
using CBenchStates = std::map<std::uint64_t, CBenchState>;
