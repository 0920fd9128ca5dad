#include "tools/SoakCheck.h"
#include "engine/DDSDevice.h"
#include "hwsim/SimControl.h"

#include <algorithm>
#include <sstream>

namespace {

template <typename T>
void Expect(std::vector<std::string>& out, int device, const std::string& what, T unit, T record) {
    if (unit == record)
        return;
    std::ostringstream line;
    line.precision(17);
    line << "device " << device << ": " << what << " unit " << unit << ", record " << record;
    out.push_back(line.str());
}

} // namespace

std::vector<std::string> CSoakCheck::Compare(const CDDSDevice& record) {
    std::vector<std::string> out;
    if (record.m_bDemo != 0)
        return out;
    const int index = record.m_nDevice;
    const SimUnitState unit = SimGetUnit(index);
    Expect(out, index, "present", unit.present, true);
    Expect(out, index, "frequency", unit.frequency, double(record.m_dFrequency));
    Expect(out, index, "points", unit.points, int(record.m_nPoints));
    Expect(out, index, "periods", unit.periods, int(record.m_nPeriods));
    Expect(out, index, "digital out", int(unit.digitalOut), int(record.m_wDigitalOut));
    Expect(out, index, "DIO mode", unit.dioMode, int(record.m_nDIOMode));
    Expect(out, index, "trigger", unit.triggerOn, int(record.m_bExtTrig));
    Expect(out, index, "trigger edge", unit.triggerEdge, int(record.m_nTrigEdge));
    Expect(out, index, "single wave", unit.singleWave, int(record.m_bSingleWave));
    Expect(out, index, "power-on output", unit.powerOnOutput, int(record.m_bPowerOnOutput));

    unsigned short codes[kMaxPoints];
    const int count = record.BuildWaveform(codes);
    Expect(out, index, "samples", int(unit.buffer.size()), count);
    // Noise is drawn from the worker's own source: only its length and, with the output off,
    // its mid-scale codes can be synthesised again here.
    const bool noise =
        record.m_nWaveType == WAVE_GAUSS_NOISE || record.m_nWaveType == WAVE_WHITE_NOISE;
    if (int(unit.buffer.size()) == count && (!noise || record.m_bOutputOn == 0)) {
        const auto differ = std::mismatch(unit.buffer.begin(), unit.buffer.end(), codes);
        if (differ.first != unit.buffer.end())
            Expect(out, index,
                   "code of sample " + std::to_string(differ.first - unit.buffer.begin()),
                   int(*differ.first), int(*differ.second));
    }
    return out;
}
