// The session's benchtop vocabulary: volts peak-to-peak, RMS or dBm into a load, high and low
// levels, the wave words, APPLy, BURSt and the words scripts send in passing.
#include "control/DeviceControl.h"
#include "control/OutputLevels.h"
#include "instrument/DeviceRegistry.h"
#include "instrument/InstrumentSession.h"
#include "instrument/InstrumentValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

using P = CScpiParamDef;
using V = CInstrumentValues;
using L = COutputLevels;
using A = CBenchState::Alias;

/// The wave words FUNCtion and APPLy take: ours and the benchtop ones, with the type each
/// plays (-1: none the unit can play) and the word it leaves FUNCtion? answering.
struct CWaveWord {
    const char* szWord;
    int nType;
    A eAlias;
};
const CWaveWord kWaveWords[] = {
    {"SINusoid", WAVE_SINE, A::ALIAS_NONE},
    {"SQUare", WAVE_SQUARE, A::ALIAS_NONE},
    {"RAMP", WAVE_RAMP, A::ALIAS_NONE},
    {"TRAPezia", WAVE_TRAPEZIA, A::ALIAS_NONE},
    {"EXPonent", WAVE_EXPONENT, A::ALIAS_NONE},
    {"AMFM", WAVE_AMFM, A::ALIAS_NONE},
    {"ARBitrary", WAVE_ARB, A::ALIAS_ARB},
    {"NOISe", WAVE_WHITE_NOISE, A::ALIAS_NONE},
    {"GNOise", WAVE_GAUSS_NOISE, A::ALIAS_NONE},
    {"USER", WAVE_ARB, A::ALIAS_USER},
    {"TRIangle", WAVE_RAMP, A::ALIAS_TRI},
    {"DC", WAVE_ARB, A::ALIAS_DC},
    {"PULSe", -1, A::ALIAS_NONE},
    {"PRBS", -1, A::ALIAS_NONE},
};
constexpr int kWordCount = int(std::size(kWaveWords));
const char* const kUnitWords[] = {"VPP", "VRMS", "DBM"};

std::vector<std::string> WaveWords() {
    std::vector<std::string> words;
    for (const CWaveWord& word : kWaveWords)
        words.emplace_back(word.szWord);
    return words;
}

int WordOf(const char* word) {
    for (int i = 0; i < kWordCount; ++i)
        if (std::string(kWaveWords[i].szWord) == word)
            return i;
    return -1;
}

/// "+1.000000E+03", as benchtop generators answer APPLy?, whatever the locale.
std::string Scientific(double value) {
    if (!std::isfinite(value))
        value = std::isnan(value) ? 9.91e37 : std::copysign(9.9e37, value);
    char text[32];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 6);
    std::string out(text, end.ptr);
    if (out.front() != '-')
        out.insert(out.begin(), '+');
    for (char& ch : out)
        if (ch == 'e')
            ch = 'E';
    return out;
}

} // namespace

CBenchState& CInstrumentSession::Bench(const CDeviceControl& control) {
    // States of devices closed since are dropped; their serials never come back.
    for (auto it = m_benches.begin(); it != m_benches.end();)
        it = BySerial(it->first) ? std::next(it) : m_benches.erase(it);
    return m_benches[control.Serial()];
}

void CInstrumentSession::SelectFunction(CScpiContext& c, CDeviceControl& d, int word) {
    const CWaveWord& wave = kWaveWords[word];
    if (wave.nType < 0)
        return c.Error(-221, "no pulse or PRBS: SQUare with FUNCtion:SQUare:DCYCle is nearest");
    CBenchState& bench = Bench(d);
    if (wave.eAlias == A::ALIAS_DC) {
        PlayNamed(c, d, CBenchState::kDcWave);
    } else if ((wave.eAlias == A::ALIAS_USER || wave.eAlias == A::ALIAS_ARB) &&
               !bench.strChosen.empty()) {
        PlayNamed(c, d, bench.strChosen);
    } else {
        d.SelectWaveType(wave.nType);
        if (wave.eAlias == A::ALIAS_TRI)
            d.SetDuty(WAVE_RAMP, 0.5);
    }
    bench.eAlias = wave.eAlias;
}

