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

    /// Starts listening (stopping first when already listening); false with the reason.
    virtual bool Listen(const std::string& address, int port, QString& error) = 0;
    virtual void Close() = 0;
    virtual bool IsListening() const = 0;
    virtual int Port() const = 0;
    /// "address:port" of each connected client.
    virtual QStringList Clients() const = 0;
    /// One note per service served beside the raw socket (VXI-11, DNS-SD), or why it is off.
    virtual CRemoteNotes Notes() const { return {}; }
};
