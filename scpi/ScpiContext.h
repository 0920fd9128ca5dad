#pragma once

#include "scpi/ScpiParameter.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
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

    /// A query whose answer is not ready yet: the session holds this message (and the ones after
    /// it) as *OPC? does and calls poll again, on its Poll(), until it returns true; poll writes
    /// the answer or raises the error then, and must give up within a bounded time.
    using Poller = std::function<bool(CScpiContext&)>;
    void Defer(Poller poll) { m_poll = std::move(poll); }
    /// Runs the deferred poll once; true when it has finished (or there was none).
    bool PollDeferred() {
        if (m_poll && !m_poll(*this))
            return false;
        m_poll = nullptr;
        return true;
    }
    bool Deferred() const { return static_cast<bool>(m_poll); }

    const std::string& Response() const { return m_strResponse; }
    bool HasResponse() const { return m_bWritten; }
    struct CRaised {
        int m_nCode;
        std::string m_strInfo;
    };
    const std::vector<CRaised>& Raised() const { return m_vRaised; }
    /// The errors raised so far, handed over once.
    std::vector<CRaised> TakeRaised() { return std::exchange(m_vRaised, {}); }

private:
    std::vector<int> m_vSuffixes;
    std::vector<bool> m_vSuffixGiven;
    std::vector<CScpiParameter> m_vParams;
    std::string m_strResponse;
    bool m_bWritten = false;
    std::vector<CRaised> m_vRaised;
    Poller m_poll;
};
