#include "hwsim/CallLog.h"

#include <cstdio>

void CCallLog::Add(const Entry& entry) {
    if (m_nSize == kCapacity) {
        m_entries[m_nFirst] = entry;
        m_nFirst = (m_nFirst + 1) % kCapacity;
        return;
    }
    m_entries[(m_nFirst + m_nSize) % kCapacity] = entry;
    ++m_nSize;
}

std::vector<std::string> CCallLog::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(m_nSize);
    for (std::size_t i = 0; i < m_nSize; ++i) {
        const Entry& e = m_entries[(m_nFirst + i) % kCapacity];
        std::string line = e.name;
        line += '(';
        char buffer[64];
        for (int k = 0; k < e.intCount; ++k) {
            if (k > 0)
                line += ',';
            std::snprintf(buffer, sizeof buffer, "%d", e.ints[k]);
            line += buffer;
            if (k == 0 && e.hasReal) {
                std::snprintf(buffer, sizeof buffer, ",%f", e.real);
                line += buffer;
            }
        }
        line += ')';
        lines.push_back(std::move(line));
    }
    return lines;
}

void CCallLog::Clear() {
    m_nFirst = 0;
    m_nSize = 0;
}
