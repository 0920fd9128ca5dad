#pragma once
// The whole program in-process on the test's QApplication, with a simulated generator bank,
// a program folder of its own and an answerer for the modal dialogs it raises.
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnApp.h"
#include "app/MultiDDSTarnDoc.h"
#include "app/TabStrip.h"
#include "dialogs/DeviceListDlg.h"
#include "engine/DDSDevice.h"
#include "hwsim/SimControl.h"
#include "res/Resource.h"
#include "view/MultiDDSTarnView.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

/// Answers every modal dialog that opens: message boxes are recorded and confirmed, the Device
/// List is handled by `m_nChooseRow` (a row to take, or -1 to cancel).
class CModalAnswerer {
public:
    CModalAnswerer() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Answer(); });
        m_timer.start(5);
    }

    QStringList m_messages;    ///< Texts of the message boxes seen.
    QStringList m_deviceList;  ///< Caption, column title and rows of the last Device List seen.
    QStringList m_deviceMarks; ///< The second column of its rows.
    int m_nDeviceLists = 0;
    int m_nChooseRow = 0;
    /// Answers any other dialog first; true when it did.
    std::function<bool(QWidget*)> m_answerOther;
    /// Stops looking while the program alone is measured; its 5 ms wake-ups are not the
    /// program's.
    void Pause(bool paused) { paused ? m_timer.stop() : m_timer.start(5); }

private:
    void Answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_messages << box->text();
            box->accept();
        } else if (auto* list = qobject_cast<CDeviceListDlg*>(modal)) {
            QTreeWidget* rows = list->List();
            ++m_nDeviceLists;
            m_deviceList = QStringList{list->windowTitle(), rows->headerItem()->text(0)};
            m_deviceMarks.clear();
            for (int i = 0; i < rows->topLevelItemCount(); ++i) {
                m_deviceList << rows->topLevelItem(i)->text(0);
                m_deviceMarks << rows->topLevelItem(i)->text(1);
            }
            rows->setCurrentItem(rows->topLevelItem(m_nChooseRow));
            m_nChooseRow < 0 ? list->reject() : list->findChild<QPushButton*>()->click();
        } else if (modal && !(m_answerOther && m_answerOther(modal))) {
            modal->close();
        }
    }

    QTimer m_timer;
};

/// Starts the program with `units` simulated generators in a temporary program folder (its
/// config.ini and language files are the test's own); `chooseRow` answers the Device Lists.
class CProgram {
public:
    /// `prepareApp` sees the program before it starts, e.g. to name files to open.
    explicit CProgram(int units, int chooseRow = 0,
                      const std::function<void(const QString&)>& prepareFolder = {},
                      const std::function<void(CMultiDDSTarnApp&)>& prepareApp = {}) {
        m_answerer.m_nChooseRow = chooseRow;
        SimReset(units);
        if (prepareFolder)
            prepareFolder(m_folder.path());
        m_pApp = std::make_unique<CMultiDDSTarnApp>(
            [](CMultiDDSTarnDoc* doc) -> CDeviceView* { return new CMultiDDSTarnView(doc); });
        m_pApp->m_strProgramFolder = m_folder.path();
        if (prepareApp)
            prepareApp(*m_pApp);
        m_bStarted = m_pApp->InitInstance();
    }

    CMainFrame* Frame() const { return CMainFrame::Get(); }
    CMultiDDSTarnDoc* Doc(int i) const { return Frame()->m_documents.value(i); }
    CMultiDDSTarnView* View(int i = 0) const {
        return static_cast<CMultiDDSTarnView*>(Doc(i)->m_pView);
    }
    CDDSDevice* Device(int i = 0) const { return Doc(i)->m_pDevice; }
    int Count() const { return int(Frame()->m_documents.size()); }
    CMultiDDSTarnDoc* Open() { return m_pApp->OpenNewDocument(); }
    QMenu* Menu(int top) const { return Frame()->menuBar()->actions().value(top)->menu(); }
    /// Shows the main window; null unless it became the active window.
    CMainFrame* Shown() const {
        Frame()->show();
        Frame()->activateWindow();
        return QTest::qWaitForWindowActive(Frame()) ? Frame() : nullptr;
    }
    /// Whether the frame's current tab, the tab strip and the active window all name device i.
    bool IsCurrent(int i) const {
        return Frame()->m_nCurrentTab == i && Frame()->TabStrip()->currentIndex() == i &&
               Frame()->MdiArea()->currentSubWindow() == Doc(i)->m_pFrame;
    }
    void Exit() { m_pApp->ExitInstance(); }
    QString Folder() const { return m_folder.path(); }
    QStringList Names() const {
        QStringList names;
        for (CMultiDDSTarnDoc* doc : Frame()->m_documents)
            names << doc->m_strDeviceName;
        return names;
    }

    bool m_bStarted = false;
    CModalAnswerer m_answerer;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<CMultiDDSTarnApp> m_pApp; // last: the program goes before its folder
};

/// The simulated bank's logged calls that begin with `prefix`, oldest first.
inline QStringList SimCalls(const char* prefix) {
    QStringList calls;
    for (const std::string& call : SimCallLog())
        if (call.starts_with(prefix))
            calls << QString::fromStdString(call);
    return calls;
}

/// Writes a file of the given bytes, making its folder; its path.
inline QString WriteTextFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

/// Copies a shipped language file into a program folder's "language" folder.
inline void InstallLanguage(const QString& folder, const QString& name) {
    QDir(folder).mkpath(QStringLiteral("language"));
    QFile::copy(QStringLiteral(DDSTARN_SOURCE_DIR "/language/") + name,
                folder + QStringLiteral("/language/") + name);
}
