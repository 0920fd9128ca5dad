#pragma once
#include "instrument/DeviceRegistry.h"

class CMainFrame;

/// The main frame's devices as remote clients address them: its documents in tab order, named
/// as their tabs are, with File > Open's and File > Save As's rules but never a message box.
class CFrameDeviceRegistry : public CDeviceRegistry {
public:
    explicit CFrameDeviceRegistry(CMainFrame& frame) : m_frame(frame) {}

    int Count() const override;
    std::string Name(int index) const override;
    CDeviceControl* Control(int index) override;
    bool ApplyCsv(int index, const std::string& path, const CCsvFile::Wave& wave) override;
    bool StoreCsv(int index, const std::string& path, const CCsvFile::Target* target,
                  std::string& error) override;
    /// As Import Waveform: through the document, with an undo step and no file name.
    void ApplyArbWave(int index, const CCsvFile::Wave& wave) override;

private:
    CMainFrame& m_frame;
};
