#include "scpi/ScpiSession.h"
#include "scpi/ScpiText.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
using P = CScpiParamDef;

// A small instrument whose handlers write down what they were called with.
struct Instrument {
    CScpiCommandTable table;
    std::string calls;
    bool busy = false;
    bool measured = false;

    CScpiCommandTable::Handler Log(const char* name) {
        return [this, name](CScpiContext& c) {
            calls += (calls.empty() ? "" : " ") + std::string(name) +
                     (c.SuffixCount() ? std::to_string(c.Suffix()) : "");
            for (const CScpiParameter& p : c.Params()) {
                calls += ' ';
                if (!p.m_bGiven)
                    calls += '-';
                else if (p.m_eSpecial != CScpiParameter::VALUE)
                    calls += std::string("MINMAXDEF").substr(3 * p.m_eSpecial - 3, 3);
                else if (p.m_eKind == EScpiKind::Numeric)
                    calls += ScpiFormatNumber(p.m_dValue);
                else if (p.m_eKind == EScpiKind::Boolean)
                    calls += p.m_bValue ? "ON" : "OFF";
                else if (p.m_eKind == EScpiKind::Choice)
                    calls += std::to_string(p.m_nChoice);
                else if (p.m_eKind == EScpiKind::NumericList)
                    for (double v : p.m_vList)
                        calls += ScpiFormatNumber(v) + ",";
                else
                    calls += "<" + p.m_str + ">";
            }
        };
    }
    Instrument() {
        table.Add("[SOURce#:]FREQuency[:CW]", {P::Numeric("HZ")}, Log("freq"));
        table.Add("[SOURce#:]FREQuency[:CW]?", {P::Numeric("HZ").Optional()}, Log("freq?"));
        table.Add("[SOURce#:]FREQuency:ACTual?", {}, [](CScpiContext& c) {
            c.WriteNumber(1000.5);
            c.WriteNumber(-2.5e-7);
        });
        table.Add("[SOURce#:]FUNCtion", {P::Choice({"SINusoid", "SQUare", "RAMP"})}, Log("func"));
        table.Add("[SOURce#:]VOLTage", {P::Numeric("V")}, [this](CScpiContext& c) {
            if (c.Param(0).m_dValue > 10)
                c.Error(-222, "10 V stored");
            Log("volt")(c);
        });
        table.Add("OUTPut#[:STATe]", {P::Boolean()}, Log("outp"));
        table.Add("DATA:ARBitrary", {P::NumericList("V")}, Log("arb"));
        table.Add("DATA:ARBitrary:DAC", {P::Block()}, Log("dac"));
        table.Add("MMEMory:LOAD:DATA", {P::String()}, Log("load"));
        table.Add("[SOURce#:]PHASe", {P::Numeric("DEG")}, Log("phas"), 0);
        table.Add("DATA:NAMed", {P::Word().Leading(), P::NumericListOrBlock()}, Log("named"));
        // Answers once the instrument has its reading.
        table.Add("MEASure?", {}, [this](CScpiContext& c) {
            c.Error(-222, "before");
            c.Defer([this](CScpiContext& context) {
                if (measured)
                    context.WriteInt(7);
                return measured;
            });
        });
    }
    CScpiInstrumentHooks Hooks() {
        return {[] { return std::string("DDS-Tarn,USB,0,3.2"); }, [this] { calls += "reset"; },
                [] { return 1; }, [this] { return !busy; }};
    }
};

// Codes left in the queue, oldest first, read through the error query itself.
std::vector<int> DrainErrors(CScpiSession& session) {
    std::vector<int> codes;
    for (int i = 0; i < 20; ++i) {
        const std::string entry = session.Feed("SYST:ERR?\n");
        if (std::stoi(entry) == 0)
            break;
        codes.push_back(std::stoi(entry));
    }
    return codes;
}

/// Input line, response, error codes queued, the handler calls.
using Row = std::tuple<const char*, const char*, std::vector<int>, const char*>;

void RunRows(const std::vector<Row>& rows) {
    for (const auto& [input, response, errors, calls] : rows) {
        Instrument instrument;
        CScpiSession session(instrument.table, instrument.Hooks());
        EXPECT_EQ(session.Feed(std::string(input) + "\n"), response) << input;
        EXPECT_EQ(instrument.calls, calls) << input;
        EXPECT_EQ(DrainErrors(session), errors) << input;
    }
}
} // namespace

