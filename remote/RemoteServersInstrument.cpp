#include "instrument/ScpiInstrument.h"
#include "remote/RemoteServers.h"
#include "scpi/ScpiSession.h"

// Apart from the servers' own source, as the raw server's: a program serving another backend
// links without the instrument.
CRemoteServers::CRemoteServers(CScpiInstrument& instrument, QObject* parent)
    : CRemoteServers(CScpiServer::CBackend{[&instrument] { return instrument.NewSession(); },
                                           [&instrument] { instrument.Tick(); },
                                           [&instrument] { return instrument.SweepRunning(); }},
                     parent) {}
