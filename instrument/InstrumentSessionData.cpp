// The session's wave parameter, sweep, Arb data, measurement and digital line commands.
#include "control/DeviceControl.h"
#include "engine/SweepRules.h"
#include "formats/CsvFile.h"
#include "instrument/DeviceRegistry.h"
#include "instrument/InstrumentSession.h"
#include "instrument/InstrumentValues.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

using P = CScpiParamDef;
using V = CInstrumentValues;
using Rules = CWaveParameterRules;

/// Volts of a full-scale sample; the generator's code is 2048 - 2047 x sample.
constexpr double kFullScale = 3.5;
constexpr int kMidCode = 2048;
constexpr int kCodeStep = 2047;
/// Full scale of a benchtop 16-bit DAC code.
constexpr double kBenchtopFullCode = 32767.0;

// Shares of a period (duties, trapezium parts, AM depth) travel in percent, as instruments
// give a duty cycle; the device keeps fractions.
CInstrumentSession::LimitsOf Percent(double def) {
    return [def](CDeviceControl&) { return CInstrumentSession::CLimits{0.0, 100.0, def}; };
}

void WritePercent(CScpiContext& context, float fraction) {
    context.WriteNumber(V::Short(fraction) * 100.0);
}

void StorePercent(CScpiContext& context, double requested, float stored) {
    V::Stored(context, stored != static_cast<float>(requested), V::Short(stored) * 100.0, "%");
}

// A modulation frequency in whole hertz; one no int holds is refused (nothing stored).
bool WholeHertz(CScpiContext& context, double hz, int& value) {
    const long long whole = V::Whole(hz);
    if (whole < INT_MIN || whole > INT_MAX) {
        context.Error(-222, "nothing stored");
        return false;
    }
    value = static_cast<int>(whole);
    return true;
}

// Makes points the Arb wave exactly as a CSV file holding them at the current frequency.
void LoadArb(CDeviceControl& control, const std::vector<float>& points) {
    CDDSDevice& device = control.Device();
    const auto rate = static_cast<float>(device.m_dFrequency * double(points.size()));
    // The frequency command must find the device in Arb, whenever the worker gets to it.
    const CDDSDevice::CCommandHold hold(device);
    std::string error;
    CCsvFile::ReadText(device, CCsvFile::Format(rate, points), "DATA:ARB", error);
    control.RememberFrequency(device.m_dFrequency);
    control.SelectWaveType(WAVE_ARB, true);
    device.RequestDownload();
}

bool ArbSize(CScpiContext& context, std::size_t points) {
    if (points >= 1 && points <= std::size_t(CCsvFile::kMaxPoints))
        return true;
    context.Error(-223, "1 to 4096 points");
    return false;
}

} // namespace

