// The session's arbitrary waves by name, as benchtop generators take them: DATA VOLATILE and
// DATA:DAC VOLATILE with FUNCtion:USER, DATA:ARBitrary[:DAC] <name> with FUNCtion:ARBitrary.
#include "control/DeviceControl.h"
#include "instrument/DeviceRegistry.h"
#include "instrument/InstrumentSession.h"
#include "instrument/InstrumentValues.h"
#include "media/WaveResampler.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <future>
#include <memory>

namespace {

using P = CScpiParamDef;
using V = CInstrumentValues;

/// The one name DATA and DATA:DAC take.
constexpr const char* kVolatile = "VOLATILE";
/// Full scale of a benchtop 14-bit DAC code (DATA:DAC).
constexpr double kFull14 = 8191.0;

} // namespace

bool CInstrumentSession::PlaysTable(const CDeviceControl& d, const std::vector<float>& table) {
    const CDDSDevice& device = d.Device();
    if (device.m_nWaveType != WAVE_ARB || table.empty() ||
        device.m_nPointsPerPeriod != int(table.size()))
        return false;
    for (std::size_t i = 0; i < table.size(); ++i)
        if (device.m_fArb[i] != table[i])
            return false;
    return true;
}

void CInstrumentSession::PlayNamed(CScpiContext& c, CDeviceControl& d, const std::string& name) {
    if (!Bench(d).waves.Find(name) && name != CBenchState::kDcWave)
        return c.Error(-224, "no wave named " + name);
    // The table is cut to the plan the unit reports for the frequency, so a frequency command
    // still on its way (FREQ just before, a reset) must be carried out first: the message
    // waits, as *OPC? does, rather than cut the wave for the plan that is leaving. Cutting a
    // short wave to thousands of points takes a good part of a second, so it runs on a thread
    // of its own meanwhile: other clients and the window are served.
    if (Settled(d) && ShapeFits(d, name))
        return PlayNamedNow(c, d, name);
    const auto deadline = std::chrono::steady_clock::now() + kMeasureWait;
    c.Defer([this, serial = d.Serial(), name, deadline,
             shaping = std::shared_ptr<CShaping>()](CScpiContext& context) mutable {
        CDeviceControl* control = BySerial(serial);
        if (!control) {
            context.Error(-230, "the device was closed");
            return true;
        }
        if (!Settled(*control) && std::chrono::steady_clock::now() < deadline)
            return false;
        if (!shaping) {
            shaping = StartShaping(*control, name);
            if (!shaping) { // the wave went meanwhile
                PlayNamedNow(context, *control, name);
                return true;
            }
        }
        if (shaping->result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return false;
        CShape shape = shaping->result.get();
        if (!shape.bDone) {
            context.Error(-200, shape.strError);
            return true;
        }
        CBenchState& bench = Bench(*control);
        bench.vShape = std::move(shape.vValues);
        bench.strShapeOf = name;
        // Another client may have moved the plan meanwhile: cut again for the new one.
        if (shaping->nPoints != control->PlanPoints()) {
            shaping.reset();
            return false;
        }
        PlayNamedNow(context, *control, name);
        return true;
    });
}

bool CInstrumentSession::Settled(const CDeviceControl& d) {
    const CDDSDevice& device = d.Device();
    return device.m_bDemo != 0 || device.m_bLost != 0 || device.PlanSettled();
}

bool CInstrumentSession::ShapeFits(CDeviceControl& d, const std::string& name) {
    const CBenchState& bench = Bench(d);
    return bench.strShapeOf == name && bench.vShape.size() == std::size_t(d.PlanPoints());
}

std::vector<double> CInstrumentSession::WaveValues(CDeviceControl& d, const std::string& name) {
    if (name == CBenchState::kDcWave)
        return {0.0};
    const std::vector<float>* wave = Bench(d).waves.Find(name);
    return wave ? std::vector<double>(wave->begin(), wave->end()) : std::vector<double>();
}

std::shared_ptr<CInstrumentSession::CShaping>
CInstrumentSession::StartShaping(CDeviceControl& d, const std::string& name) {
    std::vector<double> values = WaveValues(d, name);
    if (values.empty())
        return nullptr;
    auto shaping = std::make_shared<CShaping>();
    shaping->nPoints = d.PlanPoints();
    shaping->result =
        std::async(std::launch::async, [values = std::move(values), points = shaping->nPoints] {
            CShape shape;
            shape.bDone = CWaveResampler::Resample(values, points, shape.vValues, shape.strError);
            return shape;
        });
    return shaping;
}

void CInstrumentSession::PlayNamedNow(CScpiContext& c, CDeviceControl& d, const std::string& name) {
    CBenchState& bench = Bench(d);
    // A kept shape is of a wave that still exists: deleting or replacing it forgets the shape.
    if (!ShapeFits(d, name)) {
        const std::vector<double> values = WaveValues(d, name);
        if (values.empty())
            return c.Error(-224, "no wave named " + name);
        std::string error;
        bench.strShapeOf.clear();
        if (!CWaveResampler::Resample(values, d.PlanPoints(), bench.vShape, error))
            return c.Error(-200, error);
        bench.strShapeOf = name;
    }
    std::vector<double> table = bench.vShape;
    // Scaled by amplitude and offset, as a benchtop arbitrary wave is (the -20 dB switch too).
    const double amplitude = V::Short(d.GetAmplitude()) * (d.GetAtten20dB() ? 0.1 : 1.0);
    for (double& value : table)
        value = value * amplitude + d.GetOffset();
    using R = CWaveResampler;
    if (const int clipped = R::CountClipped(table, R::SCALE_KEEP_VOLTS, 0.0))
        c.Error(-222, std::to_string(clipped) + " points clipped at +/-3.5 V");
    const double frequency = d.GetFrequency();
    CCsvFile::Wave wave;
    wave.points = R::Scale(table, R::SCALE_KEEP_VOLTS, 0.0);
    wave.nPointsPerPeriod = int(wave.points.size());
    wave.fSampleRate = static_cast<float>(frequency * wave.nPointsPerPeriod);
    m_devices.ApplyArbWave(IndexOf(d), wave);
    // The rate held as a float must not move the frequency the client set.
    if (d.GetFrequency() != frequency)
        d.SetFrequency(frequency);
    bench.vPlayed = std::move(wave.points);
    bench.strPlayed = name;
}

void CInstrumentSession::FollowLevels(CScpiContext& c, CDeviceControl& d) {
    CBenchState& bench = Bench(d);
    if (bench.strPlayed.empty())
        return;
    // A table changed since (drawn, loaded, another wave) is no longer the named wave.
    if (!PlaysTable(d, bench.vPlayed)) {
        bench.strPlayed.clear();
        return;
    }
    const std::string name = bench.strPlayed;
    PlayNamed(c, d, name);
}

void CInstrumentSession::StoreNamed(CScpiContext& c, CDeviceControl& d, const std::string& name,
                                    std::vector<float> values) {
    std::string reason;
    if (const int error = Bench(d).waves.Store(name, std::move(values), reason))
        return c.Error(error, reason);
    if (Bench(d).strShapeOf == name)
        Bench(d).strShapeOf.clear();
    // The wave that plays follows a new upload under its name.
    if (Bench(d).strPlayed == name)
        FollowLevels(c, d);
}

bool CInstrumentSession::ReadCodes(CScpiContext& c, const CScpiParameter& param, double full,
                                   std::vector<float>& values) const {
    std::vector<double> codes = param.m_vList;
    if (param.m_eKind == EScpiKind::Block) {
        const std::string& bytes = param.m_str;
        if (bytes.size() % 2 != 0) {
            c.Error(-224, "codes are two bytes each");
            return false;
        }
        codes.clear();
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]);
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            // FORMat:BORDer NORMal sends the most significant byte first.
            const auto word = static_cast<std::uint16_t>(m_bSwapBytes ? second << 8 | first
                                                                      : first << 8 | second);
            codes.push_back(static_cast<std::int16_t>(word));
        }
    }
    values.clear();
    for (double code : codes) {
        if (std::fabs(code) > full) {
            c.Error(-222, "codes are -" + std::to_string(int(full)) + " to +" +
                              std::to_string(int(full)));
            return false;
        }
        values.push_back(static_cast<float>(code / full));
    }
    return true;
}

