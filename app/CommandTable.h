#pragma once
#include <QKeySequence>
#include <QList>
#include <QString>

#include <span>

/// One entry of menu resource 128: its depth (0 = menu bar), its command (0 separator,
/// -1 drop-down) and its caption in the template (a shortcut hint after a tab).
struct SMenuEntry {
    int nLevel;
    int nId;
    const char* szCaption;
};

/// The menu bar, the main toolbar and what each command id needs to become an action: its
/// icon, its shortcuts and whether it needs a device.
class CCommandTable {
public:
    static constexpr int kSeparator = 0; ///< Command id of a separator.
    static constexpr int kDropDown = -1; ///< Command id of a drop-down menu.

    /// Menu resource 128 in item order.
    static std::span<const SMenuEntry> MainMenu();
    /// Main toolbar 133 in button order.
    static std::span<const int> MainToolbar();
    /// Answered by a device's view or document only.
    static bool IsDeviceCommand(int id);
    /// Always answered by the frame or the application.
    static bool IsFrameCommand(int id);
    /// Grayed in the menu template until an update rule enables it.
    static bool IsInitiallyGrayed(int id);
    /// Resource path of the command's icon, or empty.
    static QString IconPath(int id);
    /// Keys of the accelerator table that run the command.
    static QList<QKeySequence> Shortcuts(int id);
};
