#pragma once
#include "instrument/DeviceRegistry.h"

#include <memory>
#include <string>
#include <vector>

class CDDSDevice;
class CDeviceControl;
class CDeviceWorker;

/// The devices of the headless program: one record per generator found at start-up, or one
/// demo record when none, each bound, programmed once and stepped by its own worker as a
/// device window would have it.
class CHeadlessHost : public CDeviceRegistry {
public:
    CHeadlessHost(); ///< Opens the devices and starts their workers.
    ~CHeadlessHost() override;
    CHeadlessHost(const CHeadlessHost&) = delete;
    CHeadlessHost& operator=(const CHeadlessHost&) = delete;

    /// Stops every worker between two steps, the last started first. A worker inside a driver
    /// call that hangs is abandoned with its device, which is then gone from the host
    /// (CDeviceWorker::ExitIfAbandoned ends the process).
    void Stop();

    int Count() const override;
    std::string Name(int index) const override;
    CDeviceControl* Control(int index) override;
    bool ApplyCsv(int index, const std::string& path, const CCsvFile::Wave& wave) override;
    bool StoreCsv(int index, const std::string& path, const CCsvFile::Target* target,
                  std::string& error) override;

private:
    struct CDevice;
    CDevice* At(int index) const;

    std::vector<std::unique_ptr<CDevice>> m_vDevices;
};
