#pragma once
#include "control/DeviceSetup.h"

#include <QString>

#include <string>

class CMultiDDSTarnDoc;

/// Utility > Save Setup... and Open Setup...: a device window as a setup, and a setup put
/// into a device window (record, display, tab name) with the unit following.
class CSetupCommands {
public:
    /// Everything the document's window is now.
    static CDeviceSetup Capture(const CMultiDDSTarnDoc& doc);
    /// Puts a setup into the document's device and window.
    static void Apply(CMultiDDSTarnDoc& doc, const CDeviceSetup& setup);

    /// Writes the window's setup to path (replaced only once complete). A failure shows its
    /// message in a box, or hands it back in message when given.
    static bool Save(CMultiDDSTarnDoc& doc, const QString& path, std::string* message = nullptr);
    /// Reads path and applies it; a file that cannot be read or is broken changes nothing.
    static bool Open(CMultiDDSTarnDoc& doc, const QString& path, std::string* message = nullptr);

    /// The menu commands: ask for a file, then Save or Open.
    static void OnSaveSetup(CMultiDDSTarnDoc& doc);
    static void OnOpenSetup(CMultiDDSTarnDoc& doc);
};
