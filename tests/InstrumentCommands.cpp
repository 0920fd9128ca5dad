// The SCPI instrument over two records bound to the simulated bank, with their workers.
#include "InstrumentTestSupport.h"
#include "engine/WaveBatch.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <set>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST_F(Instrument, CommandsClampAddressAndAnswerAsStored) {
    // Line, response, error codes queued.
    const std::tuple<const char*, const char*, std::vector<int>> rows[] = {
        {"FREQ 8e7;FREQ?", "75000000", {-222}},
        {"FUNC SQU;FREQ 30MHZ;FREQ?;FUNC?", "25000000;SQU", {-222}},
        {"FREQ MAX;FREQ?", "75000000", {}},
        {"VOLT 8;VOLT?;VOLT 1.25;VOLT?", "7;1.25", {-222}},
        {"VOLT:OFFS -8;OFFS?", "-7", {-222}},
        {"PHAS 90;PHAS?;PHAS 400;PHAS?", "90;360", {-222}},
        {"FUNC:SQU:DCYC 120;DCYC?;:FUNC:RAMP:SYMM 25;SYMM?", "100;25", {-222}},
        {"FUNC:TRAP:HIGH 10;RISE 50;HIGH 60;HIGH?;FALL?", "30;20", {-222}},
        {"FUNC:EXP:TCON 2ms;TCON?;DIR RISE;DIR?", "0.002;RISE", {}},
        {"FUNC:AMFM:DEPT 30;DEPT?;TYPE FM;TYPE?;CARR 2kHz;CARR?", "30;FM;2000", {}},
        {"DISP:PER 150;PER?", "99", {-222}},
        {"FUNC NOIS;FUNC?;FUNC GNO;FUNC?", "NOIS;GNO", {}},
        {"OUTP OFF;OUTP?;OUTP:SING ON;SING?", "0;1", {}},
        {"TRIG:SOUR EXT;SOUR?;SLOP POS;SLOP?", "EXT;POS", {}},
        {"DIG:OUTP 5000;OUTP?;MODE PROG;MODE?", "904;PROG", {-222}},
        {"FREQ:STAR 5;STAR?;:SWE:STEP 0.5;STEP?;DWEL 10;DWEL?", "20;1;10", {-222, -222}},
        {"FUNC SQU;SWE ON;SWE?", "0", {-221}},
        {"SOUR2:FREQ 2500;:FREQ?;SOUR2:FREQ?", "1000;2500", {}},
        {"INST:CAT?", "\"Device 1\",\"Device 2\"", {}},
        {"INST 'device 2';INST:NSEL?;:FREQ 3e3;:SOUR1:FREQ?;:INST?", "2;1000;\"Device 2\"", {}},
        {"INST 2;:FREQ 4e3;:INST:NSEL 1;NSEL 3;:SOUR2:FREQ?;*IDN?",
         "4000;DDS-Tarn,DDS-Tarn USB,0,9.9",
         {-222}},
        {"SOUR3:FREQ 1;:INST 'Device 9'", "", {-114, -224}},
        {"DATA:ARB:DAC #14\x01\x01\x01\x10;:DATA:ARB:DAC #13abc", "", {-222, -224}},
        {"MMEM:STOR:DATA '/nonexistent/dir/a.csv'", "", {-200}},
    };
    for (const auto& [line, response, errors] : rows) {
        SCOPED_TRACE(line);
        m_controls[0].Reset();
        m_controls[1].Reset();
        const std::unique_ptr<CScpiSession> session = m_instrument.NewSession();
        EXPECT_EQ(Run(*session, line), response);
        EXPECT_EQ(Errors(*session), errors);
    }
}

