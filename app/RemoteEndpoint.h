#pragma once
#include "remote/RemoteNote.h"

#include <QString>
#include <QStringList>

#include <string>

/// What the program's remote control needs of an SCPI server: the real one serves the frame's
/// devices (MakeScpiEndpoint); tests put a stand-in in its place.
class CRemoteEndpoint {
public:
    virtual ~CRemoteEndpoint() = default;

    /// Starts listening (stopping first when already listening) for the clients `allow` names
    /// ("ADDR[/PREFIX],...", empty: loopback only); false with the reason.
    virtual bool Listen(const std::string& address, int port, const std::string& allow,
                        QString& error) = 0;
    virtual void Close() = 0;
    virtual bool IsListening() const = 0;
    virtual int Port() const = 0;
    /// "address:port" of each connected client.
    virtual QStringList Clients() const = 0;
    /// The one folder the file commands reach (empty: the default), from the next command on.
    virtual void SetWaveFolder(const std::string& path) { static_cast<void>(path); }
    /// One note per service served beside the raw socket (VXI-11, DNS-SD), or why it is off.
    virtual CRemoteNotes Notes() const { return {}; }
};
