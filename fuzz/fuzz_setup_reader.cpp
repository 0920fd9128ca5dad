// Feeds arbitrary bytes to the device setup reader: a refused text leaves the setup as it was
// and says why; an accepted one writes back to text that reads as the same setup, and applied
// to a demo device it leaves every field within the device's rules.
#include "control/DeviceControl.h"
#include "control/SetupFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CDeviceSetup setup;
    setup.m_nZoom = -7; // no file sets this and is refused
    std::string error;
    if (!CSetupFile::Parse(text, setup, error)) {
        if (error.empty() || setup.m_nZoom != -7)
            std::abort();
        return 0;
    }
    CDeviceSetup again;
    if (!CSetupFile::Parse(CSetupFile::Format(setup), again, error) || !(again == setup))
        std::abort();

    static CDDSDevice device; // demo record: nothing reaches a unit
    CDeviceControl control(device);
    control.ApplySetup(setup);
    const int type = device.m_nWaveType;
    if (!CDeviceControl::IsWaveType(type) ||
        device.m_dFrequency != CDeviceControl::ClampFrequency(device.m_dFrequency, type) ||
        device.m_fAmplitude < 0.0f || device.m_fAmplitude > CDeviceControl::kMaxAmplitude ||
        std::abs(device.m_dOffset) > CDeviceControl::kMaxOffset ||
        (device.m_wDigitalOut & ~CDeviceControl::kDigitalOutLines) != 0 ||
        device.m_nPointsPerPeriod < 1 || device.m_nPointsPerPeriod > kMaxPoints ||
        device.m_fTrapRise + device.m_fTrapHigh + device.m_fTrapFall > 1.0f + 1e-6f)
        std::abort();
    for (const auto& point : device.m_fArb)
        if (!std::isfinite(float(point)))
            std::abort();
    while (device.TakeCommand() != 0) {
    }
    return 0;
}
