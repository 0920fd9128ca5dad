#include "remote/HeadlessHost.h"

#include "control/DeviceControl.h"
#include "engine/DDSDevice.h"
#include "engine/DeviceWorker.h"
#include "engine/hardware/DDSTarnDll.h"
#include "formats/CsvFile.h"
#include "hwsim/DriverStatus.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {
/// How long stopping waits for each worker; only a driver call that hangs takes longer, and a
/// stop signal must end the program within 3 s even then. The step guard lets one worker at a
/// time into the driver, so the others stop at once.
constexpr std::chrono::milliseconds kWorkerStopPatience{500};
} // namespace

struct CHeadlessHost::CDevice {
    CDDSDevice device;
    CDeviceControl control{device};
    CDeviceWorker worker;
    std::string strName;
};

CHeadlessHost::CHeadlessHost() {
    const int found = std::max(DDSSearch(), 0);
    if (const std::string problem = SimDriverProblem(); !problem.empty())
        std::fprintf(stderr, "%s\n", problem.c_str());
    std::vector<int> used;
    for (int n = 1; n <= std::max(found, 1); ++n) {
        auto entry = std::make_unique<CDevice>();
        CDDSDevice::BindContext context;
        context.foundDevices = found;
        context.usedIndices = used;
        // Nobody to ask: each record takes the lowest free unit.
        entry->device.BindHardware(context);
        entry->device.ApplyFrequency();
        if (!entry->device.m_bDemo)
            used.push_back(entry->device.m_nDevice);
        entry->strName = (entry->device.m_bDemo ? "Demo " : "Device ") + std::to_string(n);
        entry->worker.Start(&entry->device);
        m_vDevices.push_back(std::move(entry));
    }
}

CHeadlessHost::~CHeadlessHost() {
    Stop();
}

void CHeadlessHost::Stop() {
    for (auto it = m_vDevices.rbegin(); it != m_vDevices.rend(); ++it) {
        // An abandoned worker still steps its record, which then stays for the process's life.
        if (*it && !(*it)->worker.Stop(kWorkerStopPatience))
            static_cast<void>(it->release());
    }
}

CHeadlessHost::CDevice* CHeadlessHost::At(int index) const {
    return index >= 0 && index < Count() ? m_vDevices[std::size_t(index)].get() : nullptr;
}

int CHeadlessHost::Count() const {
    return int(m_vDevices.size());
}

std::string CHeadlessHost::Name(int index) const {
    const CDevice* entry = At(index);
    return entry ? entry->strName : std::string();
}

CDeviceControl* CHeadlessHost::Control(int index) {
    CDevice* entry = At(index);
    return entry ? &entry->control : nullptr;
}

bool CHeadlessHost::ApplyCsv(int index, const std::string& /*path*/, const CCsvFile::Wave& wave) {
    CDevice* entry = At(index);
    if (!entry)
        return false;
    // The frequency command must find the device in Arb, whenever the worker gets to it.
    const CDDSDevice::CCommandHold hold(entry->device);
    CCsvFile::Apply(entry->device, wave);
    // As File > Open: the points just read become the Arb wave, not a capture of the old one.
    entry->control.SelectWaveType(WAVE_ARB, true);
    entry->device.RequestDownload();
    return true;
}

bool CHeadlessHost::StoreCsv(int index, const std::string& path, const CCsvFile::Target* target,
                             std::string& error) {
    CDevice* entry = At(index);
    if (!entry || !CCsvFile::CheckWritable(path, error, target))
        return false;
    if (entry->control.GetWaveType() != WAVE_ARB)
        entry->control.SelectWaveType(WAVE_ARB);
    return CCsvFile::Write(entry->device, path, error, target);
}
