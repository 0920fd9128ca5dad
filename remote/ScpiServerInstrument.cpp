#include "instrument/ScpiInstrument.h"
#include "remote/ScpiServer.h"
#include "scpi/ScpiSession.h"

// Apart from the server's own source, so that a program serving some other backend (the
// server's tests) links without the instrument.
CScpiServer::CScpiServer(CScpiInstrument& instrument, QObject* parent)
    : CScpiServer(CBackend{[&instrument] { return instrument.NewSession(); },
                           [&instrument] { instrument.Tick(); },
                           [&instrument] { return instrument.SweepRunning(); }},
                  parent) {}
