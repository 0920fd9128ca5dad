#pragma once
#include <rpc/xdr.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// Reads XDR items from memory; every read fails, rather than reads past the end, on short or
/// oversized data.
class CXdrDecoder {
public:
    explicit CXdrDecoder(std::string_view bytes);
    ~CXdrDecoder();
    CXdrDecoder(const CXdrDecoder&) = delete;
    CXdrDecoder& operator=(const CXdrDecoder&) = delete;

    bool U32(std::uint32_t& value);
    bool I32(std::int32_t& value);
    bool Bool(bool& value);
    /// Variable-length opaque data or string of at most `limit` bytes.
    bool Opaque(std::string& value, std::size_t limit);
    /// Bytes not read yet.
    std::size_t Left() const;

private:
    mutable XDR m_xdr; ///< xdr_getpos takes no const stream
    std::size_t m_nSize;
};
