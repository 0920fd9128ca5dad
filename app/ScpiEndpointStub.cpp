// A build without the SCPI instrument and server: the remote control reports that it cannot
// listen.
#include "app/RemoteControl.h"

std::unique_ptr<CRemoteEndpoint> MakeScpiEndpoint(CDeviceRegistry&) {
    return nullptr;
}
