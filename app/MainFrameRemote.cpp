// The main frame's remote control: the setting at start-up and Utility > Remote Control...
#include "app/MainFrame.h"
#include "app/MultiDDSTarnApp.h"
#include "app/RemoteControl.h"
#include "dialogs/RemoteControlDlg.h"
#include "i18n/LanguageManager.h"
#include "i18n/ProgramPaths.h"
#include "res/Resource.h"

#include <QFile>
#include <QMessageBox>

namespace {

CSettingsFile Settings() {
    return CSettingsFile(CMultiDDSTarnApp::Paths().PrepareSettingsFolder());
}

/// Runs the server as `remote` says; a server that cannot listen is the user's to know.
bool Apply(CMainFrame& frame, CRemoteControl& control, const CSettingsFile::Remote& remote) {
    QString error;
    if (control.Apply(remote, error))
        return true;
    QString text = frame.GetText(IDS_REMOTE_LISTEN_FAILED);
    if (text.isEmpty())
        text = QStringLiteral("Remote control cannot listen: ");
    QMessageBox::warning(&frame, QString::fromLatin1(CMainFrame::kAppTitle), text + error);
    return false;
}

} // namespace

void CMainFrame::StartRemote(int scpiPort, const QString& dataDir) {
    CSettingsFile::Remote remote = Settings().LoadRemote();
    if (scpiPort > 0) {
        remote.bEnabled = true;
        remote.nPort = scpiPort;
    }
    if (!dataDir.isEmpty())
        remote.strDataDir = QFile::encodeName(dataDir).toStdString();
    Apply(*this, *m_pRemote, remote);
}

void CMainFrame::OnRemoteControl() {
    CRemoteControlDlg dialog(
        m_pRemote->Setting(), [this] { return m_pRemote->Clients(); }, *m_pLanguage, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Only a setting that works is kept for the next start.
    if (Apply(*this, *m_pRemote, dialog.m_remote))
        Settings().SaveRemote(dialog.m_remote);
    OnTimer();
}