void CInstrumentSession::AddWaveParameters() {
    for (auto [pattern, type] : {std::pair{"FUNCtion:SQUare:DCYCle", WAVE_SQUARE},
                                 std::pair{"FUNCtion:RAMP:SYMMetry", WAVE_RAMP}}) {
        AddNumber(
            std::string("[SOURce#:]") + pattern, "", Percent(50),
            [type](CScpiContext& c, CDeviceControl& d, double percent) {
                const double duty = percent / 100.0;
                StorePercent(c, duty, d.SetDuty(type, duty));
            },
            [type](CScpiContext& c, CDeviceControl& d) { WritePercent(c, d.GetDuty(type)); });
    }
    for (auto [pattern, part] :
         {std::pair{"RISE", Rules::TRAP_RISE}, std::pair{"HIGH", Rules::TRAP_HIGH},
          std::pair{"FALL", Rules::TRAP_FALL}}) {
        AddNumber(
            std::string("[SOURce#:]FUNCtion:TRAPezia:") + pattern, "", Percent(20),
            [part](CScpiContext& c, CDeviceControl& d, double percent) {
                const double share = percent / 100.0;
                StorePercent(c, share, d.SetTrapezia(part, share));
            },
            [part](CScpiContext& c, CDeviceControl& d) {
                WritePercent(c, d.TrapeziaParts()[part]);
            });
    }
    AddNumber(
        "[SOURce#:]FUNCtion:EXPonent:TCONstant", "S",
        [](CDeviceControl&) {
            return CLimits{0.0, 1.0, 0.001};
        },
        [](CScpiContext&, CDeviceControl& d, double seconds) { d.SetExpTau(seconds); },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteNumber(V::Short(d.GetExpTau())); });
    AddPair(
        "[SOURce#:]FUNCtion:EXPonent:DIRection", P::Choice({"RISE", "FALL"}),
        [](CScpiContext& c, CDeviceControl& d) { d.SetExpFall(c.Param(0).m_nChoice); },
        [](CScpiContext& c, CDeviceControl& d) { c.Write(d.GetExpFall() ? "FALL" : "RISE"); });

    using M = CDeviceControl::Modulation;
    auto modulation = [this](const std::string& node, const CScpiParamDef& param,
                             std::function<bool(CScpiContext&, M&)> set,
                             std::function<void(CScpiContext&, const M&)> get) {
        AddPair(
            "[SOURce#:]FUNCtion:AMFM:" + node, param,
            [set](CScpiContext& c, CDeviceControl& d) {
                M m = d.GetModulation();
                if (set(c, m))
                    d.SetModulation(m);
            },
            [get](CScpiContext& c, CDeviceControl& d) { get(c, d.GetModulation()); });
    };
    modulation(
        "TYPE", P::Choice({"AM", "FM"}),
        [](CScpiContext& c, M& m) { return m.bFM = c.Param(0).m_nChoice, true; },
        [](CScpiContext& c, const M& m) { c.Write(m.bFM ? "FM" : "AM"); });
    auto number = [this](const std::string& node, const std::string& unit, CLimits limits,
                         std::function<bool(CScpiContext&, M&, double)> set,
                         std::function<void(CScpiContext&, const M&)> get) {
        AddNumber(
            "[SOURce#:]FUNCtion:AMFM:" + node, unit, [limits](CDeviceControl&) { return limits; },
            [set](CScpiContext& c, CDeviceControl& d, double value) {
                M m = d.GetModulation();
                if (set(c, m, value))
                    d.SetModulation(m);
            },
            [get](CScpiContext& c, CDeviceControl& d) { get(c, d.GetModulation()); });
    };
    number(
        "CARRier", "HZ", {1, 25e6, double(M().nCarrier)},
        [](CScpiContext& c, M& m, double hz) { return WholeHertz(c, hz, m.nCarrier); },
        [](CScpiContext& c, const M& m) { c.WriteInt(m.nCarrier); });
    number(
        "DEViation", "HZ", {0, 25e6, double(M().nDeviation)},
        [](CScpiContext& c, M& m, double hz) { return WholeHertz(c, hz, m.nDeviation); },
        [](CScpiContext& c, const M& m) { c.WriteInt(m.nDeviation); });
    number(
        "DEPTh", "", {0, 100, M().fDepth * 100.0},
        [](CScpiContext&, M& m, double percent) {
            m.fDepth = static_cast<float>(percent / 100.0);
            return true;
        },
        [](CScpiContext& c, const M& m) { WritePercent(c, m.fDepth); });
}

