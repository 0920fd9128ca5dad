#include "remote/rpc/XdrEncoder.h"

CXdrEncoder::CXdrEncoder(std::size_t capacity) : m_buffer(capacity, '\0') {
    xdrmem_create(&m_xdr, m_buffer.data(), u_int(m_buffer.size()), XDR_ENCODE);
}

CXdrEncoder::~CXdrEncoder() {
    xdr_destroy(&m_xdr);
}

CXdrEncoder& CXdrEncoder::U32(std::uint32_t value) {
    m_bOk = m_bOk && xdr_u_int32_t(&m_xdr, &value);
    return *this;
}

CXdrEncoder& CXdrEncoder::I32(std::int32_t value) {
    m_bOk = m_bOk && xdr_int32_t(&m_xdr, &value);
    return *this;
}

CXdrEncoder& CXdrEncoder::Opaque(std::string_view bytes) {
    std::uint32_t length = std::uint32_t(bytes.size());
    m_bOk = m_bOk && xdr_u_int32_t(&m_xdr, &length) &&
            (length == 0 || xdr_opaque(&m_xdr, const_cast<char*>(bytes.data()), length));
    return *this;
}

std::string CXdrEncoder::Take() {
    std::string bytes = m_buffer.substr(0, xdr_getpos(&m_xdr));
    xdr_setpos(&m_xdr, 0);
    return bytes;
}
