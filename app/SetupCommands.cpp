#include "app/SetupCommands.h"

#include "app/DeviceView.h"
#include "app/DialogFolder.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnDoc.h"
#include "control/DeviceControl.h"
#include "control/SetupFile.h"
#include "i18n/FileAccess.h"
#include "res/Resource.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QString Text(int id, const char* fallback) {
    CMainFrame* frame = CMainFrame::Get();
    const QString text = frame ? frame->GetText(id) : QString();
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

bool Fail(const CMultiDDSTarnDoc& doc, int textId, const char* fallback, const std::string& detail,
          std::string* message) {
    if (message) {
        *message = detail;
        return false;
    }
    QMessageBox::warning(doc.DialogParent(), QString::fromLatin1(CMainFrame::kAppTitle),
                         Text(textId, fallback) + QLatin1Char('\n') +
                             QString::fromUtf8(detail.c_str()));
    return false;
}

QString AskPath(const CMultiDDSTarnDoc& doc, bool save) {
    QFileDialog dialog(doc.DialogParent(), save ? Text(IDS_SETUP_SAVE_TITLE, "Save Device Setup")
                                                : Text(IDS_SETUP_OPEN_TITLE, "Open Device Setup"));
    dialog.setNameFilters(
        {Text(IDS_SETUP_FILTER, "Device setups (*.ddsetup)"), QStringLiteral("*")});
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setDefaultSuffix(QString::fromLatin1(CSetupFile::kExtension + 1));
    if (CDialogFolder::Exec(dialog, CDialogFolder::kSetup) != QDialog::Accepted ||
        dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

CDeviceSetup CSetupCommands::Capture(const CMultiDDSTarnDoc& doc) {
    CDeviceSetup setup;
    if (doc.m_pControl)
        doc.m_pControl->CaptureSetup(setup);
    if (doc.m_bUserNamed)
        setup.m_strTabName = doc.m_strDeviceName.toStdString();
    if (doc.m_pView)
        doc.m_pView->CaptureWindowSetup(setup);
    return setup;
}

void CSetupCommands::Apply(CMultiDDSTarnDoc& doc, const CDeviceSetup& setup) {
    if (!doc.m_pControl)
        return;
    // The panel follows the record at the view's next tick, as it does for a remote client.
    if (doc.m_pControl->ApplySetup(setup).bForgetFile) {
        doc.m_strFileName = QString::fromLatin1(CMultiDDSTarnDoc::kNoFile);
        doc.m_strFilePath.clear();
    }
    if (doc.m_pView)
        doc.m_pView->ApplyWindowSetup(setup);
    const QString name = QString::fromStdString(setup.m_strTabName).trimmed();
    CMainFrame* frame = CMainFrame::Get();
    if (!name.isEmpty() && frame && name != doc.m_strDeviceName) {
        frame->RenameDocument(doc.m_nIndex, name); // refused when another tab has the name
        if (doc.m_strDeviceName == name)
            doc.m_bUserNamed = 1;
    }
}

bool CSetupCommands::Save(CMultiDDSTarnDoc& doc, const QString& path, std::string* message) {
    const std::string file = path.toStdString();
    const int failure = CFileAccess::ReplaceAll(file, CSetupFile::Format(Capture(doc)));
    if (failure != 0)
        return Fail(doc, IDS_SETUP_SAVE_FAILED, "The device setup cannot be saved.",
                    CFileAccess::Describe(failure, file), message);
    return true;
}

bool CSetupCommands::Open(CMultiDDSTarnDoc& doc, const QString& path, std::string* message) {
    const std::string file = path.toStdString();
    std::string text;
    std::string error;
    const int failure = CFileAccess::ReadAll(file, text, CSetupFile::kMaxBytes + 1);
    if (failure != 0)
        error = CFileAccess::Describe(failure, file);
    CDeviceSetup setup;
    if (failure == 0 && !CSetupFile::Parse(text, setup, error))
        error = file + ": " + error;
    if (!error.empty())
        return Fail(doc, IDS_SETUP_OPEN_FAILED, "The device setup cannot be opened.", error,
                    message);
    Apply(doc, setup);
    return true;
}

void CSetupCommands::OnSaveSetup(CMultiDDSTarnDoc& doc) {
    const QString path = AskPath(doc, true);
    if (!path.isEmpty())
        Save(doc, path);
}

void CSetupCommands::OnOpenSetup(CMultiDDSTarnDoc& doc) {
    const QString path = AskPath(doc, false);
    if (!path.isEmpty())
        Open(doc, path);
}
