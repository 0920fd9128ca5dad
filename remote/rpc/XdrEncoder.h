#pragma once
#include <rpc/xdr.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// Writes XDR items into a buffer of a capacity given up front (a reply's size is known before
/// it is written); a write that does not fit makes Ok() false.
class CXdrEncoder {
public:
    explicit CXdrEncoder(std::size_t capacity);
    ~CXdrEncoder();
    CXdrEncoder(const CXdrEncoder&) = delete;
    CXdrEncoder& operator=(const CXdrEncoder&) = delete;

    CXdrEncoder& U32(std::uint32_t value);
    CXdrEncoder& I32(std::int32_t value);
    CXdrEncoder& Opaque(std::string_view bytes);
    bool Ok() const { return m_bOk; }
    /// The bytes written so far; the encoder is then empty.
    std::string Take();

private:
    std::string m_buffer;
    XDR m_xdr;
    bool m_bOk = true;
};