std::string CInstrumentSession::FunctionWord(CDeviceControl& d) {
    const CBenchState& bench = Bench(d);
    const int type = d.GetWaveType();
    const bool arb = type == WAVE_ARB;
    switch (bench.eAlias) {
    case A::ALIAS_TRI:
        if (type == WAVE_RAMP && d.GetDuty(WAVE_RAMP) == 0.5f)
            return "TRI";
        break;
    case A::ALIAS_USER:
        if (arb)
            return "USER";
        break;
    case A::ALIAS_DC:
        if (arb && bench.strPlayed == CBenchState::kDcWave && PlaysTable(d, bench.vPlayed))
            return "DC";
        break;
    case A::ALIAS_ARB:
    case A::ALIAS_NONE:
        break;
    }
    for (const CWaveWord& word : kWaveWords)
        if (word.nType == type)
            return V::ShortForm(word.szWord);
    return "SIN";
}

bool CInstrumentSession::SetAmplitudeIn(CScpiContext& c, CDeviceControl& d, double value) {
    const CBenchState& bench = Bench(d);
    double peak = 0.0;
    std::string reason;
    if (!L::ToPeak(d.Device(), value, bench.nVoltUnit, bench.dLoad, peak, reason)) {
        c.Error(-221, reason);
        return false;
    }
    const double stored = V::Short(d.SetAmplitude(peak));
    // A limit asked for in VRMS or dBm comes back through the conversion a rounding off.
    const double limit = CDeviceControl::ClampAmplitude(peak);
    if (std::fabs(peak - limit) > 1e-9 * std::max(1.0, std::fabs(peak))) {
        double shown = stored;
        L::FromPeak(d.Device(), stored, bench.nVoltUnit, bench.dLoad, shown, reason);
        V::Stored(c, true, shown, kUnitWords[bench.nVoltUnit]);
    }
    FollowLevels(c, d);
    return true;
}

void CInstrumentSession::WriteAmplitude(CScpiContext& c, CDeviceControl& d) {
    const CBenchState& bench = Bench(d);
    double value = 0.0;
    std::string reason;
    if (L::FromPeak(d.Device(), V::Short(d.GetAmplitude()), bench.nVoltUnit, bench.dLoad, value,
                    reason))
        return c.WriteNumber(value);
    c.WriteNumber(std::nan(""));
    c.Error(-221, reason);
}

