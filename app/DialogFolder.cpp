#include "app/DialogFolder.h"

#include "app/MultiDDSTarnApp.h"
#include "i18n/ProgramPaths.h"
#include "i18n/SettingsFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

int CDialogFolder::Exec(QFileDialog& dialog, const char* kind) {
    const CSettingsFile settings(CMultiDDSTarnApp::Paths().PrepareSettingsFolder());
    const QString folder = QString::fromStdString(settings.LoadFolder(kind));
    // A folder removed since opens where the dialog would open anyway.
    if (!folder.isEmpty() && QDir(folder).exists())
        dialog.setDirectory(folder);
    const int result = dialog.exec();
    if (result == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        settings.SaveFolder(
            kind, QFileInfo(dialog.selectedFiles().constFirst()).absolutePath().toStdString());
    return result;
}
