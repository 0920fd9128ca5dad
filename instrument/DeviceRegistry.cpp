#include "instrument/DeviceRegistry.h"

#include "control/DeviceControl.h"

void CDeviceRegistry::ApplyArbWave(int index, const CCsvFile::Wave& wave) {
    CDeviceControl* control = Control(index);
    if (!control)
        return;
    CDDSDevice& device = control->Device();
    CCsvFile::Apply(device, wave);
    control->RememberFrequency(device.m_dFrequency);
    control->SelectWaveType(WAVE_ARB, true);
    device.RequestDownload();
}