TEST(ScpiParser, HeadersFormsSuffixesAndPaths) {
    RunRows({
        {"FREQ 1000", "", {}, "freq1 1000"},
        {"sour2:frequency:cw 2.5kHz", "", {}, "freq2 2500"},
        {"  :Source12:Freq:CW\t1e3 Hz ", "", {}, "freq12 1000"},
        {"FREQU 1", "", {-113}, ""},
        {"SOUR0:FREQ 1", "", {-114}, ""},
        {"FREQ2 1", "", {-113}, ""},
        {"OUTP:STAT ON;STAT OFF;:OUTP3 OFF;STAT ON", "", {-113}, "outp1 ON outp1 OFF outp3 OFF"},
        {"SOUR2:FREQ 5;VOLT 1;FUNC RAMP", "", {}, "freq2 5 volt2 1 func2 2"},
        {"SOUR2:FREQ 5;OUTP ON", "", {-113}, "freq2 5"},
        {"SOUR2:FREQ 5;:OUTP ON", "", {}, "freq2 5 outp1 ON"},
        {"SOUR2:FREQ 5;*IDN?;VOLT 1", "DDS-Tarn,USB,0,3.2\n", {}, "freq2 5 volt2 1"},
        {"FREQ 1;;FREQ 2;", "", {}, "freq1 1 freq1 2"},
        {"FOO;FREQ 1", "", {-113}, ""},
        {"FREQ,1", "", {-102}, ""},
        {"FREQ 1,", "", {-102}, ""},
        {"*IDN?;SYST:VERS?;:FREQ?;*TST?", "DDS-Tarn,USB,0,3.2;1999.0;1\n", {}, "freq?1"},
        {"SYST:VERS?;FREQ?", "1999.0\n", {-113}, ""},
        {"FREQ:ACT?;actual?", "1000.5,-2.5e-07;1000.5,-2.5e-07\n", {}, ""},
        {"FREQ:ACT", "", {-113}, ""},
        {"PHAS 90;SOUR2:PHAS 1", "", {}, "phas0 90 phas2 1"},
    });
}

TEST(ScpiParser, ParameterKindsUnitsAndErrors) {
    RunRows({
        {"VOLT 100mV", "", {}, "volt1 0.1"},
        {"VOLT 2 MAV;VOLT 3", "", {-222}, "volt1 2000000 volt1 3"},
        {"FREQ 1MHZ;FREQ 3mhz;FREQ 2M", "", {}, "freq1 1000000 freq1 3000000 freq1 0.002"},
        {"FREQ -.5E+2;FREQ #HfF;FREQ #b101", "", {}, "freq1 -50 freq1 255 freq1 5"},
        {"FREQ 1KV", "", {-131}, ""},
        {"OUTP 1HZ", "", {-138}, ""},
        {"FREQ 1e999", "", {-123}, ""},
        {"FREQ 1.2.3", "", {-121}, ""},
        {"FREQ MIN;FREQ maximum;FREQ? DEF", "", {}, "freq1 MIN freq1 MAX freq?1 DEF"},
        {"FREQ MINI", "", {-141}, ""},
        {"FREQ", "", {-109}, ""},
        {"FREQ 1,2", "", {-108}, ""},
        {"FREQ 'x'", "", {-104}, ""},
        {"FUNC squ;FUNC SQUARE;FUNC sin", "", {}, "func1 1 func1 1 func1 0"},
        {"FUNC SQUAR", "", {-141}, ""},
        {"FUNC 1", "", {-104}, ""},
        {"OUTP 0.6;OUTP 0;OUTP off", "", {}, "outp1 ON outp1 OFF outp1 OFF"},
        {"OUTP MAYBE", "", {-141}, ""},
        {"DATA:ARB 1, -0.5 ,2mV", "", {}, "arb 1,-0.5,0.002,"},
        {"DATA:ARB", "", {-109}, ""},
        {"DATA:ARB 1,MAX", "", {-141}, ""},
        {"MMEM:LOAD:DATA 'a''b\"c';DATA \"\"\"\"", "", {}, "load <a'b\"c> load <\">"},
        {"MMEM:LOAD:DATA \"abc", "", {-150}, ""},
        {"MMEM:LOAD:DATA 5", "", {-104}, ""},
        {"MMEM:LOAD:DATA 'a' 'b'", "", {-103}, ""},
        {"DATA:ARB:DAC #15ab;c\n;DAC #0xy;z", "", {}, "dac <ab;c\n> dac <xy;z>"},
        {"DATA:ARB:DAC #2x5", "", {-160}, ""},
        {"DATA:NAM wave_1,1,2;NAM 'low',#12ab", "", {}, "named <WAVE_1> 1,2, named <LOW> <ab>"},
        {"DATA:NAM 1,2;NAM #12ab", "", {}, "named - 1,2, named - <ab>"},
        {"DATA:NAM #12ab,1", "", {-108}, ""},
        {"FREQ INF;FREQ ninf", "", {}, "freq1 9.9e+37 freq1 -9.9e+37"},
        {"DATA:ARB 1,INF", "", {-141}, ""},
        {"DATA:ARB:DAC #A", "", {-160}, ""},
    });
}