void CInstrumentSession::AddSweep() {
    using S = CSweepRules;
    struct Field {
        const char* pattern;
        S::Field field;
        double min, max, def;
    };
    for (const Field& f : {Field{"FREQuency:STARt", S::FIELD_START, 20, 1e5, 1000},
                           Field{"FREQuency:STOP", S::FIELD_END, 1, 1e5, 1e5},
                           Field{"SWEep:STEP", S::FIELD_STEP, 1, 1e5, 1},
                           Field{"SWEep:DWELl", S::FIELD_SPEED, 1, 3.6e6, 100}}) {
        // Dwell in milliseconds, as the Sweep dialog's speed.
        AddNumber(
            std::string("[SOURce#:]") + f.pattern, f.field == S::FIELD_SPEED ? "" : "HZ",
            [f](CDeviceControl&) {
                return CLimits{f.min, f.max, f.def};
            },
            [f](CScpiContext& c, CDeviceControl& d, double value) {
                CDDSDevice& device = d.Device();
                double rule = value;
                switch (f.field) {
                case S::FIELD_START:
                    rule = S::ClampStart(value);
                    break;
                case S::FIELD_END:
                    rule = S::ClampEnd(value);
                    break;
                case S::FIELD_STEP:
                    rule = S::ClampStep(value, device.m_dSweepStart, device.m_dSweepEnd);
                    break;
                case S::FIELD_SPEED:
                    rule = S::ClampSpeed(value) == std::trunc(value) ? value : -1.0;
                    break;
                }
                V::Stored(c, rule != value, S::Enter(device, f.field, value),
                          f.field == S::FIELD_SPEED ? "ms" : "Hz");
            },
            [f](CScpiContext& c, CDeviceControl& d) {
                const CDDSDevice& device = d.Device();
                const double values[] = {device.m_dSweepStart, device.m_dSweepEnd,
                                         double(device.m_nSweepSpeed), device.m_dSweepStep};
                c.WriteNumber(values[f.field]);
            });
    }
    AddPair(
        "[SOURce#:]SWEep:SPACing", P::Choice({"LINear", "LOGarithmic"}),
        [this](CScpiContext& c, CDeviceControl& d) {
            m_sweeps[&d].SetSpacing(CRemoteSweep::Spacing(c.Param(0).m_nChoice));
        },
        [this](CScpiContext& c, CDeviceControl& d) {
            c.Write(m_sweeps[&d].GetSpacing() == CRemoteSweep::LINEAR ? "LIN" : "LOG");
        });
    AddNumber(
        "[SOURce#:]SWEep:POINts", "",
        [](CDeviceControl&) {
            return CLimits{double(CRemoteSweep::kMinPointsPerDecade),
                           double(CRemoteSweep::kMaxPointsPerDecade),
                           double(CRemoteSweep::kDefaultPointsPerDecade)};
        },
        [this](CScpiContext& c, CDeviceControl& d, double points) {
            const int stored = m_sweeps[&d].SetPointsPerDecade(points);
            V::Stored(c, stored != std::round(points), stored, "");
        },
        [this](CScpiContext& c, CDeviceControl& d) {
            c.WriteInt(m_sweeps[&d].GetPointsPerDecade());
        });
    AddPair(
        "[SOURce#:]SWEep[:STATe]", P::Boolean(),
        [this](CScpiContext& c, CDeviceControl& d) {
            CRemoteSweep& sweep = m_sweeps[&d];
            if (!c.Param(0).m_bValue) {
                sweep.Stop();
            } else if (d.GetWaveType() != WAVE_SINE) {
                // As the Utility menu's Sweep: only a sine is swept.
                c.Error(-221, "sweeps need the sine wave");
            } else {
                sweep.Start(d, CRemoteSweep::Clock::now());
            }
        },
        [this](CScpiContext& c, CDeviceControl& d) { c.WriteBool(m_sweeps[&d].Running()); });
}

void CInstrumentSession::AddData() {
    // A name first is the benchtop form: values -1..+1 kept under the name
    // (InstrumentNamedWaves.cpp); a number first is ours, volts that become the Arb wave.
    m_table.Add("[SOURce#:]DATA:ARBitrary", {P::Word().Leading(), P::NumericList("V")},
                [this](CScpiContext& c) {
                    CDeviceControl* control = Addressed(c);
                    if (control && c.Param(0).m_bGiven) {
                        const std::vector<double>& values = c.Param(1).m_vList;
                        return StoreNamed(c, *control, c.Param(0).m_str,
                                          std::vector<float>(values.begin(), values.end()));
                    }
                    const std::vector<double>& volts = c.Param(1).m_vList;
                    if (!control || !ArbSize(c, volts.size()))
                        return;
                    LoadArb(*control, std::vector<float>(volts.begin(), volts.end()));
                });
    // Likewise: a name first takes benchtop 16-bit codes -32767..+32767 (a list or a block).
    m_table.Add("[SOURce#:]DATA:ARBitrary:DAC", {P::Word().Leading(), P::NumericListOrBlock()},
                [this](CScpiContext& c) {
                    CDeviceControl* control = Addressed(c);
                    std::vector<float> values;
                    if (control && c.Param(0).m_bGiven) {
                        if (ReadCodes(c, c.Param(1), kBenchtopFullCode, values))
                            StoreNamed(c, *control, c.Param(0).m_str, std::move(values));
                        return;
                    }
                    if (control && c.Param(1).m_eKind != EScpiKind::Block)
                        return c.Error(-104, "a name, or our 12-bit codes as a block");
                    const std::string& bytes = c.Param(1).m_str;
                    if (!control || bytes.size() % 2 != 0 || !ArbSize(c, bytes.size() / 2)) {
                        if (control && bytes.size() % 2 != 0)
                            c.Error(-224, "codes are two bytes each");
                        return;
                    }
                    std::vector<float> points(bytes.size() / 2);
                    for (std::size_t i = 0; i < points.size(); ++i) {
                        const int code = static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8;
                        if (code > 4095) {
                            c.Error(-222, "codes are 0 to 4095");
                            return;
                        }
                        // The middle of the code's step: the generator truncates, so it plays this
                        // code.
                        points[i] =
                            static_cast<float>((kMidCode - code - 0.5) / kCodeStep * kFullScale);
                    }
                    LoadArb(*control, points);
                });
    m_table.Add("[SOURce#:]DATA:ARBitrary?", {}, [this](CScpiContext& c) {
        if (const CDeviceControl* control = Addressed(c)) {
            const CDDSDevice& device = control->Device();
            const int count = std::clamp(int(device.m_nPointsPerPeriod), 1, kMaxPoints);
            for (int i = 0; i < count; ++i)
                c.WriteNumber(V::Short(device.m_fArb[std::size_t(i)]));
        }
    });
}

