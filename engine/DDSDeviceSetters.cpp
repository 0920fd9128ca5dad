#include "engine/DDSDevice.h"

void CDDSDevice::SetMeasureMode(int mode) {
    m_nMeasureMode = mode;
    if (m_bCounterOn != 0 && mode == 0)
        m_bResetCounter = 1;
}

void CDDSDevice::SetCounterOn(int on) {
    m_bCounterOn = on;
    if (on != 0 && m_nMeasureMode == 0)
        m_bResetCounter = 1;
}

void CDDSDevice::SetSingleWave(int on) {
    m_bSingleWave = on;
    if (m_bDemo != 1) {
        QueueCommand(CMD_SET_SINGLE_WAVE);
        RequestDownload();
    }
}

void CDDSDevice::SetExtTrig(int on) {
    m_bExtTrig = on;
    if (m_bDemo != 1)
        QueueCommand(CMD_SET_TRIGGER);
}

void CDDSDevice::SetTrigEdge(int edge) {
    m_nTrigEdge = edge;
    if (m_bDemo != 1)
        QueueCommand(CMD_SET_TRIGGER);
}

void CDDSDevice::SetAtten20dB(int on) {
    m_bAtten20dB = on;
    RequestDownload();
}

void CDDSDevice::SetOffset(double volts) {
    m_dOffset = volts;
    RequestDownload();
}

void CDDSDevice::SetFrequency(double hz) {
    m_dFrequency = hz;
    if (m_bDemo != 1) {
        QueueCommand(CMD_SET_FREQUENCY);
        RequestDownload();
    }
}

void CDDSDevice::SetAmplitude(float volts) {
    m_fAmplitude = volts;
}

void CDDSDevice::SetPeriodNumber(int n) {
    m_nPeriodNumber = static_cast<std::int16_t>(n);
}

void CDDSDevice::SetOutputOn(int on) {
    m_bOutputOn = on;
}

void CDDSDevice::SetDIOMode(int mode) {
    m_nDIOMode = mode;
    if (m_bDemo != 1)
        QueueCommand(CMD_SET_DIO_MODE);
}

void CDDSDevice::SetWaveType(int type) {
    m_nWaveType = type;
    RequestDownload();
}

int CDDSDevice::SetPowerOnOutput(int on) {
    if (m_bDemo == 1)
        return 0;
    m_bPowerOnOutput = on;
    QueueCommand(CMD_SET_POWER_ON_OUTPUT);
    return 1;
}
