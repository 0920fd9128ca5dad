// Benchtop-style commands against the instrument: each line in, the record it leaves and the
// error queue out.
#include "InstrumentTestSupport.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

namespace {

std::string Fixed(double value, const char* format = "%.6g") {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

/// The record as the rows name it: wave type, peak amplitude, offset, frequency, duties in
/// percent, switches, and the Arb table's extremes in volts.
std::map<std::string, std::string> State(const CDDSDevice& d) {
    std::map<std::string, std::string> state;
    const char* const waves[] = {"SIN", "RAMP", "SQU", "EXP", "ARB", "TRAP", "AMFM", "GNO", "NOIS"};
    state["wave"] = waves[std::clamp(int(d.m_nWaveType), 0, 8)];
    state["amp"] = Fixed(d.m_fAmplitude);
    state["ofs"] = Fixed(d.m_dOffset);
    state["freq"] = Fixed(d.m_dFrequency);
    state["sym"] = Fixed(d.m_fRampDuty * 100.0);
    state["duty"] = Fixed(d.m_fSquareDuty * 100.0);
    state["out"] = Fixed(d.m_bOutputOn);
    state["single"] = Fixed(d.m_bSingleWave);
    state["ext"] = Fixed(d.m_bExtTrig);
    double low = d.m_fArb[0], high = low;
    for (int i = 1; i < std::clamp(int(d.m_nPointsPerPeriod), 1, kMaxPoints); ++i) {
        low = std::min<double>(low, d.m_fArb[std::size_t(i)]);
        high = std::max<double>(high, d.m_fArb[std::size_t(i)]);
    }
    state["arbmax"] = Fixed(high, "%.2f");
    state["arbmin"] = Fixed(low, "%.2f");
    return state;
}

std::string Block(std::initializer_list<int> codes) {
    std::string bytes;
    for (int code : codes) {
        const auto word = static_cast<std::uint16_t>(code);
        bytes += {char(word >> 8), char(word & 0xFF)};
    }
    return "#1" + std::to_string(bytes.size()) + bytes;
}

class Benchtop : public Instrument {};

/// The same block with each 16-bit code's bytes the other way round.
std::string Swapped(std::string block) {
    for (std::size_t i = 3; i + 1 < block.size(); i += 2)
        std::swap(block[i], block[i + 1]);
    return block;
}

struct CRow {
    std::string strLine;
    std::string strResponse;
    std::vector<int> vErrors;
    /// "key=value" pairs the record must hold afterwards.
    std::string strState;
};

TEST_F(Benchtop, CommandsLeaveTheRecordAndErrorsAsStated) {
    const CRow rows[] = {
        // Amplitude is peak-to-peak; VRMS through the wave's crest factor; dBm into the load.
        {"VOLT 2;VOLT?", "2", {}, "amp=1 ofs=0"},
        {"VOLT 8;VOLT?", "7", {-222}, "amp=3.5"},
        {"VOLT:UNIT VRMS;:VOLT 1;:VOLT:UNIT?", "VRMS", {}, "amp=1.41421"},
        {"FUNC SQU;VOLT:UNIT VRMS;:VOLT 1", "", {}, "amp=1"},
        {"FUNC RAMP;VOLT:UNIT VRMS;:VOLT 1", "", {}, "amp=1.73205"},
        {"FUNC NOIS;VOLT:UNIT VRMS;:VOLT 1", "", {}, "amp=1.73205"},
        {"FUNC GNO;VOLT:UNIT VRMS;:VOLT 1", "", {}, "amp=2.44949"},
        {"FUNC EXP;VOLT:UNIT VRMS;:VOLT 1;:VOLT?", "9.91e+37", {-221, -221}, "amp=2"},
        {"VOLT:UNIT DBM;:VOLT 10", "", {}, "amp=1"},
        {"OUTP:LOAD 200;:VOLT:UNIT DBM;:VOLT 4", "", {}, "amp=1.00237"},
        {"OUTP:LOAD INF;LOAD?;:VOLT:UNIT DBM", "9.9e+37", {-221}, "amp=2"},
        {"VOLT:UNIT DBM;:OUTP:LOAD INF;:VOLT:UNIT?", "VPP", {}, ""},
        {"VOLT:UNIT DBM;:VOLT MAX;:VOLT:UNIT VRMS;:VOLT MAX;:FUNC RAMP;:VOLT MAX",
         "",
         {},
         "amp=3.5"},

        {"OUTP:LOAD 1e6;LOAD?;LOAD? MIN;LOAD? DEF", "10000;1;50", {-222}, ""},
        // High and low move amplitude and offset together.
        {"VOLT:HIGH 3;LOW -1;HIGH?;LOW?;:VOLT?;:VOLT:OFFS?", "3;-1;4;1", {}, "amp=2 ofs=1"},
        {"VOLT:LOW 3", "", {-221}, "amp=2 ofs=0"},
        {"VOLT:HIGH 20", "", {-222}, "amp=3.5 ofs=7"},
        // The limits a query is asked for.
        {"FREQ? MAX;FREQ? MIN;FREQ? DEF;:VOLT? MAX;:VOLT:OFFS? MIN",
         "75000000;1;1000;7;-7",
         {},
         ""},
        {"FUNC SQU;FREQ? MAX;:FUNC:SQU:DCYC? MAX;:SWE:POIN? MAX", "25000000;100;1000", {}, ""},
        {"FREQ? 5", "", {-224}, ""},
        // Wave words.
        {"FUNC:RAMP:SYMM 20;:FUNC TRI;FUNC?", "TRI", {}, "wave=RAMP sym=50"},
        {"FUNC USER;FUNC?", "USER", {}, "wave=ARB"},
        {"FUNC SQU;FUNC PULS;FUNC?", "SQU", {-221}, "wave=SQU"},
        // APPLy: wave, frequency, amplitude, offset, output on.
        {"OUTP OFF;:APPL:SQU 5 KHZ,3,0.5;:APPL?",
         "\"SQU +5.000000E+03,+3.000000E+00,+5.000000E-01\"",
         {},
         "wave=SQU freq=5000 amp=1.5 ofs=0.5 out=1"},
        {"APPL:SIN DEF,DEF,DEF;:APPL?",
         "\"SIN +1.000000E+03,+4.000000E+00,+0.000000E+00\"",
         {},
         "amp=2"},
        {"APPL:TRI 2000,MAX", "", {}, "wave=RAMP sym=50 freq=2000 amp=3.5"},
        {"APPL:NOIS 5000,1", "", {}, "wave=NOIS freq=1000 amp=0.5"},
        {"APPL:DC DEF,DEF,1.5;:FUNC?", "DC", {}, "wave=ARB arbmax=1.50 arbmin=1.50"},
        {"APPL:SIN 1e9", "", {-222}, "freq=7.5e+07"},
        // Bursts are the unit's Single Wave on its external trigger.
        {"BURS:MODE TRIG;NCYC 1;STAT ON;STAT?;NCYC?", "1;1", {}, "single=1 ext=1"},
        {"BURS:NCYC 5;:BURS:MODE GAT;:TRIG:SOUR BUS;*TRG",
         "",
         {-221, -221, -221, -221},
         "single=0 ext=0"},
        // Words sent in passing.
        {"OUTP:POL NORM;POL?;:OUTP:POL INV", "NORM", {-221}, ""},
        {"OUTP:SYNC OFF;SYNC?;:OUTP:SYNC ON", "0", {-221}, ""},
        {"SYST:BEEP:STAT OFF;STAT?;:SYST:BEEP", "0", {-221}, ""},
        {"DISP:TEXT 'RUN 4';TEXT?;:DISP:TEXT:CLE;:DISP:TEXT?", "\"RUN 4\";\"\"", {}, ""},
        {"PULS:PER 1", "", {-113}, ""},
        // Named waves: -1..+1 scaled by amplitude and offset, following them while they play.
        {"DATA VOLATILE,0,1,0,-1;:FUNC:USER VOLATILE;:FUNC USER;:FUNC?;:DATA:CAT?",
         "USER;\"VOLATILE\"",
         {},
         "wave=ARB arbmax=2.00 arbmin=-2.00"},
        {"DATA:DAC VOLATILE," + Block({0, 8191, 0, -8191}) + ";:FUNC:USER VOLATILE;:APPL:USER",
         "",
         {},
         "wave=ARB arbmax=2.00 arbmin=-2.00 out=1"},
        {"DATA:ARB SINE4,0,1,0,-1;:FUNC:ARB SINE4;:FUNC ARB;:VOLT 1;:VOLT:OFFS 1;:FUNC?",
         "ARB",
         {},
         "wave=ARB arbmax=1.50 arbmin=0.50"},
        {"DATA:ARB:DAC TOP,0,32767,0,-32767;:FUNC:ARB TOP;:FUNC ARB;:VOLT:HIGH 2;LOW 0",
         "",
         {},
         "arbmax=2.00 arbmin=0.00"},
        {"FORM:BORD SWAP;:DATA:DAC VOLATILE," + Swapped(Block({0, 8191, 0, -8191})) +
             ";:FUNC:USER VOLATILE;:FUNC USER;:FORM:BORD?",
         "SWAP",
         {},
         "arbmax=2.00 arbmin=-2.00"},
        {"VOLT 7;:VOLT:OFFS 2;:DATA VOLATILE,0,1,0,-1;:FUNC:USER VOLATILE;:FUNC USER",
         "",
         {-222},
         "arbmax=3.50"},
        {"APPL:DC DEF,DEF,1;:DATA VOLATILE,0,1,0,-1;:FUNC:USER VOLATILE;:FUNC?",
         "DC",
         {},
         "arbmax=1.00 arbmin=1.00"},
        {"DATA:ARB SINE4,0,1,0,-1;:FUNC:ARB SINE4;ARB:SRAT 8000;SRAT?;:DATA:ATTR:POIN?",
         "8000;4",
         {},
         "freq=2000"},
        {"FUNC:ARB:SRAT 8000", "", {-221}, "freq=1000"},
        {"DATA VOLATILE,1;:DATA:COPY KEPT;:DATA:DEL VOLATILE;:DATA:CAT?", "\"KEPT\"", {}, ""},
        {"DATA:DEL NOPE;:DATA VOLATILE,2;:DATA:ARB TOOLONGNAME123,1;:DATA TEMP,1",
         "",
         {-224, -222, -224, -224},
         ""},
        {"DATA:DAC VOLATILE,9000;:FUNC:USER NOPE", "", {-222, -224}, "wave=SIN"},
        {"DATA:ARB A1,0;:DATA:ARB A2,0;:DATA:ARB A3,0;:DATA:ARB A4,0;:DATA:ARB A5,0;"
         ":DATA:ARB A6,0;:DATA:ARB A7,0;:DATA:ARB A8,0;:DATA:ARB A9,0",
         "",
         {-225},
         ""},
        // Our own upload forms keep their meaning beside the named ones.
        {"DATA:ARB 1,-1;:FUNC?", "ARB", {}, "wave=ARB arbmax=1.00 arbmin=-1.00"},
    };
    for (const CRow& row : rows) {
        SCOPED_TRACE(row.strLine);
        m_controls[0].Reset();
        CScpiInstrument instrument(*this, "9.9");
        const std::unique_ptr<CScpiSession> session = instrument.NewSession();
        EXPECT_EQ(Run(*session, row.strLine), row.strResponse);
        EXPECT_EQ(Errors(*session), row.vErrors);
        const std::map<std::string, std::string> state = State(m_devices[0]);
        std::istringstream wanted(row.strState);
        for (std::string pair; wanted >> pair;) {
            const std::string key = pair.substr(0, pair.find('='));
            EXPECT_EQ(key + "=" + state.at(key), pair);
        }
    }
}

TEST_F(Benchtop, ANamedWaveIsCutForTheFrequencySentBeforeIt) {
    CScpiInstrument instrument(*this, "9.9");
    const std::unique_ptr<CScpiSession> session = instrument.NewSession();
    Run(*session, "DATA VOLATILE,0,1,0,-1;:FUNC:USER VOLATILE");
    std::string out;
    {
        // The unit has not taken the new frequency yet when the wave is chosen.
        const CDDSDevice::CCommandHold hold(m_devices[0]);
        out = session->Feed("FREQ 5 MHZ;:FUNC USER;:FUNC?\n");
    }
    EXPECT_TRUE(WaitFor([&] { return (out += session->Poll(), !session->IsWaiting()); }));
    ASSERT_TRUE(WaitFor([&] { return m_devices[0].CommandsDone(); }));
    EXPECT_EQ(out, "USER\n");
    const std::map<std::string, std::string> state = State(m_devices[0]);
    EXPECT_EQ(state.at("arbmax") + " " + state.at("arbmin"), "2.00 -2.00");
    EXPECT_TRUE(PlaysTheTable(0));
}

TEST_F(Benchtop, ANamedWaveIsCutOffTheCallersThreadWhileOthersAreServed) {
    CScpiInstrument instrument(*this, "9.9");
    const std::unique_ptr<CScpiSession> session = instrument.NewSession();
    const std::unique_ptr<CScpiSession> other = instrument.NewSession();
    Run(*session, "DATA VOLATILE,0,1,0,-1;:FUNC:USER VOLATILE");
    // Cutting four points to the plan's thousands is slow: Feed hands it over and returns.
    std::string out = session->Feed("FUNC USER;:FUNC?\n");
    EXPECT_TRUE(session->IsWaiting());
    EXPECT_EQ(other->Feed("FUNC?\n"), "SIN\n");
    EXPECT_TRUE(WaitFor([&] { return (out += session->Poll(), !session->IsWaiting()); },
                        std::chrono::seconds(20)));
    EXPECT_EQ(out, "USER\n");
    ASSERT_TRUE(WaitFor([&] { return m_devices[0].CommandsDone(); }));
    EXPECT_TRUE(PlaysTheTable(0));
    // Kept once cut: a new level only scales it again, at once.
    EXPECT_EQ(session->Feed("VOLT 1;:FUNC?\n"), "USER\n");
    EXPECT_EQ(State(m_devices[0]).at("arbmax"), "0.50");
}

} // namespace