void CInstrumentSession::AddLevels() {
    AddNumber(
        "[SOURce#:]VOLTage[:AMPLitude]", "V",
        [this](CDeviceControl& d) {
            const CBenchState& bench = Bench(d);
            CLimits limits{};
            std::string reason;
            double* values[] = {&limits.dMin, &limits.dMax, &limits.dDef};
            const double peaks[] = {0.0, CDeviceControl::kMaxAmplitude, CDDSDevice().m_fAmplitude};
            for (int i = 0; i < 3; ++i)
                if (!L::FromPeak(d.Device(), peaks[i], bench.nVoltUnit, bench.dLoad, *values[i],
                                 reason))
                    *values[i] = std::nan("");
            return limits;
        },
        [this](CScpiContext& c, CDeviceControl& d, double value) { SetAmplitudeIn(c, d, value); },
        [this](CScpiContext& c, CDeviceControl& d) { WriteAmplitude(c, d); });
    AddPair(
        "[SOURce#:]VOLTage:UNIT", P::Choice({"VPP", "VRMS", "DBM"}),
        [this](CScpiContext& c, CDeviceControl& d) {
            CBenchState& bench = Bench(d);
            const int unit = c.Param(0).m_nChoice;
            if (unit == L::UNIT_DBM && std::isinf(bench.dLoad))
                return c.Error(-221, "dBm needs a finite OUTPut:LOAD");
            bench.nVoltUnit = unit;
        },
        [this](CScpiContext& c, CDeviceControl& d) { c.Write(kUnitWords[Bench(d).nVoltUnit]); });
    AddNumber(
        "[SOURce#:]VOLTage:OFFSet", "V",
        [](CDeviceControl&) {
            return CLimits{-CDeviceControl::kMaxOffset, CDeviceControl::kMaxOffset, 0};
        },
        [this](CScpiContext& c, CDeviceControl& d, double volts) {
            const double open = L::OpenFor(volts, Bench(d).dLoad);
            const double stored = d.SetOffset(open);
            V::Stored(c, open != CDeviceControl::ClampOffset(open),
                      L::AtLoad(stored, Bench(d).dLoad), "V");
            FollowLevels(c, d);
        },
        [this](CScpiContext& c, CDeviceControl& d) {
            c.WriteNumber(L::AtLoad(d.GetOffset(), Bench(d).dLoad));
        });
    // The levels move amplitude and offset together, the other level staying where it is.
    for (const bool high : {true, false}) {
        const double peak = CDDSDevice().m_fAmplitude;
        AddNumber(
            high ? "[SOURce#:]VOLTage:HIGH" : "[SOURce#:]VOLTage:LOW", "V",
            [high, peak](CDeviceControl&) {
                const double range = CDeviceControl::kMaxAmplitude;
                return high ? CLimits{-range, range, peak} : CLimits{-range, range, -peak};
            },
            [this, high](CScpiContext& c, CDeviceControl& d, double volts) {
                const double load = Bench(d).dLoad;
                const double amplitude = V::Short(d.GetAmplitude());
                const double level = L::OpenFor(volts, load);
                const double top = high ? level : d.GetOffset() + amplitude;
                const double bottom = high ? d.GetOffset() - amplitude : level;
                if (top < bottom)
                    return c.Error(-221, "VOLTage:HIGH must not lie below VOLTage:LOW");
                const CDeviceControl::Levels stored = d.SetLevels(top, bottom);
                const double half = (top - bottom) / 2.0;
                const double middle = (top + bottom) / 2.0;
                if (half != CDeviceControl::ClampAmplitude(half) ||
                    middle != CDeviceControl::ClampOffset(middle)) {
                    const double a = V::Short(stored.fAmplitude);
                    c.Error(-222, "high " + Scientific(L::AtLoad(stored.dOffset + a, load)) +
                                      " V, low " + Scientific(L::AtLoad(stored.dOffset - a, load)) +
                                      " V stored");
                }
                FollowLevels(c, d);
            },
            [this, high](CScpiContext& c, CDeviceControl& d) {
                const double amplitude = V::Short(d.GetAmplitude());
                const double level = d.GetOffset() + (high ? amplitude : -amplitude);
                c.WriteNumber(L::AtLoad(level, Bench(d).dLoad));
            });
    }
    AddNumber(
        "OUTPut#:LOAD", "OHM",
        [](CDeviceControl&) {
            return CLimits{L::kMinLoad, L::kMaxLoad, L::kDefaultLoad};
        },
        [this](CScpiContext& c, CDeviceControl& d, double ohms) {
            CBenchState& bench = Bench(d);
            bench.dLoad = L::ClampLoad(ohms);
            V::Stored(c, bench.dLoad != ohms, bench.dLoad, "OHM");
            // As benchtop generators do: dBm means nothing into an open output.
            if (std::isinf(bench.dLoad) && bench.nVoltUnit == L::UNIT_DBM)
                bench.nVoltUnit = L::UNIT_VPP;
        },
        [this](CScpiContext& c, CDeviceControl& d) { c.WriteNumber(Bench(d).dLoad); });
}

