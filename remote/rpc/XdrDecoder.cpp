#include "remote/rpc/XdrDecoder.h"

CXdrDecoder::CXdrDecoder(std::string_view bytes) : m_nSize(bytes.size()) {
    // XDR_DECODE only reads the buffer.
    xdrmem_create(&m_xdr, const_cast<char*>(bytes.data()), u_int(bytes.size()), XDR_DECODE);
}

CXdrDecoder::~CXdrDecoder() {
    xdr_destroy(&m_xdr);
}

bool CXdrDecoder::U32(std::uint32_t& value) {
    return xdr_u_int32_t(&m_xdr, &value);
}

bool CXdrDecoder::I32(std::int32_t& value) {
    return xdr_int32_t(&m_xdr, &value);
}

bool CXdrDecoder::Bool(bool& value) {
    bool_t raw = 0;
    if (!xdr_bool(&m_xdr, &raw))
        return false;
    value = raw != 0;
    return true;
}

bool CXdrDecoder::Opaque(std::string& value, std::size_t limit) {
    std::uint32_t length = 0;
    if (!U32(length) || length > limit || length > Left())
        return false;
    value.resize(length);
    return length == 0 || xdr_opaque(&m_xdr, value.data(), length);
}

std::size_t CXdrDecoder::Left() const {
    const std::size_t used = xdr_getpos(&m_xdr);
    return used < m_nSize ? m_nSize - used : 0;
}
