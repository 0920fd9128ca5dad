#pragma once
#include <cstdint>
#include <string>
#include <string_view>

/// One ONC RPC call (version 2): its header and the bytes of its arguments, and the replies a
/// server sends to it, record-marked as one fragment.
class CRpcCall {
public:
    /// How an accepted call ended.
    enum EAcceptStat : std::uint32_t {
        SUCCESS = 0,
        PROG_UNAVAIL = 1,
        PROG_MISMATCH = 2,
        PROC_UNAVAIL = 3,
        GARBAGE_ARGS = 4,
    };
    /// Credentials and verifiers are at most this long.
    static constexpr std::size_t kMaxAuthBytes = 400;

    /// The call in a record; false for anything that is not a well-formed version-2 call (a
    /// call of another RPC version parses, and gets RpcMismatchReply()).
    static bool Parse(std::string_view record, CRpcCall& call);

    /// SUCCESS with the XDR bytes of the results, or another status with none.
    std::string Reply(EAcceptStat status, std::string_view results = {}) const;
    /// PROG_MISMATCH naming the one version served.
    std::string ProgramMismatchReply(std::uint32_t version) const;
    /// The call spoke another RPC version than 2: refused.
    std::string RpcMismatchReply() const;

    std::uint32_t m_nXid = 0;
    std::uint32_t m_nRpcVersion = 0;
    std::uint32_t m_nProgram = 0;
    std::uint32_t m_nVersion = 0;
    std::uint32_t m_nProcedure = 0;
    std::string m_strArgs;
};
