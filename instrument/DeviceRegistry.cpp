#include "instrument/DeviceRegistry.h"

#include "control/DeviceControl.h"

void CDeviceRegistry::ApplyArbWave(int index, const CCsvFile::Wave& wave) {
    CDeviceControl* control = Control(index);
    if (!control)
        return;
    CDDSDevice& device = control->Device();
    // The file's frequency command must find the switch to Arb behind it.
    const CDDSDevice::CCommandHold hold(device);
    CCsvFile::Apply(device, wave);
    control->RememberFrequency(device.m_dFrequency);
    control->SelectWaveType(WAVE_ARB, true);
    device.RequestDownload();
}
