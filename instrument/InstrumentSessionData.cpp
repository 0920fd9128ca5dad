// The session's wave parameter, sweep, Arb data, measurement and digital line commands.
#include "control/DeviceControl.h"
#include "engine/SweepRules.h"
#include "formats/CsvFile.h"
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

// Shares of a period (duties, trapezium parts, AM depth) travel in percent, as instruments
// give a duty cycle; the device keeps fractions.
double Fraction(const CScpiParameter& param, double def) {
    return V::Number(param, 0.0, 100.0, def * 100.0) / 100.0;
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
        AddPair(
            std::string("[SOURce#:]") + pattern, P::Numeric(),
            [type](CScpiContext& c, CDeviceControl& d) {
                const double duty = Fraction(c.Param(0), 0.5);
                StorePercent(c, duty, d.SetDuty(type, duty));
            },
            [type](CScpiContext& c, CDeviceControl& d) { WritePercent(c, d.GetDuty(type)); });
    }
    for (auto [pattern, part] :
         {std::pair{"RISE", Rules::TRAP_RISE}, std::pair{"HIGH", Rules::TRAP_HIGH},
          std::pair{"FALL", Rules::TRAP_FALL}}) {
        AddPair(
            std::string("[SOURce#:]FUNCtion:TRAPezia:") + pattern, P::Numeric(),
            [part](CScpiContext& c, CDeviceControl& d) {
                const double share = Fraction(c.Param(0), 0.2);
                StorePercent(c, share, d.SetTrapezia(part, share));
            },
            [part](CScpiContext& c, CDeviceControl& d) {
                WritePercent(c, d.TrapeziaParts()[part]);
            });
    }
    AddPair(
        "[SOURce#:]FUNCtion:EXPonent:TCONstant", P::Numeric("S"),
        [](CScpiContext& c, CDeviceControl& d) {
            d.SetExpTau(V::Number(c.Param(0), 0.0, 1.0, 0.001));
        },
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
    modulation(
        "CARRier", P::Numeric("HZ"),
        [](CScpiContext& c, M& m) {
            return WholeHertz(c, V::Number(c.Param(0), 1, 25e6, M().nCarrier), m.nCarrier);
        },
        [](CScpiContext& c, const M& m) { c.WriteInt(m.nCarrier); });
    modulation(
        "DEViation", P::Numeric("HZ"),
        [](CScpiContext& c, M& m) {
            return WholeHertz(c, V::Number(c.Param(0), 0, 25e6, M().nDeviation), m.nDeviation);
        },
        [](CScpiContext& c, const M& m) { c.WriteInt(m.nDeviation); });
    modulation(
        "DEPTh", P::Numeric(),
        [](CScpiContext& c, M& m) {
            m.fDepth = static_cast<float>(Fraction(c.Param(0), M().fDepth));
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
        AddPair(
            std::string("[SOURce#:]") + f.pattern,
            P::Numeric(f.field == S::FIELD_SPEED ? "" : "HZ"),
            [f](CScpiContext& c, CDeviceControl& d) {
                CDDSDevice& device = d.Device();
                const double value = V::Number(c.Param(0), f.min, f.max, f.def);
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
    AddPair(
        "[SOURce#:]SWEep:POINts", P::Numeric(),
        [this](CScpiContext& c, CDeviceControl& d) {
            const double points =
                V::Number(c.Param(0), CRemoteSweep::kMinPointsPerDecade,
                          CRemoteSweep::kMaxPointsPerDecade, CRemoteSweep::kDefaultPointsPerDecade);
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
    m_table.Add("[SOURce#:]DATA:ARBitrary", {P::NumericList("V")}, [this](CScpiContext& c) {
        CDeviceControl* control = Addressed(c);
        const std::vector<double>& volts = c.Param(0).m_vList;
        if (!control || !ArbSize(c, volts.size()))
            return;
        LoadArb(*control, std::vector<float>(volts.begin(), volts.end()));
    });
    m_table.Add("[SOURce#:]DATA:ARBitrary:DAC", {P::Block()}, [this](CScpiContext& c) {
        CDeviceControl* control = Addressed(c);
        const std::string& bytes = c.Param(0).m_str;
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
            // The middle of the code's step: the generator truncates, so it plays this code.
            points[i] = static_cast<float>((kMidCode - code - 0.5) / kCodeStep * kFullScale);
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
    m_table.Add("MEASure:FREQuency?", {}, [this](CScpiContext& c) {
        if (CDeviceControl* control = Addressed(c)) {
            control->SetMeasureMode(1);
            c.WriteNumber(control->Device().m_dMeasuredFreq);
        }
    });
    m_table.Add("MEASure:COUNt?", {}, [this](CScpiContext& c) {
        if (CDeviceControl* control = Addressed(c)) {
            control->SetMeasureMode(0);
            c.WriteInt(control->Device().m_nCount);
        }
    });
    m_table.Add("COUNter:RESet", {}, [this](CScpiContext& c) {
        if (CDeviceControl* control = Addressed(c))
            control->Device().m_bResetCounter = 1;
    });
    AddPair(
        "DIGital:MODE", P::Choice({"PATTern", "PROGrammable"}),
        [](CScpiContext& c, CDeviceControl& d) { d.SetDIOMode(c.Param(0).m_nChoice); },
        [](CScpiContext& c, CDeviceControl& d) { c.Write(d.GetDIOMode() ? "PROG" : "PATT"); });
    AddPair(
        "DIGital:OUTPut", P::Numeric(),
        [](CScpiContext& c, CDeviceControl& d) {
            const long long word =
                V::Whole(V::Number(c.Param(0), 0, CDeviceControl::kDigitalOutLines, 0));
            const unsigned stored = d.SetDigitalOut(static_cast<unsigned>(word));
            V::Stored(c, stored != word, stored, "");
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteInt(d.GetDigitalOut()); });
    m_table.Add("DIGital:INPut?", {}, [this](CScpiContext& c) {
        if (const CDeviceControl* control = Addressed(c))
            c.WriteInt(control->Device().m_wDigitalIn);
    });
}
