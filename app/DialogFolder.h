#pragma once

class QFileDialog;

/// Runs a file dialog in the folder where the same kind of dialog was last left, in this run
/// or an earlier one, and remembers the folder of a chosen file (settings section "Folders").
class CDialogFolder {
public:
    /// Kinds of file dialog, each with a folder of its own.
    static constexpr const char* kCsv = "Csv";
    static constexpr const char* kSetup = "Setup";
    static constexpr const char* kImport = "Import";
    static constexpr const char* kExport = "Export";

    /// The dialog's exec result.
    static int Exec(QFileDialog& dialog, const char* kind);
};
