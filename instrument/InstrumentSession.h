#pragma once
#include "instrument/RemoteSweep.h"
#include "scpi/ScpiCommandTable.h"

#include <map>
#include <string>
#include <vector>

class CDeviceControl;
class CDeviceRegistry;
class CWaveFolder;

/// What one connection addresses and the command table bound to it: every row reaches its
/// device through CDeviceControl, the device being the header's SOURce suffix when given and
/// the session's selected device otherwise.
class CInstrumentSession {
public:
    /// The remote sweeps of all sessions, by device.
    using Sweeps = std::map<CDeviceControl*, CRemoteSweep>;

    /// folder: the one folder the file commands reach.
    CInstrumentSession(CDeviceRegistry& devices, const std::string& version, Sweeps& sweeps,
                       const CWaveFolder& folder);
    CInstrumentSession(const CInstrumentSession&) = delete;
    CInstrumentSession& operator=(const CInstrumentSession&) = delete;

    const CScpiCommandTable& Table() const { return m_table; }
    /// *IDN?: maker, model, the selected unit's index (a demo device's name), version.
    std::string Identify() const;
    /// *RST: the selected device as newly opened; its remote sweep ends.
    void Reset();
    /// *OPC?: every command queued for the selected device, and for each device this session
    /// addressed since the last completion, has reached the generator.
    bool OperationsComplete();

private:
    void AddAddressing();
    void AddOutput();
    void AddWaveParameters();
    void AddSweep();
    void AddData();
    void AddMeasurement();
    void AddFiles();

    /// The device a command addresses, or null after raising the error.
    CDeviceControl* Addressed(CScpiContext& context) const;
    CDeviceControl* Selected() const;
    /// Adds pattern and its query pattern + "?", both on the addressed device.
    void AddPair(const std::string& pattern, const CScpiParamDef& param,
                 std::function<void(CScpiContext&, CDeviceControl&)> set,
                 std::function<void(CScpiContext&, CDeviceControl&)> get);
    /// Forgets the device's sweep without returning its frequency (a reset sets it anew).
    void DropSweep(CDeviceControl& control);

    CDeviceRegistry& m_devices;
    std::string m_strVersion;
    Sweeps& m_sweeps;
    const CWaveFolder& m_folder;
    int m_nSelected = 0;
    /// Devices addressed since operations were last complete.
    mutable std::vector<const CDeviceControl*> m_vAddressed;
    CScpiCommandTable m_table;
};
