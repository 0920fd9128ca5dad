// The program's SCPI server: the instrument's command table over the frame's devices, served
// over TCP: the raw socket, VXI-11 and their DNS-SD announcement. Built when the instrument and
// server libraries are (see app/CMakeLists.txt).
#include "app/MainFrame.h"
#include "app/RemoteControl.h"
#include "instrument/ScpiInstrument.h"
#include "remote/RemoteServers.h"

#include <QHostAddress>

namespace {

class CScpiEndpoint : public CRemoteEndpoint {
public:
    explicit CScpiEndpoint(CDeviceRegistry& devices)
        : m_instrument(devices, CMainFrame::kVersion), m_server(m_instrument) {}

    bool Listen(const std::string& address, int port, const std::string& allow,
                QString& error) override {
        return m_server.Admission().SetAllowList(QString::fromStdString(allow), &error) &&
               m_server.Listen(QHostAddress(QString::fromStdString(address)), quint16(port),
                               &error);
    }
    void Close() override { m_server.Close(); }
    bool IsListening() const override { return m_server.IsListening(); }
    int Port() const override { return m_server.Port(); }
    QStringList Clients() const override { return m_server.Clients(); }
    void SetWaveFolder(const std::string& path) override { m_instrument.SetWaveFolder(path); }
    CRemoteNotes Notes() const override { return m_server.Notes(); }

private:
    CScpiInstrument m_instrument;
    CRemoteServers m_server; // after the instrument: its sessions go first
};

} // namespace

std::unique_ptr<CRemoteEndpoint> MakeScpiEndpoint(CDeviceRegistry& devices) {
    return std::make_unique<CScpiEndpoint>(devices);
}
