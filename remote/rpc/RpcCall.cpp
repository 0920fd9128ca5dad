#include "remote/rpc/RpcCall.h"

#include "remote/rpc/XdrDecoder.h"
#include "remote/rpc/XdrEncoder.h"

namespace {

constexpr std::uint32_t kCall = 0;
constexpr std::uint32_t kReply = 1;
constexpr std::uint32_t kAccepted = 0;
constexpr std::uint32_t kDenied = 1;
constexpr std::uint32_t kRpcMismatch = 0;
constexpr std::uint32_t kAuthNone = 0;

/// One fragment, the last, holding the whole message.
std::string RecordMarked(std::string body) {
    const std::uint32_t mark = 0x80000000u | std::uint32_t(body.size());
    std::string record(4, '\0');
    for (int i = 0; i < 4; ++i)
        record[std::size_t(i)] = char(mark >> (24 - 8 * i));
    return record + body;
}

} // namespace

bool CRpcCall::Parse(std::string_view record, CRpcCall& call) {
    CXdrDecoder xdr(record);
    std::uint32_t type = 0;
    if (!xdr.U32(call.m_nXid) || !xdr.U32(type) || type != kCall || !xdr.U32(call.m_nRpcVersion))
        return false;
    if (call.m_nRpcVersion != 2)
        return true;
    std::uint32_t flavor = 0;
    std::string auth;
    if (!xdr.U32(call.m_nProgram) || !xdr.U32(call.m_nVersion) || !xdr.U32(call.m_nProcedure) ||
        !xdr.U32(flavor) || !xdr.Opaque(auth, kMaxAuthBytes) || !xdr.U32(flavor) ||
        !xdr.Opaque(auth, kMaxAuthBytes))
        return false;
    call.m_strArgs = std::string(record.substr(record.size() - xdr.Left()));
    return true;
}

std::string CRpcCall::Reply(EAcceptStat status, std::string_view results) const {
    CXdrEncoder xdr(24 + results.size());
    xdr.U32(m_nXid).U32(kReply).U32(kAccepted).U32(kAuthNone).U32(0).U32(status);
    std::string body = xdr.Take();
    if (status == SUCCESS)
        body.append(results);
    return RecordMarked(std::move(body));
}

std::string CRpcCall::ProgramMismatchReply(std::uint32_t version) const {
    CXdrEncoder xdr(32);
    xdr.U32(m_nXid).U32(kReply).U32(kAccepted).U32(kAuthNone).U32(0).U32(PROG_MISMATCH);
    xdr.U32(version).U32(version);
    return RecordMarked(xdr.Take());
}

std::string CRpcCall::RpcMismatchReply() const {
    CXdrEncoder xdr(24);
    xdr.U32(m_nXid).U32(kReply).U32(kDenied).U32(kRpcMismatch).U32(2).U32(2);
    return RecordMarked(xdr.Take());
}