TEST_F(Instrument, OperationCompleteWaitsForTheUnit) {
    const std::unique_ptr<CScpiSession> session = m_instrument.NewSession();
    const std::pair<const char*, double> rows[] = {{"FREQ 12345;*OPC?", 12345.0},
                                                   {"SOUR2:FREQ 777;*OPC?", 777.0}};
    for (int i = 0; i < 2; ++i) {
        m_workers[i].Stop();
        EXPECT_EQ(session->Feed(rows[i].first + std::string("\n")), "");
        EXPECT_TRUE(session->IsWaiting());
        m_workers[i].Start(&m_devices[i]);
        std::string answer;
        ASSERT_TRUE(WaitFor([&] { return !(answer = session->Poll()).empty(); }));
        // Checked at once: the answer may only come once the plan and its download are there.
        const SimUnitState unit = SimGetUnit(i);
        EXPECT_EQ(std::tuple(answer, unit.frequency, int(unit.buffer.size()),
                             int(m_devices[i].m_nPoints)),
                  std::tuple("1\n", rows[i].second, unit.points, unit.points));
    }
    // The simulated unit plays 7 periods in 2766 samples of 200 MHz / 41.
    EXPECT_EQ(Run(*session, "FREQ:ACT?"), "12345.0258363755,2.09286152289577");
    // The meter reads the unit's own output, and MEASure waits for a reading taken after the
    // change: the first point of a sweep is the new frequency, not the one before.
    for (const double hz : {12345.0, 500.0, 510.0, 70000.0}) {
        SCOPED_TRACE(hz);
        const std::string line = "FREQ " + std::to_string(hz) + ";MEAS:FREQ?;:FETC:FREQ?";
        const std::string answer = Run(*session, line);
        const double measured = std::stod(answer);
        EXPECT_NEAR(measured, hz, hz * 1e-4);
        EXPECT_EQ(answer.substr(answer.find(';') + 1), answer.substr(0, answer.find(';')));
    }
    // FETCh answers at once, without waiting for the unit.
    m_workers[0].Stop();
    EXPECT_EQ(session->Feed("FREQ 2000;:FETC:FREQ?\n").empty(), false);
    EXPECT_FALSE(session->IsWaiting());
    m_workers[0].Start(&m_devices[0]);
    // The counter query switches the mode as F/C does.
    Run(*session, "MEAS:COUN?");
    EXPECT_EQ(m_devices[0].m_nMeasureMode, 0);

    // *RST: a new window's state (2 V peak is 4 V peak-to-peak), at the unit too.
    EXPECT_EQ(Run(*session, "FUNC SQU;VOLT 1;*RST;*OPC?;FUNC?;VOLT?;FREQ?"), "1;SIN;4;1000");
    EXPECT_EQ(SimGetUnit(0).frequency, 1000.0);
}

TEST_F(Instrument, ArbPointsReachTheUnitAsACsvFileWould) {
    const std::unique_ptr<CScpiSession> session = m_instrument.NewSession();
    const float volts[] = {1.0f, -3.5f, 0.7f};
    std::set<unsigned short> codes;
    for (float v : volts)
        codes.insert(CWaveBatch::CodeOf(v / 3.5));
    std::string block = "#16";
    for (unsigned short code : codes)
        block += {char(code & 0xFF), char(code >> 8)};
    const std::string path = ::testing::TempDir() + "instrument_arb.csv";
    for (const std::string& line :
         {std::string("DATA:ARB 1,-3.5,0.7;*OPC?"), "DATA:ARB:DAC " + block + ";*OPC?",
          "DATA:ARB 1;:MMEM:LOAD:DATA '" + path + "';*OPC?"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Run(*session, line), "1");
        // The plan holds more samples a period than points: each point is held for its share.
        EXPECT_EQ(UnitCodes(0), codes);
        EXPECT_EQ(SimGetUnit(0).buffer.at(0), CWaveBatch::CodeOf(volts[0] / 3.5));
        EXPECT_EQ(Run(*session, "FUNC?;FREQ?"), "ARB;1000");
        EXPECT_EQ(Errors(*session), std::vector<int>{});
        Run(*session, "MMEM:STOR:DATA '" + path + "'");
    }
    std::remove(path.c_str());
    std::string text;
    EXPECT_EQ(Run(*session, "MMEM:LOAD:DATA '" + path + "'"), "");
    EXPECT_EQ(Errors(*session, &text), std::vector<int>{-200});
    EXPECT_NE(text.find(path), std::string::npos) << text;
}

TEST_F(Instrument, LogarithmicSweepStepsByARatioAndReturns) {
    const std::unique_ptr<CScpiSession> session = m_instrument.NewSession();
    Run(*session, "FREQ 500;FREQ:STAR 100;STOP 1000;:SWE:DWEL 1;SPAC LOG;POIN 2;STAT ON");
    ASSERT_TRUE(m_instrument.SweepRunning());
    std::vector<double> visited;
    for (auto until = std::chrono::steady_clock::now() + 3s;
         visited.size() < 5 && std::chrono::steady_clock::now() < until;) {
        m_instrument.Tick();
        if (visited.empty() || visited.back() != m_devices[0].m_dFrequency)
            visited.push_back(m_devices[0].m_dFrequency);
        std::this_thread::sleep_for(200us);
    }
    const double expected[] = {100, 316.22776601683796, 1000, 100, 316.22776601683796};
    ASSERT_EQ(visited.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_NEAR(visited[i], expected[i], 1e-9);
    EXPECT_EQ(Run(*session, "SWE OFF;SWE?;FREQ?;*OPC?"), "0;500;1");
    EXPECT_FALSE(m_instrument.SweepRunning());
    EXPECT_EQ(SimGetUnit(0).frequency, 500.0);

    // Linear: the Sweep dialog's step on its short buffer, until a reset ends it.
    Run(*session, "SWE:SPAC LIN;STAT ON");
    m_instrument.Tick();
    EXPECT_EQ(m_devices[0].m_dFrequency, 100 * 100 / 2048.0);
    EXPECT_EQ(m_devices[0].m_bSweepOn, 1);
    Run(*session, "*RST");
    EXPECT_FALSE(m_instrument.SweepRunning());
}

} // namespace
