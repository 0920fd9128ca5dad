#pragma once

#include "scpi/ScpiParameter.h"

#include <string>
#include <string_view>
#include <vector>

/// What a command's handler gets: the header's numeric suffixes, the typed parameters, a
/// writer for the response and a way to raise errors. It knows no text of the command.
class CScpiContext {
public:
    CScpiContext(std::vector<int> suffixes, std::vector<bool> given,
                 std::vector<CScpiParameter> params)
        : m_vSuffixes(std::move(suffixes)), m_vSuffixGiven(std::move(given)),
          m_vParams(std::move(params)) {}

    /// The suffix of the pattern's index-th '#', the row's default when the header had none.
    int Suffix(std::size_t index = 0) const { return m_vSuffixes.at(index); }
    std::size_t SuffixCount() const { return m_vSuffixes.size(); }
    bool SuffixGiven(std::size_t index = 0) const { return m_vSuffixGiven.at(index); }
    /// Given parameters in row order; optional ones left out are absent.
    const std::vector<CScpiParameter>& Params() const { return m_vParams; }
    bool Has(std::size_t index) const { return index < m_vParams.size(); }
    const CScpiParameter& Param(std::size_t index) const { return m_vParams.at(index); }

    /// Response elements; several from one query are separated by ','.
    void Write(std::string_view text);
    void WriteNumber(double value);
    void WriteInt(long long value) { Write(std::to_string(value)); }
    void WriteBool(bool value) { Write(value ? "1" : "0"); }
    void WriteString(std::string_view text);
    /// A definite-length block: #<digits><length><bytes>.
    void WriteBlock(std::string_view bytes);

    /// Queues an error (e.g. -222 after clamping); the command still counts as executed.
    void Error(int code, std::string_view info = {});

    const std::string& Response() const { return m_strResponse; }
    bool HasResponse() const { return m_bWritten; }
    struct CRaised {
        int m_nCode;
        std::string m_strInfo;
    };
    const std::vector<CRaised>& Raised() const { return m_vRaised; }

private:
    std::vector<int> m_vSuffixes;
    std::vector<bool> m_vSuffixGiven;
    std::vector<CScpiParameter> m_vParams;
    std::string m_strResponse;
    bool m_bWritten = false;
    std::vector<CRaised> m_vRaised;
};
