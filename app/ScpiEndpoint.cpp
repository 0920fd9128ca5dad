// The program's SCPI server: the instrument's command table over the frame's devices, served
// over TCP. Built when the instrument and server libraries are (see app/CMakeLists.txt).
#include "app/MainFrame.h"
#include "app/RemoteControl.h"
#include "instrument/ScpiInstrument.h"
#include "remote/ScpiServer.h"

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

private:
    CScpiInstrument m_instrument;
    CScpiServer m_server; // after the instrument: its sessions go first
};

} // namespace

std::unique_ptr<CRemoteEndpoint> MakeScpiEndpoint(CDeviceRegistry& devices) {
    return std::make_unique<CScpiEndpoint>(devices);
}
