// Feeds arbitrary bytes to the VXI-11 message reader as a TCP stream, once whole and once in
// pieces whose size the first byte picks: the records, and whether the stream was refused,
// must not depend on the cut; no record passes the limit; every record is taken apart as an
// RPC call and VXI-11 arguments, bounded, and answered.
#include "remote/rpc/RpcCall.h"
#include "remote/rpc/RpcRecordReader.h"
#include "remote/rpc/Vxi11Request.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

/// Small, so that the fuzzer reaches the limit with short inputs.
constexpr std::size_t kLimit = 4096;
constexpr std::size_t kDataLimit = 1024;

struct CRun {
    std::vector<std::string> records;
    bool ok = true;
};

CRun Read(std::string_view bytes, std::size_t piece) {
    CRun run;
    CRpcRecordReader reader(kLimit);
    while (!bytes.empty() && run.ok) {
        const std::size_t take = std::min(piece, bytes.size());
        run.ok = reader.Feed(bytes.substr(0, take), run.records);
        bytes.remove_prefix(take);
    }
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t piece = 1 + data[0] % 16;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const CRun whole = Read(bytes, bytes.size() + 1);
    const CRun pieces = Read(bytes, piece);
    if (whole.ok != pieces.ok || whole.records != pieces.records)
        std::abort();
    for (const std::string& record : whole.records) {
        if (record.size() > kLimit)
            std::abort();
        CRpcCall call;
        if (!CRpcCall::Parse(record, call))
            continue;
        if (call.m_strArgs.size() > record.size())
            std::abort();
        for (const std::uint32_t program :
             {CVxi11Request::kCoreProgram, CVxi11Request::kAbortProgram}) {
            CVxi11Request request;
            if (CVxi11Request::Decode(program, call.m_nProcedure, call.m_strArgs, kDataLimit,
                                      request) &&
                (request.m_strData.size() > kDataLimit ||
                 request.m_strDevice.size() > CVxi11Request::kMaxDeviceName ||
                 !CVxi11Request::IsProcedure(program, call.m_nProcedure)))
                std::abort();
        }
        const std::string reply = call.Reply(CRpcCall::SUCCESS, call.m_strArgs);
        if (reply.size() != 4 + 24 + call.m_strArgs.size())
            std::abort();
    }
    return 0;
}
