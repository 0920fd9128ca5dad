// The VXI-11 side of remote control below the sockets: record marking as a TCP stream brings
// it (bounded before the bytes come) and a link's messages, reads and status byte.
#include "remote/Vxi11Link.h"
#include "remote/rpc/RpcRecordReader.h"
#include "remote/rpc/Vxi11Request.h"
#include "scpi/ScpiSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Mark(std::uint32_t length, bool last) {
    const std::uint32_t word = length | (last ? 0x80000000u : 0);
    return {char(word >> 24), char(word >> 16), char(word >> 8), char(word)};
}

struct CRecordCase {
    const char* name;
    std::vector<std::string> pieces;
    std::vector<std::string> records;
    bool refused;
};

TEST(RemoteVxi11, RecordMarkingJoinsFragmentsAndRefusesOversizedOnesUpFront) {
    const std::vector<CRecordCase> cases = {
        {"one fragment", {Mark(3, true) + "abc"}, {"abc"}, false},
        {"two fragments, cut inside the header",
         {Mark(2, false) + "ab" + Mark(1, true).substr(0, 2), Mark(1, true).substr(2) + "c"},
         {"abc"},
         false},
        {"two records in one piece", {Mark(1, true) + "a" + Mark(0, true)}, {"a", ""}, false},
        {"exactly the limit", {Mark(8, false) + "12345678", Mark(0, true)}, {"12345678"}, false},
        {"one past the limit over two fragments",
         {Mark(5, false) + "12345" + Mark(4, true)},
         {},
         true},
        {"2 GiB announced", {Mark(0x7FFFFFFF, true)}, {}, true},
        {"record still open", {Mark(4, true) + "ab"}, {}, false},
    };
    for (const CRecordCase& c : cases) {
        CRpcRecordReader reader(8);
        std::vector<std::string> records;
        bool ok = true;
        for (const std::string& piece : c.pieces)
            ok = reader.Feed(piece, records) && ok;
        EXPECT_EQ(records, c.records) << c.name;
        EXPECT_EQ(!ok, c.refused) << c.name;
        EXPECT_EQ(reader.Refused(), c.refused) << c.name;
    }
}

class RemoteVxi11Link : public ::testing::Test {
protected:
    CVxi11Link MakeLink(std::size_t limit) {
        CScpiInstrumentHooks hooks;
        hooks.m_identify = [] { return std::string("Maker,Model,7,1.0"); };
        return CVxi11Link(std::make_unique<CScpiSession>(m_table, hooks), limit);
    }
    std::string Errors(CVxi11Link& link) {
        link.Write("SYST:ERR?", true);
        return link.Read(100, -1).m_strData;
    }
    CScpiCommandTable m_table;
};

TEST_F(RemoteVxi11Link, MessagesEndWithNewlineOrEnd) {
    CVxi11Link link = MakeLink(1 << 16);
    link.Write("*ID", false);
    link.Write("N?", false);
    EXPECT_FALSE(link.HasOutput());
    link.Write("", true);
    EXPECT_EQ(link.Read(100, -1).m_strData, "Maker,Model,7,1.0\n");
    link.Write("*IDN?\n", false); // a newline ends it without END
    EXPECT_TRUE(link.HasOutput());
}

TEST_F(RemoteVxi11Link, ReadStopsAtCountTermCharOrEndWithItsReason) {
    using R = CVxi11Request;
    struct CCase {
        std::uint32_t size;
        int termChar;
        std::string data;
        std::uint32_t reason;
    };
    const std::vector<CCase> cases = {
        {5, -1, "Maker", R::REASON_REQCNT},  {100, ',', ",", R::REASON_CHR},
        {100, ',', "Model,", R::REASON_CHR}, {1, ',', "7", R::REASON_REQCNT},
        {100, -1, ",1.0\n", R::REASON_END},
    };
    CVxi11Link link = MakeLink(1 << 16);
    link.Write("*IDN?", true);
    for (const CCase& c : cases) {
        const CVxi11Link::CReadResult read = link.Read(c.size, c.termChar);
        EXPECT_EQ(read.m_strData, c.data);
        EXPECT_EQ(read.m_nReason, c.reason) << c.data;
    }
    EXPECT_FALSE(link.HasOutput());
}

TEST_F(RemoteVxi11Link, StatusByteClearAndBounds) {
    CVxi11Link link = MakeLink(30);
    link.Write("*IDN?", true);
    EXPECT_EQ(link.StatusByte() & CScpiSession::STB_MAV, CScpiSession::STB_MAV);
    link.Clear();
    EXPECT_EQ(link.StatusByte(), 0);
    EXPECT_FALSE(link.HasOutput());
    // Answers nobody reads fill the bound: the next query's answer is dropped with -430.
    link.Write("*IDN?", true);
    link.Write("*IDN?", true);
    EXPECT_EQ(link.StatusByte() & CScpiSession::STB_EAV, CScpiSession::STB_EAV);
    link.Read(100, -1);
    EXPECT_EQ(Errors(link).substr(0, 5), "-430,");
    // A read with nothing asked: -420.
    link.ReadWithoutQuery();
    EXPECT_EQ(Errors(link).substr(0, 5), "-420,");
}

} // namespace
