#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

class CScpiSession;

/// One VXI-11 link: a session of the instrument as a raw-socket client has, fed as the bytes
/// come. A message ends with a newline or with END on its last byte; until then its pieces wait
/// in the session (bounded, -363), so a link that goes mid-message leaves nothing of it applied.
/// The responses of each write are read back as one message with END at its end, bounded too.
class CVxi11Link {
public:
    /// What device_read hands back: the bytes and why it stopped (VXI-11 reason bits).
    struct CReadResult {
        std::string m_strData;
        std::uint32_t m_nReason = 0;
    };

    /// `limit` bounds the responses not read yet (the session bounds its input itself).
    CVxi11Link(std::unique_ptr<CScpiSession> session, std::size_t limit);
    ~CVxi11Link();
    CVxi11Link(const CVxi11Link&) = delete;
    CVxi11Link& operator=(const CVxi11Link&) = delete;

    /// device_write: `end` completes the message, which then runs.
    void Write(std::string_view data, bool end);
    /// Responses wait to be read.
    bool HasOutput() const { return !m_output.empty(); }
    /// device_read: at most `requestSize` bytes of the oldest response, up to its end or the
    /// termination character when `termChar` is not negative. Needs HasOutput().
    CReadResult Read(std::uint32_t requestSize, int termChar);
    /// *OPC? or *WAI holds the session until the instrument is done.
    bool IsWaiting() const;
    /// Goes on with a waiting session; true when responses came of it.
    bool Poll();
    /// device_clear: the message being collected, the unread responses and the session's own
    /// waiting input go, as a device clear does.
    void Clear();
    /// device_trigger, as *TRG in a message of its own.
    void Trigger();
    /// device_read found nothing to read and nothing coming: -420, as a query never sent.
    void ReadWithoutQuery();
    /// device_readstb: the session's status byte, MAV while a response waits to be read.
    int StatusByte() const;

private:
    void AddOutput(std::string bytes);

    std::unique_ptr<CScpiSession> m_pSession;
    std::size_t m_nLimit;
    bool m_bAtMessageEnd = true; ///< The last byte fed ended a message.
    std::deque<std::string> m_output;
    std::size_t m_nOutputBytes = 0;
};
