#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Joins the fragments of ONC RPC record marking into records. A record may not grow past the
/// limit: a fragment header that announces more is refused before any of its bytes are kept,
/// and the stream is then of no further use (the connection should be closed).
class CRpcRecordReader {
public:
    explicit CRpcRecordReader(std::size_t limit) : m_nLimit(limit) {}

    /// Takes bytes as they arrive; complete records are appended to `records`. False once the
    /// stream was refused.
    bool Feed(std::string_view bytes, std::vector<std::string>& records);
    bool Refused() const { return m_bRefused; }
    /// Bytes of a record begun but not complete (a header counts).
    bool InRecord() const { return m_nHeaderBytes > 0 || !m_strRecord.empty() || m_nLeft > 0; }

private:
    std::size_t m_nLimit;
    std::string m_strRecord;
    unsigned char m_header[4] = {};
    int m_nHeaderBytes = 0;
    std::uint32_t m_nLeft = 0; ///< Bytes of the current fragment still to come.
    bool m_bInFragment = false;
    bool m_bLast = false;
    bool m_bRefused = false;
};
