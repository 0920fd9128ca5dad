#pragma once
#include "scpi/ScpiCommandTable.h"

#include <memory>
#include <string>

class CDeviceRegistry;
class CScpiSession;

/// The generators as one SCPI instrument: the command table bound to the device-control
/// layer, one session per connection (each with its own selected device), and the remote
/// sweeps, stepped by the host's timer.
class CScpiInstrument {
public:
    /// version is the program's version for *IDN?; waveFolder the one folder the file commands
    /// reach (empty: CWaveFolder::DefaultPath()).
    CScpiInstrument(CDeviceRegistry& devices, std::string version, std::string waveFolder = {});
    ~CScpiInstrument();
    CScpiInstrument(const CScpiInstrument&) = delete;
    CScpiInstrument& operator=(const CScpiInstrument&) = delete;

    /// A session for one connection; it must not outlive the instrument.
    std::unique_ptr<CScpiSession> NewSession();
    /// Runs what is due of the remote sweeps; the host calls it at least every millisecond
    /// while SweepRunning(), and may stop calling it otherwise.
    void Tick();
    bool SweepRunning() const;
    /// The folder of the file commands; a change holds from the next command on.
    void SetWaveFolder(std::string path);
    const std::string& WaveFolder() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
