#pragma once
#include <cstdint>
#include <string>
#include <string_view>

/// The arguments of a VXI-11 core or abort channel call, decoded by procedure number; the
/// numbers the protocol gives its programs, procedures, flags, reasons and errors.
class CVxi11Request {
public:
    static constexpr std::uint32_t kCoreProgram = 0x0607AF;
    static constexpr std::uint32_t kAbortProgram = 0x0607B0;
    static constexpr std::uint32_t kVersion = 1;

    enum EProcedure : std::uint32_t {
        PROC_NULL = 0,
        DEVICE_ABORT = 1, ///< On the abort program.
        CREATE_LINK = 10,
        DEVICE_WRITE = 11,
        DEVICE_READ = 12,
        DEVICE_READSTB = 13,
        DEVICE_TRIGGER = 14,
        DEVICE_CLEAR = 15,
        DEVICE_REMOTE = 16,
        DEVICE_LOCAL = 17,
        DEVICE_LOCK = 18,
        DEVICE_UNLOCK = 19,
        DEVICE_ENABLE_SRQ = 20,
        DEVICE_DOCMD = 22,
        DESTROY_LINK = 23,
        CREATE_INTR_CHAN = 25,
        DESTROY_INTR_CHAN = 26,
    };
    enum EFlag : std::int32_t { FLAG_WAITLOCK = 1, FLAG_END = 8, FLAG_TERMCHRSET = 128 };
    enum EReason : std::uint32_t { REASON_REQCNT = 1, REASON_CHR = 2, REASON_END = 4 };
    enum EError : std::int32_t {
        ERR_NONE = 0,
        ERR_SYNTAX = 1,
        ERR_NOT_ACCESSIBLE = 3,
        ERR_INVALID_LINK = 4,
        ERR_PARAMETER = 5,
        ERR_NO_CHANNEL = 6,
        ERR_NOT_SUPPORTED = 8,
        ERR_NO_RESOURCES = 9,
        ERR_LOCKED = 11,
        ERR_NO_LOCK = 12,
        ERR_IO_TIMEOUT = 15,
        ERR_IO = 17,
        ERR_INVALID_ADDRESS = 21,
        ERR_ABORT = 23,
        ERR_CHANNEL_EXISTS = 29,
    };

    /// The longest device name and srq handle taken.
    static constexpr std::size_t kMaxDeviceName = 256;
    static constexpr std::size_t kMaxHandle = 40;

    /// The procedure is one of the program's (its arguments may still be garbage).
    static bool IsProcedure(std::uint32_t program, std::uint32_t procedure);
    /// Decodes the arguments of `procedure` of `program`; false for a procedure not in the
    /// protocol or arguments that do not fit it (data longer than `dataLimit` included).
    static bool Decode(std::uint32_t program, std::uint32_t procedure, std::string_view args,
                       std::size_t dataLimit, CVxi11Request& request);

    std::uint32_t m_nProcedure = 0;
    std::int32_t m_nLink = 0;
    std::int32_t m_nFlags = 0;
    std::uint32_t m_nLockTimeout = 0; ///< ms
    std::uint32_t m_nIoTimeout = 0;   ///< ms
    std::uint32_t m_nRequestSize = 0; ///< device_read
    char m_cTermChar = 0;             ///< device_read
    std::int32_t m_nClientId = 0;     ///< create_link
    bool m_bLockDevice = false;       ///< create_link
    bool m_bEnable = false;           ///< device_enable_srq
    std::string m_strDevice;          ///< create_link
    std::string m_strData;            ///< device_write, device_docmd, device_enable_srq handle
};
