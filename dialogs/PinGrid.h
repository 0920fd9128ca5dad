#pragma once
#include <QString>

class CPinButton;
class QDialog;

/// The common frame of the digital I/O dialogs: a titled group of pin boxes, six to a row, each
/// under its line's name, and an OK button that hides the dialog.
class CPinGrid {
public:
    /// Fills dialog with the group (language key groupId) and pins boxes named prefix + k,
    /// storing them in pins[0..count-1].
    static void Build(QDialog* dialog, int groupId, const QString& prefix, CPinButton** pins,
                      int count);
};