void CInstrumentSession::AddMeasurement() {
    m_table.Add("[SOURce#:]FREQuency:ACTual?", {}, [this](CScpiContext& c) {
        const CDeviceControl* control = Addressed(c);
        if (!control)
            return;
        c.WriteNumber(control->PlayedFrequency());
        c.WriteNumber(control->DeviationPpm());
    });
    // MEASure waits (without holding the event loop) for a reading taken after every change
    // had reached the unit; FETCh answers the last reading at once.
    for (const bool counter : {false, true}) {
        m_table.Add(counter ? "MEASure:COUNt?" : "MEASure:FREQuency?", {},
                    [this, counter](CScpiContext& c) {
                        if (CDeviceControl* control = Addressed(c))
                            MeasureFresh(c, *control, counter);
                    });
        m_table.Add(counter ? "FETCh:COUNt?" : "FETCh:FREQuency?", {},
                    [this, counter](CScpiContext& c) {
                        if (const CDeviceControl* control = Addressed(c))
                            WriteReading(c, control->Device(), counter);
                    });
    }
    m_table.Add("COUNter:RESet", {}, [this](CScpiContext& c) {
        if (CDeviceControl* control = Addressed(c))
            control->Device().m_bResetCounter = 1;
    });
    AddPair(
        "DIGital:MODE", P::Choice({"PATTern", "PROGrammable"}),
        [](CScpiContext& c, CDeviceControl& d) { d.SetDIOMode(c.Param(0).m_nChoice); },
        [](CScpiContext& c, CDeviceControl& d) { c.Write(d.GetDIOMode() ? "PROG" : "PATT"); });
    AddNumber(
        "DIGital:OUTPut", "",
        [](CDeviceControl&) {
            return CLimits{0, CDeviceControl::kDigitalOutLines, 0};
        },
        [](CScpiContext& c, CDeviceControl& d, double value) {
            const long long word = V::Whole(value);
            const unsigned stored = d.SetDigitalOut(static_cast<unsigned>(word));
            V::Stored(c, stored != word, stored, "");
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteInt(d.GetDigitalOut()); });
    m_table.Add("DIGital:INPut?", {}, [this](CScpiContext& c) {
        if (const CDeviceControl* control = Addressed(c))
            c.WriteInt(control->Device().m_wDigitalIn);
    });
}

CDeviceControl* CInstrumentSession::BySerial(std::uint64_t serial) const {
    for (int i = 0; i < m_devices.Count(); ++i)
        if (CDeviceControl* control = m_devices.Control(i); control && control->Serial() == serial)
            return control;
    return nullptr;
}

void CInstrumentSession::WriteReading(CScpiContext& c, const CDDSDevice& device, bool counter) {
    if (counter)
        c.WriteInt(device.m_nCount);
    else
        c.WriteNumber(device.m_dMeasuredFreq);
}

void CInstrumentSession::MeasureFresh(CScpiContext& c, CDeviceControl& d, bool counter) {
    d.SetCounterOn(1);
    d.SetMeasureMode(counter ? 0 : 1);
    if (d.Device().m_bDemo != 0)
        return WriteReading(c, d.Device(), counter); // no meter: the panel's 0
    // The counter shows each reading; the meter one its whole window agrees with.
    const unsigned needed = counter ? 1 : CDDSDevice::kMeterWindow;
    const auto deadline = std::chrono::steady_clock::now() + kMeasureWait;
    bool reached = false;
    unsigned first = 0;
    c.Defer([this, serial = d.Serial(), counter, needed, deadline, reached,
             first](CScpiContext& context) mutable {
        const CDeviceControl* control = BySerial(serial);
        if (!control) {
            context.Error(-230, "the device was closed");
            return true;
        }
        const CDDSDevice& device = control->Device();
        if (!reached && device.CommandsDone()) {
            reached = true;
            first = device.m_nReadings.load(std::memory_order_acquire);
        }
        if (reached && device.m_nReadings.load(std::memory_order_acquire) - first >= needed) {
            WriteReading(context, device, counter);
            return true;
        }
        if (std::chrono::steady_clock::now() < deadline)
            return false;
        context.WriteNumber(std::nan(""));
        context.Error(-230, "no reading since the last change within 2 s");
        return true;
    });
}
