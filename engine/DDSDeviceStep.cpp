#include "engine/DDSDevice.h"
#include "engine/StepGuard.h"
#include "engine/hardware/DDSTarnDll.h"

#include <climits>
#include <cmath>

namespace {
constexpr int kMeasurePeriod = 5; ///< The meter is read every fifth step of the program.
constexpr float kStableRatio = 3.0f;

int CountOf(double reading) {
    if (std::isnan(reading))
        return 0;
    if (reading >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (reading <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(reading);
}
} // namespace

void CDDSDevice::Measure() {
    if (m_bCounterOn == 0 || m_bDemo != 0) {
        m_dMeasuredFreq = 0.0;
        m_nCount = 0;
        return;
    }
    double reading = 0.0;
    if (m_nMeasureMode == 0) {
        if (m_bResetCounter != 0) {
            DDSResetCounter(m_nDevice);
            m_bResetCounter = 0;
        }
        DDSGetMeasure(m_nDevice, 1, &reading);
        m_nCount = CountOf(reading);
        m_nReadings.fetch_add(1, std::memory_order_release);
        return;
    }
    if (CStepGuard::Count() % kMeasurePeriod != 0)
        return;
    DDSGetMeasure(m_nDevice, 0, &reading);
    if (m_freqHistory.size() >= CDDSDevice::kMeterWindow)
        m_freqHistory.pop_front();
    m_freqHistory.push_back(static_cast<float>(reading));
    // A jump of 3x or more inside the window is a glitch or a change still settling: the
    // value shown before stays until the window agrees again.
    float largest = m_freqHistory.front();
    float smallest = largest;
    for (std::size_t i = 1; i < m_freqHistory.size(); ++i) {
        const float value = m_freqHistory[i];
        if (value > largest)
            largest = value;
        else if (value < smallest)
            smallest = value;
    }
    if (!(largest / smallest >= kStableRatio))
        m_dMeasuredFreq = m_freqHistory.front();
    m_nReadings.fetch_add(1, std::memory_order_release);
    CStepGuard::ResetCount();
}

void CDDSDevice::CarryOut(int command) {
    switch (command) {
    case CMD_DOWNLOAD:
        DownloadWaveform();
        break;
    case CMD_SET_FREQUENCY:
        FrequencyCommand();
        break;
    case CMD_SET_DIO_MODE:
        DDSSetDIOMode(m_nDevice, m_nDIOMode);
        break;
    case CMD_SET_TRIGGER:
        DDSSetTrigger(m_nDevice, m_bExtTrig, m_nTrigEdge);
        break;
    case CMD_SET_SINGLE_WAVE:
        DDSSetSingleWave(m_nDevice, m_bSingleWave);
        break;
    case CMD_SET_POWER_ON_OUTPUT:
        DDSSetPowerOnOutput(m_nDevice, m_bPowerOnOutput);
        break;
    default:
        break; // an empty queue or an unknown code: nothing to send
    }
}

bool CDDSDevice::DeviceStep() {
    if (!CStepGuard::TryEnter())
        return false;
    Measure();
    if (m_bDemo != 0) {
        CStepGuard::Leave();
        return true;
    }
    if (DDSCheck(m_nDevice) == 0) {
        m_bLost = 1;
        CStepGuard::Leave();
        return true;
    }
    if (m_bLost == 1) {
        // The unit answers again: program its frequency and buffer before anything else and
        // keep a download queued for the steps that follow. The modes the panel still shows
        // go behind it, since the unit forgot them; its power-on setting is the user's alone
        // to write (the Power On menu commands), so it is not sent here.
        ApplyFrequency();
        RequestDownload();
        for (const int command : {CMD_SET_TRIGGER, CMD_SET_SINGLE_WAVE, CMD_SET_DIO_MODE})
            QueueCommand(command);
        m_bLost = 0;
        CStepGuard::Leave();
        DownloadWaveform();
        return true;
    }
    DDSSetDigitalOut(m_nDevice, m_wDigitalOut);
    unsigned short in = m_wDigitalIn;
    DDSGetDigitalIn(m_nDevice, &in);
    m_wDigitalIn = in;
    if (const int command = TakeCommand()) {
        CarryOut(command);
        CommandCarriedOut();
    }
    CStepGuard::Leave();
    return true;
}
