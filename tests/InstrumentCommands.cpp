// The SCPI instrument over two records bound to the simulated bank, with their workers.
#include "InstrumentTestSupport.h"
#include "engine/WaveBatch.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include <unistd.h>

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
        {"MMEM:STOR:DATA 'no/such/dir/a.csv';:MMEM:LOAD:DATA 'none.csv'", "", {-256, -256}},
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
    const std::string name = "instrument_arb.csv";
    for (const std::string& line :
         {std::string("DATA:ARB 1,-3.5,0.7;*OPC?"), "DATA:ARB:DAC " + block + ";*OPC?",
          "DATA:ARB 1;:MMEM:LOAD:DATA '" + name + "';*OPC?"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Run(*session, line), "1");
        // The points lead the table, which plays as a file's table does.
        EXPECT_TRUE(PlaysTheTable(0));
        std::set<unsigned short> first;
        for (int i = 0; i < 3; ++i)
            first.insert(CWaveBatch::CodeOf(m_devices[0].m_fArb[i] / 3.5));
        EXPECT_EQ(first, codes);
        EXPECT_EQ(SimGetUnit(0).buffer.at(0), CWaveBatch::CodeOf(volts[0] / 3.5));
        EXPECT_EQ(Run(*session, "FUNC?;FREQ?"), "ARB;1000");
        EXPECT_EQ(Errors(*session), std::vector<int>{});
        Run(*session, "MMEM:STOR:DATA '" + name + "'");
    }
    EXPECT_EQ(m_strApplied, m_strFolder + "/" + name);
    std::remove((m_strFolder + "/" + name).c_str());
    std::string text;
    EXPECT_EQ(Run(*session, "MMEM:LOAD:DATA '" + name + "'"), "");
    EXPECT_EQ(Errors(*session, &text), std::vector<int>{-256});
    EXPECT_NE(text.find(name), std::string::npos) << text;
}

TEST_F(Instrument, CatalogListsAndDeleteRemovesOnlyInsideTheWaveFolder) {
    namespace fs = std::filesystem;
    const fs::path folder = m_strFolder, outside = m_strFolder + "_outside.csv";
    fs::create_directories(folder / "sub");
    std::ofstream(outside) << "keep";
    std::ofstream(folder / "b.csv") << "bb";
    std::ofstream(folder / "data.bin") << "ddd";
    std::ofstream(folder / "sub" / "a.CSV") << "a";
    fs::create_symlink(outside, folder / "out");
    fs::create_symlink("b.csv", folder / "in");
    const std::unique_ptr<CScpiSession> session = m_instrument.NewSession();
    // Line, response with the free bytes left out, error codes queued.
    const std::string up = "'../" + outside.filename().string() + "'";
    const std::tuple<std::string, const char*, std::vector<int>> rows[] = {
        {"MMEM:CAT?", "7,\"b.csv,ASC,2\",\"data.bin,BIN,3\",\"in,ASC,2\",\"sub,FOLD,0\"", {}},
        {"MMEM:CAT? 'sub'", "1,\"a.CSV,ASC,1\"", {}},
        {"MMEM:CAT? '..';CAT? 'none'", "", {-257, -256}},
        {"MMEM:STOR:DATA 'out';:MMEM:LOAD:DATA 'out'", "", {-257, -257}},
        {"MMEM:DEL 'out';DEL 'in';DEL 'data.bin'", "", {}},
        {"MMEM:CAT?", "2,\"b.csv,ASC,2\",\"sub,FOLD,0\"", {}},
        {"MMEM:DEL 'sub';DEL 'none.csv';DEL " + up, "", {-257, -256, -257}},
        {"MMEM:STOR:DATA " + up + ";:MMEM:LOAD:DATA '/etc/passwd'", "", {-257, -257}},
    };
    for (const auto& [line, response, errors] : rows) {
        SCOPED_TRACE(line);
        std::string answer = Run(*session, line);
        if (const std::size_t used = answer.find(','); used != std::string::npos)
            answer.erase(used, answer.find(',', used + 1) - used); // the free bytes
        EXPECT_EQ(answer, response);
        EXPECT_EQ(Errors(*session), errors);
    }
    std::ifstream kept(outside);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
    EXPECT_TRUE(fs::exists(folder / "b.csv"));
    fs::remove(outside);
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
