// Feeds arbitrary bytes to an SCPI session whose table has every parameter kind, once whole
// and once in pieces whose size the first byte picks: how TCP cuts the bytes must change
// neither the responses nor what the handlers were called with.
#include "scpi/ScpiSession.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
using P = CScpiParamDef;

CScpiCommandTable MakeTable(std::string& calls) {
    CScpiCommandTable table;
    const auto log = [&calls](CScpiContext& c) {
        calls += std::to_string(c.SuffixCount() ? c.Suffix() : 0);
        for (const CScpiParameter& p : c.Params())
            calls += std::to_string(p.m_dValue) + p.m_str + std::to_string(p.m_vList.size());
        calls += ';';
        if (!c.Params().empty() && c.Param(0).m_dValue > 1e6)
            c.Error(-222);
    };
    table.Add("[SOURce#:]FREQuency[:CW]", {P::Numeric("HZ")}, log);
    table.Add("[SOURce#:]FREQuency[:CW]?", {P::Numeric("HZ").Optional()},
              [](CScpiContext& c) { c.WriteNumber(c.Has(0) ? c.Param(0).m_dValue : 1e3); });
    table.Add("[SOURce#:]FUNCtion", {P::Choice({"SINusoid", "SQUare", "GNOise"})}, log);
    table.Add("OUTPut#[:STATe]", {P::Boolean()}, log);
    table.Add("DATA:ARBitrary", {P::NumericList("V")}, log);
    table.Add("DATA:ARBitrary:DAC", {P::Block()}, log);
    table.Add("DATA:ARBitrary:DAC?", {}, [](CScpiContext& c) { c.WriteBlock("a\nb"); });
    table.Add("MMEMory:LOAD:DATA", {P::String(), P::Numeric().Optional()}, log);
    table.Add("INSTrument:CATalog?", {}, [](CScpiContext& c) { c.WriteString("Demo \"1\""); });
    return table;
}

struct Run {
    std::string calls;
    std::string output;
};

Run Drive(std::string_view bytes, std::size_t piece) {
    Run run;
    const CScpiCommandTable table = MakeTable(run.calls);
    CScpiSession session(table);
    session.SetInputLimit(256);
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        run.output += session.Feed(bytes.substr(at, piece));
    // A block's declared length may swallow anything after it; a device clear ends that.
    session.Clear();
    run.output += session.Feed("SYST:ERR:COUN?;*ESR?;*STB?\n");
    if (session.ErrorQueue().Count() > CScpiErrorQueue::kCapacity || session.IsWaiting())
        std::abort();
    return run;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096)
        return 0;
    const std::size_t piece = 1 + data[0] % 16;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const Run whole = Drive(bytes, bytes.size() + 1);
    const Run pieces = Drive(bytes, piece);
    if (whole.calls != pieces.calls || whole.output != pieces.output)
        std::abort();
    if (whole.output.empty() || whole.output.back() != '\n')
        std::abort();
    return 0;
}