TEST(ScpiParser, StatusRegistersAndCommonCommands) {
    RunRows({
        {"FOO\n*ESR?;*ESR?", "32;0\n", {-113}, ""},
        {"VOLT 20\n*ESE 16;*ESE?;*STB?", "16;52\n", {-222}, "volt1 20"},
        {"FOO\n*SRE 4;*SRE?;*STB?", "4;84\n", {-113}, ""},
        {"*ESE 256", "", {-222}, ""},
        {"*ESE MAX;*ESE?;*SRE 255;*SRE?", "255;191\n", {}, ""},
        {"FOO\n*CLS;*ESR?;SYST:ERR:COUN?", "0;0\n", {}, ""},
        {"*OPC;*ESR?;*OPC?;*TST?", "1;1;1\n", {}, ""},
        {"*RST;*WAI", "", {}, "reset"},
        {"*ESE?;*ESE? 1", "0\n", {-108}, ""},
    });
}

TEST(ScpiParser, ErrorQueueMarksOverflowAndInputInPiecesOrOverrunsResynchronises) {
    Instrument instrument;
    CScpiSession session(instrument.table);
    EXPECT_EQ(session.Feed("SYST:ERR?\n"), "0,\"No error\"\n");
    session.Feed("FOO\nFREQ\n");
    EXPECT_EQ(session.Feed("SYST:ERR?;ERR:NEXT?;:SYSTEM:ERROR?\n"),
              "-113,\"Undefined header;FOO\";-109,\"Missing parameter\";0,\"No error\"\n");
    for (int i = 0; i < 20; ++i)
        session.Feed("FREQ " + std::to_string(i) + "kv\n");
    std::vector<int> expected(15, -131);
    expected.push_back(-350);
    EXPECT_EQ(DrainErrors(session), expected);
    EXPECT_EQ(session.EventStatus(), CScpiSession::ESR_CME);

    // TCP delivers bytes in any pieces; a block's bytes may hold newlines.
    const std::string input = "FREQ 1;DATA:ARB:DAC #212\nline\r\n two\n;:FREQ:ACT?\r\nOUTP ON\n";
    std::string output;
    for (char c : input)
        output += session.Feed(std::string(1, c));
    EXPECT_EQ(output, "1000.5,-2.5e-07\n");
    EXPECT_EQ(instrument.calls, "freq1 1 dac <\nline\r\n two\n> outp1 ON");

    instrument.calls.clear();
    session.SetInputLimit(64);
    session.Feed("FREQ 1" + std::string(100, ' ') + "2;FREQ 3");
    session.Feed("\nFREQ 4\nDATA:ARB:DAC #3100" + std::string(50, '\n'));
    session.Feed(std::string(50, 'x') + "OUTP ON\nFREQ 5\n");
    EXPECT_EQ(instrument.calls, "freq1 4 freq1 5");
    EXPECT_EQ(DrainErrors(session), (std::vector<int>{-363, -363}));
}

// *OPC? and *WAI hold the rest of the input until the instrument reports completion.
TEST(ScpiParser, OperationCompleteWaitsForTheInstrument) {
    Instrument instrument;
    CScpiSession session(instrument.table, instrument.Hooks());
    instrument.busy = true;
    EXPECT_EQ(session.Feed("FREQ 1;*IDN?;*OPC?;FREQ 2\nFREQ 3\n*WAI;FREQ 4\n"), "");
    EXPECT_TRUE(session.IsWaiting());
    EXPECT_EQ(session.Poll(), "");
    EXPECT_EQ(instrument.calls, "freq1 1");
    instrument.busy = false;
    EXPECT_EQ(session.Poll(), "DDS-Tarn,USB,0,3.2;1\n");
    EXPECT_EQ(instrument.calls, "freq1 1 freq1 2 freq1 3 freq1 4");

    instrument.busy = true;
    EXPECT_EQ(session.Feed("*OPC;*ESR?\n*OPC?\n"), "0\n");
    session.Clear();
    instrument.busy = false;
    EXPECT_EQ(session.Feed("*ESR?\n"), "5\n");
    EXPECT_EQ(DrainErrors(session), (std::vector<int>{-410}));
}

// A query that defers its answer holds the session as *OPC? does, and is dropped by a clear.
TEST(ScpiParser, DeferredQueryHoldsTheSessionUntilItAnswers) {
    Instrument instrument;
    CScpiSession session(instrument.table, instrument.Hooks());
    EXPECT_EQ(session.Feed("FREQ 1;MEAS?;FREQ 2\nFREQ 3\n"), "");
    EXPECT_TRUE(session.IsWaiting());
    EXPECT_EQ(session.Poll(), "");
    EXPECT_EQ(instrument.calls, "freq1 1");
    instrument.measured = true;
    EXPECT_EQ(session.Poll(), "7\n");
    EXPECT_EQ(instrument.calls, "freq1 1 freq1 2 freq1 3");
    EXPECT_EQ(DrainErrors(session), (std::vector<int>{-222}));

    instrument.measured = false;
    EXPECT_EQ(session.Feed("MEAS?\n"), "");
    session.Clear();
    EXPECT_FALSE(session.IsWaiting());
    instrument.measured = true;
    EXPECT_EQ(session.Poll(), "");
    EXPECT_EQ(DrainErrors(session), (std::vector<int>{-222, -410}));
}
