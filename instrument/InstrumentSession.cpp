#include "instrument/InstrumentSession.h"

#include "control/DeviceControl.h"
#include "instrument/DeviceRegistry.h"
#include "instrument/InstrumentValues.h"
#include "scpi/ScpiText.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

using P = CScpiParamDef;
using V = CInstrumentValues;

// FUNCtion's words in the order of kWaveOf; NOISe is white noise, GNOise Gauss noise.
const std::vector<std::string> kFunctionWords = {
    "SINusoid", "SQUare", "RAMP", "TRAPezia", "EXPonent", "AMFM", "ARBitrary", "NOISe", "GNOise"};
constexpr std::array<int, 9> kWaveOf = {WAVE_SINE,     WAVE_SQUARE,      WAVE_RAMP,
                                        WAVE_TRAPEZIA, WAVE_EXPONENT,    WAVE_AMFM,
                                        WAVE_ARB,      WAVE_WHITE_NOISE, WAVE_GAUSS_NOISE};

bool AllDigits(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace

CInstrumentSession::CInstrumentSession(CDeviceRegistry& devices, const std::string& version,
                                       Sweeps& sweeps, const CWaveFolder& folder)
    : m_devices(devices), m_strVersion(version), m_sweeps(sweeps), m_folder(folder) {
    AddAddressing();
    AddOutput();
    AddWaveParameters();
    AddSweep();
    AddData();
    AddMeasurement();
    AddFiles();
}

CDeviceControl* CInstrumentSession::Selected() const {
    return m_devices.Control(m_nSelected);
}

CDeviceControl* CInstrumentSession::Addressed(CScpiContext& context) const {
    const bool suffix = context.SuffixCount() > 0 && context.SuffixGiven(0);
    CDeviceControl* control = suffix ? m_devices.Control(context.Suffix(0) - 1) : Selected();
    if (!control)
        context.Error(suffix ? -114 : -241, suffix ? "no such device" : "no device selected");
    else if (std::find(m_vAddressed.begin(), m_vAddressed.end(), control) == m_vAddressed.end())
        m_vAddressed.push_back(control);
    return control;
}

void CInstrumentSession::AddPair(const std::string& pattern, const CScpiParamDef& param,
                                 std::function<void(CScpiContext&, CDeviceControl&)> set,
                                 std::function<void(CScpiContext&, CDeviceControl&)> get) {
    m_table.Add(pattern, {param}, [this, set](CScpiContext& c) {
        if (CDeviceControl* control = Addressed(c))
            set(c, *control);
    });
    m_table.Add(pattern + "?", {}, [this, get](CScpiContext& c) {
        if (CDeviceControl* control = Addressed(c))
            get(c, *control);
    });
}

std::string CInstrumentSession::Identify() const {
    std::string serial = "0";
    if (const CDeviceControl* control = Selected()) {
        const int unit = control->Device().m_nDevice;
        serial = unit >= 0 ? std::to_string(unit) : m_devices.Name(m_nSelected);
    }
    return "DDS-Tarn,DDS-Tarn USB," + serial + "," + m_strVersion;
}

void CInstrumentSession::DropSweep(CDeviceControl& control) {
    const auto found = m_sweeps.find(&control);
    if (found != m_sweeps.end())
        found->second.Drop();
}

void CInstrumentSession::Reset() {
    if (CDeviceControl* control = Selected()) {
        DropSweep(*control);
        control->Reset();
    }
}

bool CInstrumentSession::OperationsComplete() {
    // Only devices still open are asked: one closed since it was addressed has gone.
    for (int i = 0; i < m_devices.Count(); ++i) {
        const CDeviceControl* control = m_devices.Control(i);
        if (!control)
            continue;
        const bool asked = i == m_nSelected || std::find(m_vAddressed.begin(), m_vAddressed.end(),
                                                         control) != m_vAddressed.end();
        // A demo record's queue is never carried out: there is no generator to wait for.
        const CDDSDevice& device = control->Device();
        if (asked && device.m_bDemo == 0 && !device.CommandsDone())
            return false;
    }
    m_vAddressed.clear();
    return true;
}

void CInstrumentSession::AddAddressing() {
    m_table.Add("INSTrument:CATalog?", {}, [this](CScpiContext& c) {
        for (int i = 0; i < m_devices.Count(); ++i)
            c.WriteString(m_devices.Name(i));
    });
    m_table.Add("INSTrument[:SELect]", {P::StringOrNumber()}, [this](CScpiContext& c) {
        const std::string& wanted = c.Param(0).m_str;
        for (int i = 0; i < m_devices.Count(); ++i)
            if (ScpiUpper(m_devices.Name(i)) == ScpiUpper(wanted)) {
                m_nSelected = i;
                return;
            }
        const int number = AllDigits(wanted) && wanted.size() < 9 ? std::stoi(wanted) : 0;
        if (number >= 1 && number <= m_devices.Count())
            m_nSelected = number - 1;
        else
            c.Error(-224, "no device " + wanted);
    });
    m_table.Add("INSTrument[:SELect]?", {},
                [this](CScpiContext& c) { c.WriteString(m_devices.Name(m_nSelected)); });
    m_table.Add("INSTrument:NSELect", {P::Numeric()}, [this](CScpiContext& c) {
        const double number = V::Number(c.Param(0), 1, m_devices.Count(), 1);
        if (number >= 1 && number <= m_devices.Count())
            m_nSelected = static_cast<int>(number) - 1;
        else
            c.Error(-222, "no device " + ScpiFormatNumber(number));
    });
    m_table.Add("INSTrument:NSELect?", {},
                [this](CScpiContext& c) { c.WriteInt(m_nSelected + 1); });
}

void CInstrumentSession::AddOutput() {
    AddPair(
        "[SOURce#:]FUNCtion[:SHAPe]", P::Choice(kFunctionWords),
        [](CScpiContext& c, CDeviceControl& d) { d.SelectWaveType(kWaveOf[c.Param(0).m_nChoice]); },
        [](CScpiContext& c, CDeviceControl& d) {
            for (std::size_t i = 0; i < kWaveOf.size(); ++i)
                if (kWaveOf[i] == d.GetWaveType())
                    c.Write(V::ShortForm(kFunctionWords[i]));
        });
    AddPair(
        "[SOURce#:]FREQuency[:CW]", P::Numeric("HZ"),
        [](CScpiContext& c, CDeviceControl& d) {
            const int type = d.GetWaveType();
            const double hz =
                V::Number(c.Param(0), CDeviceControl::kMinFrequency,
                          CDeviceControl::MaxFrequency(type), CDeviceControl::kDefaultFrequency);
            V::Stored(c, hz != CDeviceControl::ClampFrequency(hz, type), d.SetFrequency(hz), "Hz");
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteNumber(d.GetFrequency()); });
    AddPair(
        "[SOURce#:]VOLTage[:AMPLitude]", P::Numeric("V"),
        [](CScpiContext& c, CDeviceControl& d) {
            const double v = V::Number(c.Param(0), 0, CDeviceControl::kMaxAmplitude, 2.0);
            V::Stored(c, v != CDeviceControl::ClampAmplitude(v), d.SetAmplitude(v), "V");
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteNumber(V::Short(d.GetAmplitude())); });
    AddPair(
        "[SOURce#:]VOLTage:OFFSet", P::Numeric("V"),
        [](CScpiContext& c, CDeviceControl& d) {
            const double v =
                V::Number(c.Param(0), -CDeviceControl::kMaxOffset, CDeviceControl::kMaxOffset, 0.0);
            V::Stored(c, v != CDeviceControl::ClampOffset(v), d.SetOffset(v), "V");
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteNumber(d.GetOffset()); });
    // Degrees, as instruments give a phase; the device keeps a fraction of the period.
    AddPair(
        "[SOURce#:]PHASe", P::Numeric("DEG"),
        [](CScpiContext& c, CDeviceControl& d) {
            const double fraction = V::Number(c.Param(0), 0, 360, 0) / 360.0;
            const double stored = d.SetPhase(fraction);
            V::Stored(c, fraction != CDeviceControl::ClampPhase(fraction), stored * 360.0, "DEG");
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteNumber(V::Short(d.GetPhase() * 360.0f)); });
    AddPair(
        "OUTPut[:STATe]", P::Boolean(),
        [](CScpiContext& c, CDeviceControl& d) { d.SetOutputOn(c.Param(0).m_bValue); },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteBool(d.GetOutputOn()); });
    AddPair(
        "OUTPut:SINGle", P::Boolean(),
        [](CScpiContext& c, CDeviceControl& d) { d.SetSingleWave(c.Param(0).m_bValue); },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteBool(d.GetSingleWave()); });
    AddPair(
        "TRIGger:SOURce", P::Choice({"IMMediate", "EXTernal"}),
        [](CScpiContext& c, CDeviceControl& d) { d.SetExtTrig(c.Param(0).m_nChoice); },
        [](CScpiContext& c, CDeviceControl& d) { c.Write(d.GetExtTrig() ? "EXT" : "IMM"); });
    // The panel's Fall/Raise toggle: 0 falling, 1 rising.
    AddPair(
        "TRIGger:SLOPe", P::Choice({"NEGative", "POSitive"}),
        [](CScpiContext& c, CDeviceControl& d) { d.SetTrigEdge(c.Param(0).m_nChoice); },
        [](CScpiContext& c, CDeviceControl& d) { c.Write(d.GetTrigEdge() ? "POS" : "NEG"); });
    AddPair(
        "DISPlay:PERiods", P::Numeric(),
        [](CScpiContext& c, CDeviceControl& d) {
            using R = CWaveParameterRules;
            const double n = V::Number(c.Param(0), R::kMinPeriodNumber, R::kMaxPeriodNumber, 3);
            const long long whole = V::Whole(n);
            V::Stored(c, R::ClampPeriodNumber(whole) != whole, d.SetPeriodNumber(whole), "");
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteInt(d.GetPeriodNumber()); });
}
