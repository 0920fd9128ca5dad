#pragma once
#include "control/DeviceSetup.h"

#include <cstddef>
#include <string>

/// The device setup file: "[Setup]", "Version=1", then one "Key=value" line per setting of
/// CDeviceSetup, the Arb table as one comma-separated line. Reading ignores other sections and
/// unknown keys, and a missing key keeps the value a new device window has; anything else that
/// is not what Format writes refuses the whole file.
class CSetupFile {
public:
    static constexpr int kVersion = 1;
    /// Longest text Parse accepts: a full table takes about 60 KiB.
    static constexpr std::size_t kMaxBytes = std::size_t(1) << 20;
    /// Most entries of the Arb table.
    static constexpr std::size_t kMaxArbPoints = 4096;
    static constexpr const char* kExtension = ".ddsetup";

    /// The file's text, LF line ends; every number reads back to the same value.
    static std::string Format(const CDeviceSetup& setup);
    /// Reads a file's text into setup, which is only written when the whole text is good.
    /// Otherwise false, and error says why (with the line number where one is to blame).
    static bool Parse(const std::string& text, CDeviceSetup& setup, std::string& error);
};
