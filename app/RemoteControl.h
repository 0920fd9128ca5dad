#pragma once
#include "app/FrameDeviceRegistry.h"
#include "app/RemoteEndpoint.h"
#include "i18n/SettingsFile.h"

#include <functional>
#include <memory>

class CMainFrame;

/// The program's SCPI server over the main frame's devices: started, moved or stopped as the
/// remote setting says, and what the status bar and the Remote Control dialog show of it.
class CRemoteControl {
public:
    using EndpointFactory = std::function<std::unique_ptr<CRemoteEndpoint>(CDeviceRegistry&)>;

    explicit CRemoteControl(CMainFrame& frame);
    ~CRemoteControl(); ///< Closes the server before the devices it serves go.

    /// Builds the servers of every remote control made from now on (tests: a stand-in; empty:
    /// the real one again).
    static void SetEndpointFactory(EndpointFactory factory);

    /// Runs the server as `remote` says; false with the place and the reason when it cannot
    /// listen there, and then a server that was listening elsewhere goes on as it was.
    bool Apply(const CSettingsFile::Remote& remote, QString& error);
    /// "address:port" as a user types it ("[::1]:5025" for IPv6).
    static QString Place(const CSettingsFile::Remote& remote);
    /// The setting last applied with success (which the command line may have changed from the
    /// saved one).
    const CSettingsFile::Remote& Setting() const { return m_setting; }
    bool IsListening() const;
    QStringList Clients() const;
    /// "SCPI :5025" while listening, else empty.
    QString StatusText() const;
    /// The remote pane's tooltip: what is served beside the raw socket, or why it is not, one
    /// line each in the frame's language.
    QString StatusToolTip() const;

private:
    CMainFrame& m_frame; ///< Whose language the tooltip speaks.
    CFrameDeviceRegistry m_registry;
    std::unique_ptr<CRemoteEndpoint> m_pEndpoint;
    CSettingsFile::Remote m_setting;
    std::string m_strAddress; ///< Where the endpoint was last told to listen.
    std::string m_strAllow;   ///< And for whom.
};

/// The SCPI server over `devices` (ScpiEndpoint.cpp).
std::unique_ptr<CRemoteEndpoint> MakeScpiEndpoint(CDeviceRegistry& devices);
