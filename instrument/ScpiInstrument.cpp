#include "instrument/ScpiInstrument.h"

#include "instrument/DeviceRegistry.h"
#include "instrument/InstrumentSession.h"
#include "instrument/WaveFolder.h"
#include "scpi/ScpiSession.h"

struct CScpiInstrument::Impl {
    CDeviceRegistry& devices;
    std::string version;
    CInstrumentSession::Sweeps sweeps;
    CWaveFolder folder;
    /// What benchtop-style clients set on each device, shared by every connection.
    CBenchStates benches;

    /// A sweep whose device was closed since it started is dropped, never touched again.
    bool Running(CRemoteSweep& sweep) const {
        if (!sweep.Control())
            return false;
        for (int i = 0; i < devices.Count(); ++i)
            if (devices.Control(i) == sweep.Control())
                return sweep.Running();
        sweep.Drop();
        return false;
    }
};

CScpiInstrument::CScpiInstrument(CDeviceRegistry& devices, std::string version,
                                 std::string waveFolder)
    : m_pImpl(new Impl{devices, std::move(version), {}, CWaveFolder(std::move(waveFolder)), {}}) {}

CScpiInstrument::~CScpiInstrument() = default;

std::unique_ptr<CScpiSession> CScpiInstrument::NewSession() {
    // The hooks own the session's state and table, so both live exactly as long as the
    // session that refers to them.
    auto state = std::make_shared<CInstrumentSession>(
        m_pImpl->devices, m_pImpl->version, m_pImpl->sweeps, m_pImpl->folder, m_pImpl->benches);
    CScpiInstrumentHooks hooks;
    hooks.m_identify = [state] { return state->Identify(); };
    hooks.m_reset = [state] { state->Reset(); };
    hooks.m_operationsComplete = [state] { return state->OperationsComplete(); };
    return std::make_unique<CScpiSession>(state->Table(), std::move(hooks));
}

void CScpiInstrument::Tick() {
    const auto now = CRemoteSweep::Clock::now();
    for (auto& entry : m_pImpl->sweeps)
        if (m_pImpl->Running(entry.second))
            entry.second.Tick(now);
}

bool CScpiInstrument::SweepRunning() const {
    for (auto& entry : m_pImpl->sweeps)
        if (m_pImpl->Running(entry.second))
            return true;
    return false;
}

void CScpiInstrument::SetWaveFolder(std::string path) {
    m_pImpl->folder.SetPath(std::move(path));
}

const std::string& CScpiInstrument::WaveFolder() const {
    return m_pImpl->folder.Path();
}
