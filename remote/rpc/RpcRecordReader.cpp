#include "remote/rpc/RpcRecordReader.h"

#include <algorithm>

bool CRpcRecordReader::Feed(std::string_view bytes, std::vector<std::string>& records) {
    while (!m_bRefused && !bytes.empty()) {
        if (!m_bInFragment) {
            while (m_nHeaderBytes < 4 && !bytes.empty()) {
                m_header[m_nHeaderBytes++] = static_cast<unsigned char>(bytes.front());
                bytes.remove_prefix(1);
            }
            if (m_nHeaderBytes < 4)
                break;
            m_nHeaderBytes = 0;
            const std::uint32_t mark = std::uint32_t(m_header[0]) << 24 |
                                       std::uint32_t(m_header[1]) << 16 |
                                       std::uint32_t(m_header[2]) << 8 | m_header[3];
            m_bLast = (mark & 0x80000000u) != 0;
            m_nLeft = mark & 0x7FFFFFFFu;
            if (m_nLeft > m_nLimit - std::min(m_nLimit, m_strRecord.size())) {
                m_bRefused = true;
                m_strRecord.clear();
                m_strRecord.shrink_to_fit();
                return false;
            }
            m_bInFragment = true;
        }
        const std::size_t take = std::min<std::size_t>(m_nLeft, bytes.size());
        m_strRecord.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        m_nLeft -= std::uint32_t(take);
        if (m_nLeft > 0)
            break;
        m_bInFragment = false;
        if (m_bLast) {
            records.push_back(std::move(m_strRecord));
            m_strRecord.clear();
        }
    }
    return !m_bRefused;
}
