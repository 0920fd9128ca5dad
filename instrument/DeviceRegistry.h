#pragma once
#include "formats/CsvFile.h"

#include <string>

class CDeviceControl;

/// The devices a remote client may address, in tab order: the main frame's documents in the
/// program, the headless host's own records without it. Every call comes on the thread that
/// runs the remote sessions (the user-interface thread in the program).
class CDeviceRegistry {
public:
    virtual ~CDeviceRegistry() = default;

    virtual int Count() const = 0;
    /// The name shown in the device's tab ("Device 1", "Demo 1", or what the user named it).
    virtual std::string Name(int index) const = 0;
    /// The device's control, or null for an index out of range.
    virtual CDeviceControl* Control(int index) = 0;
    /// Makes a CSV waveform file's wave, read already, the device's Arb wave exactly as
    /// File > Open does; path is the file the device now names. False for no such device.
    virtual bool ApplyCsv(int index, const std::string& path, const CCsvFile::Wave& wave) = 0;
    /// Writes the device's Arb points exactly as File > Save As does (the same rules and
    /// messages), through target when given, else to path; false with the message in error.
    virtual bool StoreCsv(int index, const std::string& path, const CCsvFile::Target* target,
                          std::string& error) = 0;
    /// Makes wave (one period, its sample rate implying the frequency) the device's Arb wave
    /// the way a CSV file read and an imported wave become it. Here: the record takes it and
    /// the Arb switch keeps the table; a registry with windows also updates and records them.
    virtual void ApplyArbWave(int index, const CCsvFile::Wave& wave);
};
