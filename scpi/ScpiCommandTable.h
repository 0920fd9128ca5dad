#pragma once

#include "scpi/ScpiContext.h"
#include "scpi/ScpiLexer.h"
#include "scpi/ScpiParamDef.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

/// The commands an instrument understands, one row per command: its pattern, its parameters
/// and its handler. Patterns name the long form with the short form in capitals, `[ ]` around
/// an optional node, `#` after a node that takes a numeric suffix and `?` at the end of a
/// query: "[SOURce#:]FREQuency[:CW]", "SYSTem:ERRor[:NEXT]?", "*IDN?".
class CScpiCommandTable {
public:
    using Handler = std::function<void(CScpiContext&)>;

    struct CNode {
        std::string m_strPattern;
        bool m_bOptional = false;
        /// Which '#' of the pattern this node's suffix is; -1 when it takes none.
        int m_nSuffixIndex = -1;
    };
    struct CRow {
        std::vector<CNode> m_vNodes;
        bool m_bQuery = false;
        std::vector<CScpiParamDef> m_vParams;
        Handler m_handler;
        int m_nSuffixDefault = 1;
        std::size_t m_nSuffixCount = 0;
    };
    /// A header resolved to its row, with the suffixes for the handler.
    struct CMatch {
        const CRow* m_pRow = nullptr;
        std::vector<int> m_vSuffixes;
        std::vector<bool> m_vGiven;
    };

    /// Adds a row; suffixDefault is what an absent suffix stands for. Throws
    /// std::invalid_argument on a malformed pattern.
    void Add(std::string_view pattern, std::vector<CScpiParamDef> params, Handler handler,
             int suffixDefault = 1);

    /// Finds the row for a header whose nodes are already complete (the session has put the
    /// current path in front). Returns 0, -113 (no such header) or -114 (suffix out of range).
    int Find(const CScpiHeader& header, CMatch& match) const;

private:
    std::vector<CRow> m_vRows;
};