void CInstrumentSession::AddBenchtop() {
    AddPair(
        "[SOURce#:]FUNCtion[:SHAPe]", P::Choice(WaveWords()),
        [this](CScpiContext& c, CDeviceControl& d) { SelectFunction(c, d, c.Param(0).m_nChoice); },
        [this](CScpiContext& c, CDeviceControl& d) { c.Write(FunctionWord(d)); });

    // APPLy:<wave> [<frequency>[,<amplitude>[,<offset>]]]: the wave, then what is given, and
    // the output on. Noise and DC take no frequency, DC no amplitude: given ones are ignored.
    const char* const applied[] = {"SINusoid", "SQUare", "RAMP",      "TRIangle",
                                   "NOISe",    "USER",   "ARBitrary", "DC"};
    for (const char* word : applied) {
        const int index = WordOf(word);
        m_table.Add(
            std::string("[SOURce#:]APPLy:") + word,
            {P::Numeric("HZ").Optional(), P::Numeric("V").Optional(), P::Numeric("V").Optional()},
            [this, index](CScpiContext& c) {
                CDeviceControl* d = Addressed(c);
                if (!d)
                    return;
                SelectFunction(c, *d, index);
                const A alias = kWaveWords[index].eAlias;
                const bool noise = kWaveWords[index].nType == WAVE_WHITE_NOISE;
                if (c.Has(0) && !noise && alias != A::ALIAS_DC) {
                    const int type = d->GetWaveType();
                    const double hz = V::Number(c.Param(0), CDeviceControl::kMinFrequency,
                                                CDeviceControl::MaxFrequency(type),
                                                CDeviceControl::kDefaultFrequency);
                    V::Stored(c, hz != CDeviceControl::ClampFrequency(hz, type),
                              d->SetFrequency(hz), "Hz");
                }
                if (c.Has(1) && alias != A::ALIAS_DC) {
                    CBenchState& bench = Bench(*d);
                    double def = 0.0, max = 0.0;
                    std::string reason;
                    L::FromPeak(d->Device(), CDDSDevice().m_fAmplitude, bench.nVoltUnit,
                                bench.dLoad, def, reason);
                    L::FromPeak(d->Device(), CDeviceControl::kMaxAmplitude, bench.nVoltUnit,
                                bench.dLoad, max, reason);
                    double min = 0.0;
                    L::FromPeak(d->Device(), 0.0, bench.nVoltUnit, bench.dLoad, min, reason);
                    SetAmplitudeIn(c, *d, V::Number(c.Param(1), min, max, def));
                }
                if (c.Has(2)) {
                    const double open =
                        L::OpenFor(V::Number(c.Param(2), -CDeviceControl::kMaxOffset,
                                             CDeviceControl::kMaxOffset, 0),
                                   Bench(*d).dLoad);
                    const double stored = d->SetOffset(open);
                    V::Stored(c, open != CDeviceControl::ClampOffset(open), stored, "V");
                    FollowLevels(c, *d);
                }
                d->SetOutputOn(1);
            });
    }
    m_table.Add("[SOURce#:]APPLy?", {}, [this](CScpiContext& c) {
        CDeviceControl* d = Addressed(c);
        if (!d)
            return;
        const CBenchState& bench = Bench(*d);
        double amplitude = std::nan("");
        std::string reason;
        L::FromPeak(d->Device(), V::Short(d->GetAmplitude()), bench.nVoltUnit, bench.dLoad,
                    amplitude, reason);
        c.WriteString(FunctionWord(*d) + " " + Scientific(d->GetFrequency()) + "," +
                      Scientific(amplitude) + "," +
                      Scientific(L::AtLoad(d->GetOffset(), bench.dLoad)));
    });

    // Bursts: the unit's Single Wave, one period on each edge of its external trigger.
    AddPair(
        "[SOURce#:]BURSt:STATe", P::Boolean(),
        [](CScpiContext& c, CDeviceControl& d) {
            d.SetSingleWave(c.Param(0).m_bValue);
            if (c.Param(0).m_bValue)
                d.SetExtTrig(1);
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteBool(d.GetSingleWave()); });
    AddNumber(
        "[SOURce#:]BURSt:NCYCles", "",
        [](CDeviceControl&) {
            return CLimits{1, 1, 1};
        },
        [](CScpiContext& c, CDeviceControl&, double cycles) {
            if (cycles != 1.0)
                c.Error(-221, "the unit plays one cycle a trigger (Single Wave): NCYCles 1");
        },
        [](CScpiContext& c, CDeviceControl&) { c.WriteInt(1); });
    AddPair(
        "[SOURce#:]BURSt:MODE", P::Choice({"TRIGgered", "GATed"}),
        [](CScpiContext& c, CDeviceControl&) {
            if (c.Param(0).m_nChoice != 0)
                c.Error(-221, "no gated burst: the unit plays one cycle on each external trigger");
        },
        [](CScpiContext& c, CDeviceControl&) { c.Write("TRIG"); });
    for (const char* trigger : {"*TRG", "TRIGger[:IMMediate]"})
        m_table.Add(trigger, {}, [](CScpiContext& c) {
            c.Error(-221, "no software trigger: the unit starts a single wave on its external "
                          "trigger input");
        });

    // Words scripts send in passing: kept and answered where harmless, refused where the unit
    // cannot do what they ask.
    const auto onlyOff = [this](const std::string& pattern, const std::string& refusal) {
        AddPair(
            pattern, P::Boolean(),
            [refusal](CScpiContext& c, CDeviceControl&) {
                if (c.Param(0).m_bValue)
                    c.Error(-221, refusal);
            },
            [](CScpiContext& c, CDeviceControl&) { c.WriteBool(false); });
    };
    onlyOff("OUTPut#:SYNC", "the unit has no sync output");
    onlyOff("OUTPut#:TRIGger", "the unit has no trigger output");
    AddPair(
        "OUTPut#:POLarity", P::Choice({"NORMal", "INVerted"}),
        [](CScpiContext& c, CDeviceControl&) {
            if (c.Param(0).m_nChoice != 0)
                c.Error(-221, "the unit cannot invert its output");
        },
        [](CScpiContext& c, CDeviceControl&) { c.Write("NORM"); });
    m_table.Add("SYSTem:BEEPer[:IMMediate]", {},
                [](CScpiContext& c) { c.Error(-221, "the program has no beeper"); });
    m_table.Add("SYSTem:BEEPer:STATe", {P::Boolean()},
                [this](CScpiContext& c) { m_bBeeper = c.Param(0).m_bValue; });
    m_table.Add("SYSTem:BEEPer:STATe?", {}, [this](CScpiContext& c) { c.WriteBool(m_bBeeper); });
    m_table.Add("DISPlay[:STATe]", {P::Boolean()},
                [this](CScpiContext& c) { m_bDisplayOn = c.Param(0).m_bValue; });
    m_table.Add("DISPlay[:STATe]?", {}, [this](CScpiContext& c) { c.WriteBool(m_bDisplayOn); });
    m_table.Add("DISPlay:TEXT[:DATA]", {P::String()},
                [this](CScpiContext& c) { m_strDisplayText = c.Param(0).m_str.substr(0, 40); });
    m_table.Add("DISPlay:TEXT[:DATA]?", {},
                [this](CScpiContext& c) { c.WriteString(m_strDisplayText); });
    m_table.Add("DISPlay:TEXT:CLEar", {}, [this](CScpiContext&) { m_strDisplayText.clear(); });
    for (const char* local : {"SYSTem:LOCal", "SYSTem:REMote", "SYSTem:RWLock"})
        m_table.Add(local, {}, [](CScpiContext&) {});
    m_table.Add("SYSTem:COMMunicate:RLSTate", {P::Choice({"LOCal", "REMote", "RWLock"})},
                [](CScpiContext&) {});
    m_table.Add("FORMat:BORDer", {P::Choice({"NORMal", "SWAPped"})},
                [this](CScpiContext& c) { m_bSwapBytes = c.Param(0).m_nChoice == 1; });
    m_table.Add("FORMat:BORDer?", {},
                [this](CScpiContext& c) { c.Write(m_bSwapBytes ? "SWAP" : "NORM"); });
}
