#pragma once

class CLanguageManager;
class QMenu;
class QMenuBar;
class QWidget;

/// Puts the current language's texts on windows and menus. Controls are found by their
/// "ctrlId" dynamic property (the key of their caption); menu items by their position key.
class CWindowTexts {
public:
    /// Re-texts every descendant of root that carries "ctrlId" and has a text for it: labels,
    /// buttons, group boxes and any widget with a writable "text" property. A window root with
    /// "ctrlId" (a dialog's template id) gets that key's exact text as its title, empty when
    /// there is none. Controls without a text keep theirs.
    static void ApplyToWindow(QWidget* root, const CLanguageManager& language);
    /// Re-texts the menu bar's items and their drop-downs, four levels deep, by position key
    /// (separators count as positions but are never changed).
    static void ApplyToMenu(QMenuBar* menuBar, const CLanguageManager& language);
    /// The same for one drop-down whose position path from the menu bar is given.
    static void ApplyToMenu(QMenu* menu, const int* positions, int depth,
                            const CLanguageManager& language);
};
