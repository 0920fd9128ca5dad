#include "engine/DDSDevice.h"

#include <algorithm>

CDDSDevice::CDDSDevice() {
    // The first steps of the worker program a newly bound unit completely.
    m_commands = {CMD_SET_FREQUENCY, CMD_SET_TRIGGER, CMD_DOWNLOAD};
}

CDDSDevice::~CDDSDevice() = default;

void CDDSDevice::QueueCommand(int code) {
    {
        std::lock_guard<std::mutex> lock(m_commandLock);
        m_commands.push_back(code);
    }
    m_commandQueued.Raise();
}

int CDDSDevice::TakeCommand() {
    std::lock_guard<std::mutex> lock(m_commandLock);
    if (m_commands.empty() || m_nCommandHolds > 0)
        return 0;
    const int code = m_commands.front();
    m_commands.pop_front();
    m_bCommandRunning = 1;
    m_nRunningCommand = code;
    return code;
}

void CDDSDevice::CommandCarriedOut() {
    std::lock_guard<std::mutex> lock(m_commandLock);
    m_bCommandRunning = 0;
    m_nRunningCommand = 0;
}

bool CDDSDevice::CommandsDone() const {
    std::lock_guard<std::mutex> lock(m_commandLock);
    return m_commands.empty() && m_bCommandRunning == 0;
}

void CDDSDevice::RequestDownload() {
    {
        std::lock_guard<std::mutex> lock(m_commandLock);
        // A download still waiting at the head will read the newest fields anyway.
        if (!m_commands.empty() && m_commands.front() == CMD_DOWNLOAD)
            return;
        m_commands.push_back(CMD_DOWNLOAD);
    }
    m_commandQueued.Raise();
}

bool CDDSDevice::PlanSettled() const {
    std::lock_guard<std::mutex> lock(m_commandLock);
    return m_nRunningCommand != CMD_SET_FREQUENCY &&
           std::find(m_commands.begin(), m_commands.end(), CMD_SET_FREQUENCY) == m_commands.end();
}

bool CDDSDevice::DownloadQueued() const {
    std::lock_guard<std::mutex> lock(m_commandLock);
    return std::find(m_commands.begin(), m_commands.end(), CMD_DOWNLOAD) != m_commands.end();
}

std::vector<int> CDDSDevice::PendingCommands() const {
    std::lock_guard<std::mutex> lock(m_commandLock);
    return {m_commands.begin(), m_commands.end()};
}

bool CDDSDevice::CommandWaiting() const {
    if (m_bDemo != 0 || m_bLost != 0)
        return false; // its commands wait for a unit that answers
    std::lock_guard<std::mutex> lock(m_commandLock);
    return !m_commands.empty() && m_nCommandHolds == 0;
}

CDDSDevice::CCommandHold::CCommandHold(CDDSDevice& device) : m_device(device) {
    std::lock_guard<std::mutex> lock(m_device.m_commandLock);
    ++m_device.m_nCommandHolds;
}

CDDSDevice::CCommandHold::~CCommandHold() {
    {
        std::lock_guard<std::mutex> lock(m_device.m_commandLock);
        --m_device.m_nCommandHolds;
    }
    m_device.m_commandQueued.Raise(); // what was queued meanwhile is due now
}

void CDDSDevice::PauseWorker(std::chrono::microseconds pause) {
    m_commandQueued.Sleep(pause);
}

void CDDSDevice::WakeWorker() {
    m_commandQueued.Raise();
}
