#include "scpi/ScpiCommandTable.h"

#include "scpi/ScpiText.h"

#include <stdexcept>

namespace {
// Walks pattern and header nodes together; an optional node is first matched, then skipped.
bool MatchNodes(const CScpiCommandTable::CRow& row, const CScpiHeader& header, std::size_t node,
                std::size_t input, CScpiCommandTable::CMatch& match, bool& badSuffix) {
    if (node == row.m_vNodes.size())
        return input == header.m_vNodes.size();
    const CScpiCommandTable::CNode& pattern = row.m_vNodes[node];
    if (input < header.m_vNodes.size() &&
        ScpiMatchesMnemonic(pattern.m_strPattern, header.m_vNodes[input].m_strName)) {
        const int suffix = header.m_vNodes[input].m_nSuffix;
        const bool fits = suffix == -1 || (pattern.m_nSuffixIndex >= 0 && suffix > 0);
        if (!fits && pattern.m_nSuffixIndex >= 0)
            badSuffix = true;
        if (fits) {
            if (pattern.m_nSuffixIndex >= 0) {
                const auto index = static_cast<std::size_t>(pattern.m_nSuffixIndex);
                match.m_vGiven[index] = suffix != -1;
                match.m_vSuffixes[index] = suffix != -1 ? suffix : row.m_nSuffixDefault;
            }
            if (MatchNodes(row, header, node + 1, input + 1, match, badSuffix))
                return true;
        }
    }
    if (!pattern.m_bOptional)
        return false;
    if (pattern.m_nSuffixIndex >= 0) {
        const auto index = static_cast<std::size_t>(pattern.m_nSuffixIndex);
        match.m_vGiven[index] = false;
        match.m_vSuffixes[index] = row.m_nSuffixDefault;
    }
    return MatchNodes(row, header, node + 1, input, match, badSuffix);
}
} // namespace

void CScpiCommandTable::Add(std::string_view pattern, std::vector<CScpiParamDef> params,
                            Handler handler, int suffixDefault) {
    CRow row;
    row.m_bQuery = !pattern.empty() && pattern.back() == '?';
    if (row.m_bQuery)
        pattern.remove_suffix(1);
    bool inBrackets = false;
    std::string name;
    const auto flush = [&] {
        if (name.empty())
            return;
        CNode node{name, inBrackets, -1};
        if (node.m_strPattern.back() == '#') {
            node.m_strPattern.pop_back();
            node.m_nSuffixIndex = static_cast<int>(row.m_nSuffixCount++);
        }
        if (node.m_strPattern.empty() || node.m_strPattern.find('#') != std::string::npos)
            throw std::invalid_argument("bad SCPI pattern");
        row.m_vNodes.push_back(std::move(node));
        name.clear();
    };
    for (const char c : pattern) {
        if (c == '[' || c == ']' || c == ':') {
            flush();
            if (c != ':')
                inBrackets = c == '[';
        } else {
            name += c;
        }
    }
    flush();
    if (row.m_vNodes.empty() || inBrackets)
        throw std::invalid_argument("bad SCPI pattern");
    row.m_vParams = std::move(params);
    row.m_handler = std::move(handler);
    row.m_nSuffixDefault = suffixDefault;
    m_vRows.push_back(std::move(row));
}

int CScpiCommandTable::Find(const CScpiHeader& header, CMatch& match) const {
    bool badSuffix = false;
    for (const CRow& row : m_vRows) {
        if (row.m_bQuery != header.m_bQuery)
            continue;
        match.m_pRow = &row;
        match.m_vSuffixes.assign(row.m_nSuffixCount, row.m_nSuffixDefault);
        match.m_vGiven.assign(row.m_nSuffixCount, false);
        if (MatchNodes(row, header, 0, 0, match, badSuffix))
            return 0;
    }
    match.m_pRow = nullptr;
    return badSuffix ? -114 : -113;
}
