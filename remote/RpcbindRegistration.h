#pragma once
#include <cstdint>
#include <string>

/// A TCP program registered with the system's rpcbind (the portmapper on port 111), withdrawn
/// again when done. An entry another run left behind (its port answers no more) is replaced;
/// one whose server is alive is left alone.
class CRpcbindRegistration {
public:
    CRpcbindRegistration() = default;
    ~CRpcbindRegistration(); ///< Withdraws the registration.
    CRpcbindRegistration(const CRpcbindRegistration&) = delete;
    CRpcbindRegistration& operator=(const CRpcbindRegistration&) = delete;

    /// Registers program/version at `port`; false with the reason in `error`.
    bool Register(std::uint32_t program, std::uint32_t version, std::uint16_t port,
                  std::string& error);
    void Withdraw();
    bool IsRegistered() const { return m_bRegistered; }

private:
    bool m_bRegistered = false;
    std::uint32_t m_nProgram = 0;
    std::uint32_t m_nVersion = 0;
};
