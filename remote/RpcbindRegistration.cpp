#include "remote/RpcbindRegistration.h"

#include <rpc/pmap_clnt.h>
#include <rpc/rpc.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

/// Something accepts TCP connections on the loopback port.
bool Answers(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const sockaddr_in address = Loopback(port);
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

} // namespace

CRpcbindRegistration::~CRpcbindRegistration() {
    Withdraw();
}

bool CRpcbindRegistration::Register(std::uint32_t program, std::uint32_t version,
                                    std::uint16_t port, std::string& error) {
    Withdraw();
    if (!pmap_set(program, version, IPPROTO_TCP, port)) {
        sockaddr_in rpcbind = Loopback(PMAPPORT);
        const std::uint16_t holder = pmap_getport(&rpcbind, program, version, IPPROTO_TCP);
        if (holder == 0) {
            error = "no rpcbind answers";
            return false;
        }
        if (Answers(holder)) {
            error = "another VXI-11 server is registered with rpcbind (port " +
                    std::to_string(holder) + ")";
            return false;
        }
        // Left behind by a run that ended without withdrawing it.
        pmap_unset(program, version);
        if (!pmap_set(program, version, IPPROTO_TCP, port)) {
            error = "rpcbind refused the registration";
            return false;
        }
    }
    m_bRegistered = true;
    m_nProgram = program;
    m_nVersion = version;
    return true;
}

void CRpcbindRegistration::Withdraw() {
    if (m_bRegistered)
        pmap_unset(m_nProgram, m_nVersion);
    m_bRegistered = false;
}