void CInstrumentSession::AddNamedWaves() {
    // DATA VOLATILE,<values> and DATA:DAC VOLATILE,<14-bit codes>.
    for (const bool dac : {false, true}) {
        m_table.Add(dac ? "[SOURce#:]DATA:DAC" : "[SOURce#:]DATA",
                    {P::Word(), dac ? P::NumericListOrBlock() : P::NumericList()},
                    [this, dac](CScpiContext& c) {
                        CDeviceControl* d = Addressed(c);
                        if (!d)
                            return;
                        if (c.Param(0).m_str != kVolatile)
                            return c.Error(-224,
                                           "DATA takes VOLATILE; DATA:ARBitrary takes a name");
                        std::vector<float> values;
                        if (dac && !ReadCodes(c, c.Param(1), kFull14, values))
                            return;
                        if (!dac)
                            values.assign(c.Param(1).m_vList.begin(), c.Param(1).m_vList.end());
                        StoreNamed(c, *d, kVolatile, std::move(values));
                    });
    }
    // FUNCtion:USER <name> and FUNCtion:ARBitrary <name>: the wave FUNCtion USER or ARB plays;
    // chosen while one plays, it plays at once.
    for (const char* pattern : {"[SOURce#:]FUNCtion:USER", "[SOURce#:]FUNCtion:ARBitrary"}) {
        AddPair(
            pattern, P::Word(),
            [this](CScpiContext& c, CDeviceControl& d) {
                CBenchState& bench = Bench(d);
                const std::string& name = c.Param(0).m_str;
                if (!bench.waves.Find(name))
                    return c.Error(-224, "no wave named " + name);
                const bool playing = !bench.strPlayed.empty() &&
                                     bench.strPlayed != CBenchState::kDcWave &&
                                     PlaysTable(d, bench.vPlayed);
                bench.strChosen = name;
                if (playing)
                    PlayNamed(c, d, name);
            },
            [this](CScpiContext& c, CDeviceControl& d) {
                const std::string& chosen = Bench(d).strChosen;
                if (chosen.empty())
                    c.WriteString("");
                else
                    c.Write(chosen);
            });
    }
    // FUNCtion:ARBitrary:SRATe: the chosen wave's values a second, that is its frequency
    // times its values.
    const auto values = [this](CDeviceControl& d) {
        const CBenchState& bench = Bench(d);
        const std::vector<float>* wave = bench.waves.Find(bench.strChosen);
        return wave ? double(wave->size()) : 0.0;
    };
    AddNumber(
        "[SOURce#:]FUNCtion:ARBitrary:SRATe", "",
        [values](CDeviceControl& d) {
            const double n = std::max(1.0, values(d));
            return CLimits{n * CDeviceControl::kMinFrequency,
                           n * CDeviceControl::MaxFrequency(d.GetWaveType()),
                           n * CDeviceControl::kDefaultFrequency};
        },
        [values](CScpiContext& c, CDeviceControl& d, double rate) {
            const double n = values(d);
            if (n == 0.0)
                return c.Error(-221, "choose a wave with FUNCtion:ARBitrary first");
            const int type = d.GetWaveType();
            const double hz = rate / n;
            const double stored = d.SetFrequency(hz);
            V::Stored(c, hz != CDeviceControl::ClampFrequency(hz, type), stored * n, "");
        },
        [values](CScpiContext& c, CDeviceControl& d) {
            c.WriteNumber(d.GetFrequency() * std::max(1.0, values(d)));
        });
    m_table.Add("[SOURce#:]DATA:ATTRibute:POINts?", {P::Word().Optional()},
                [this](CScpiContext& c) {
                    if (CDeviceControl* d = Addressed(c)) {
                        const CBenchState& bench = Bench(*d);
                        const std::string name = c.Has(0) ? c.Param(0).m_str : bench.strChosen;
                        if (const std::vector<float>* wave = bench.waves.Find(name))
                            c.WriteInt(static_cast<long long>(wave->size()));
                        else
                            c.Error(-224, "no wave named " + name);
                    }
                });
    m_table.Add("[SOURce#:]DATA:CATalog?", {}, [this](CScpiContext& c) {
        if (CDeviceControl* d = Addressed(c)) {
            const std::vector<std::string> names = Bench(*d).waves.Names();
            if (names.empty())
                c.WriteString("");
            for (const std::string& name : names)
                c.WriteString(name);
        }
    });
    m_table.Add("[SOURce#:]DATA:DELete", {P::Word()}, [this](CScpiContext& c) {
        if (CDeviceControl* d = Addressed(c)) {
            CBenchState& bench = Bench(*d);
            const std::string& name = c.Param(0).m_str;
            if (!bench.waves.Delete(name))
                return c.Error(-224, "no wave named " + name);
            if (bench.strShapeOf == name)
                bench.strShapeOf.clear();
            // A wave that plays goes on playing as the Arb table it became.
            if (bench.strChosen == name)
                bench.strChosen.clear();
            if (bench.strPlayed == name)
                bench.strPlayed.clear();
        }
    });
    for (const char* pattern : {"[SOURce#:]DATA:DELete:ALL", "[SOURce#:]DATA:VOLatile:CLEar"})
        m_table.Add(pattern, {}, [this](CScpiContext& c) {
            if (CDeviceControl* d = Addressed(c)) {
                CBenchState& bench = Bench(*d);
                bench.waves.Clear();
                bench.strChosen.clear();
                bench.strShapeOf.clear();
                if (bench.strPlayed != CBenchState::kDcWave)
                    bench.strPlayed.clear();
            }
        });
    // DATA:COPY <name>[,VOLATILE]: the uploaded wave kept under a name of its own.
    m_table.Add("[SOURce#:]DATA:COPY", {P::Word(), P::Word().Optional()}, [this](CScpiContext& c) {
        if (CDeviceControl* d = Addressed(c)) {
            const std::string from = c.Has(1) ? c.Param(1).m_str : kVolatile;
            const std::vector<float>* wave = Bench(*d).waves.Find(from);
            if (!wave)
                return c.Error(-224, "no wave named " + from);
            StoreNamed(c, *d, c.Param(0).m_str, *wave);
        }
    });
}
