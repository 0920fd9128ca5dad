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
                                       Sweeps& sweeps, const CWaveFolder& folder,
                                       CBenchStates& benches)
    : m_devices(devices), m_strVersion(version), m_sweeps(sweeps), m_folder(folder),
      m_benches(benches) {
    AddAddressing();
    AddOutput();
    AddLevels();
    AddBenchtop();
    AddNamedWaves();
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

void CInstrumentSession::AddNumber(const std::string& pattern, const std::string& unit,
                                   LimitsOf limits,
                                   std::function<void(CScpiContext&, CDeviceControl&, double)> set,
                                   std::function<void(CScpiContext&, CDeviceControl&)> get) {
    m_table.Add(pattern, {P::Numeric(unit)}, [this, limits, set](CScpiContext& c) {
        if (CDeviceControl* control = Addressed(c)) {
            const CLimits l = limits(*control);
            set(c, *control, V::Number(c.Param(0), l.dMin, l.dMax, l.dDef));
        }
    });
    m_table.Add(pattern + "?", {P::Numeric(unit).Optional()}, [this, limits, get](CScpiContext& c) {
        CDeviceControl* control = Addressed(c);
        if (!control)
            return;
        if (!c.Has(0))
            return get(c, *control);
        const CLimits l = limits(*control);
        switch (c.Param(0).m_eSpecial) {
        case CScpiParameter::MINIMUM:
            return c.WriteNumber(l.dMin);
        case CScpiParameter::MAXIMUM:
            return c.WriteNumber(l.dMax);
        case CScpiParameter::DEFAULT:
            return c.WriteNumber(l.dDef);
        case CScpiParameter::VALUE:
            break;
        }
        c.Error(-224, "a query takes MINimum, MAXimum or DEFault");
    });
}

int CInstrumentSession::IndexOf(const CDeviceControl& control) const {
    for (int i = 0; i < m_devices.Count(); ++i)
        if (m_devices.Control(i) == &control)
            return i;
    return -1;
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
        CBenchState& bench = Bench(*control);
        CNamedWaves waves = std::move(bench.waves);
        bench = CBenchState();
        bench.waves = std::move(waves);
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
    AddNumber(
        "[SOURce#:]FREQuency[:CW]", "HZ",
        [](CDeviceControl& d) {
            return CLimits{CDeviceControl::kMinFrequency,
                           CDeviceControl::MaxFrequency(d.GetWaveType()),
                           CDeviceControl::kDefaultFrequency};
        },
        [](CScpiContext& c, CDeviceControl& d, double hz) {
            const int type = d.GetWaveType();
            V::Stored(c, hz != CDeviceControl::ClampFrequency(hz, type), d.SetFrequency(hz), "Hz");
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteNumber(d.GetFrequency()); });
    // Degrees, as instruments give a phase; the device keeps a fraction of the period.
    AddNumber(
        "[SOURce#:]PHASe", "DEG",
        [](CDeviceControl&) {
            return CLimits{0, 360, 0};
        },
        [](CScpiContext& c, CDeviceControl& d, double degrees) {
            const double fraction = degrees / 360.0;
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
        "TRIGger:SOURce", P::Choice({"IMMediate", "EXTernal", "BUS"}),
        [](CScpiContext& c, CDeviceControl& d) {
            if (c.Param(0).m_nChoice == 2)
                return c.Error(-221, "no software trigger: the unit starts a single wave on its "
                                     "external trigger input (TRIGger:SOURce EXTernal)");
            d.SetExtTrig(c.Param(0).m_nChoice);
        },
        [](CScpiContext& c, CDeviceControl& d) { c.Write(d.GetExtTrig() ? "EXT" : "IMM"); });
    // The panel's Fall/Raise toggle: 0 falling, 1 rising.
    AddPair(
        "TRIGger:SLOPe", P::Choice({"NEGative", "POSitive"}),
        [](CScpiContext& c, CDeviceControl& d) { d.SetTrigEdge(c.Param(0).m_nChoice); },
        [](CScpiContext& c, CDeviceControl& d) { c.Write(d.GetTrigEdge() ? "POS" : "NEG"); });
    using R = CWaveParameterRules;
    AddNumber(
        "DISPlay:PERiods", "",
        [](CDeviceControl&) {
            return CLimits{R::kMinPeriodNumber, R::kMaxPeriodNumber, 3};
        },
        [](CScpiContext& c, CDeviceControl& d, double n) {
            const long long whole = V::Whole(n);
            V::Stored(c, R::ClampPeriodNumber(whole) != whole, d.SetPeriodNumber(whole), "");
        },
        [](CScpiContext& c, CDeviceControl& d) { c.WriteInt(d.GetPeriodNumber()); });
}
