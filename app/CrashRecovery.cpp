#include "app/CrashRecovery.h"

#include "app/MainFrame.h"
#include "app/MultiDDSTarnApp.h"
#include "app/MultiDDSTarnDoc.h"
#include "app/SetupCommands.h"
#include "control/SetupFile.h"
#include "i18n/FileAccess.h"
#include "res/Resource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include <sys/types.h>

namespace {

const char* const kMarkerSuffix = ".running";

/// "<pid>-<serial>.ddsetup": the run and the order its device was opened in.
QString SetupName(qint64 pid, int serial) {
    return QStringLiteral("%1-%2%3").arg(pid).arg(serial).arg(
        QString::fromLatin1(CSetupFile::kExtension));
}

} // namespace

CCrashRecovery::CCrashRecovery(QString folder, QObject* parent)
    : QObject(parent), m_strFolder(std::move(folder)) {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CCrashRecovery::SaveNow);
}

CCrashRecovery::~CCrashRecovery() = default;

QString CCrashRecovery::DefaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // Only an absolute path counts, as the base directory rules say.
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/ddstarn-usb");
}

QString CCrashRecovery::MarkerPath(qint64 pid) const {
    return m_strFolder + QLatin1Char('/') + QString::number(pid) + QLatin1String(kMarkerSuffix);
}

bool CCrashRecovery::IsRunning(qint64 pid) const {
    if (pid == QCoreApplication::applicationPid())
        return m_bStarted; // else an earlier run that had our number left it
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

QStringList CCrashRecovery::DeadMarkers() const {
    QStringList dead;
    const QDir folder(m_strFolder);
    for (const QString& name :
         folder.entryList({QLatin1String("*") + QLatin1String(kMarkerSuffix)}, QDir::Files)) {
        bool ok = false;
        const qint64 pid = name.chopped(int(qstrlen(kMarkerSuffix))).toLongLong(&ok);
        if (ok && !IsRunning(pid))
            dead << name.chopped(int(qstrlen(kMarkerSuffix)));
    }
    return dead;
}

QStringList CCrashRecovery::LeftBehind() const {
    QStringList files;
    const QDir folder(m_strFolder);
    for (const QString& pid : DeadMarkers()) {
        QStringList names = folder.entryList(
            {pid + QStringLiteral("-*") + QString::fromLatin1(CSetupFile::kExtension)},
            QDir::Files);
        const auto serial = [&](const QString& name) {
            return name.mid(pid.size() + 1).section(QLatin1Char('.'), 0, 0).toInt();
        };
        std::sort(names.begin(), names.end(),
                  [&](const QString& a, const QString& b) { return serial(a) < serial(b); });
        for (const QString& name : names)
            files << folder.filePath(name);
    }
    return files;
}

void CCrashRecovery::Start() {
    if (!QDir().mkpath(m_strFolder))
        return; // no state folder: the program runs without recovery
    QFile marker(MarkerPath(QCoreApplication::applicationPid()));
    if (!marker.open(QIODevice::WriteOnly))
        return;
    marker.close();
    m_bStarted = true;
    m_timer.start();
}

void CCrashRecovery::SaveNow() {
    CMainFrame* frame = CMainFrame::Get();
    if (!m_bStarted || !frame)
        return;
    QHash<const CMultiDDSTarnDoc*, Saved> open;
    for (const CMultiDDSTarnDoc* doc : frame->m_documents) {
        Saved saved = m_saved.take(doc);
        if (saved.strPath.isEmpty())
            saved.strPath = m_strFolder + QLatin1Char('/') +
                            SetupName(QCoreApplication::applicationPid(), m_nNextSerial++);
        std::string text = CSetupFile::Format(CSetupCommands::Capture(*doc));
        if (text != saved.text && CFileAccess::ReplaceAll(saved.strPath.toStdString(), text) == 0)
            saved.text = std::move(text);
        open.insert(doc, std::move(saved));
    }
    for (const Saved& closed : std::as_const(m_saved))
        QFile::remove(closed.strPath);
    m_saved = std::move(open);
}

void CCrashRecovery::Finish() {
    if (!m_bStarted)
        return;
    m_timer.stop();
    for (const Saved& saved : std::as_const(m_saved))
        QFile::remove(saved.strPath);
    m_saved.clear();
    QFile::remove(MarkerPath(QCoreApplication::applicationPid()));
    m_bStarted = false;
}

bool CCrashRecovery::AskRestore(int count) const {
    const QString answer = qEnvironmentVariable(kAnswerVariable);
    if (!answer.isEmpty())
        return answer.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
    CMainFrame* frame = CMainFrame::Get();
    QString question = frame ? frame->GetText(IDS_RECOVER_QUESTION) : QString();
    if (question.isEmpty())
        question = QStringLiteral("DDS-Tarn USB did not end normally last time. Restore the "
                                  "device windows it had open (%d)?");
    question.replace(QLatin1String("%d"), QString::number(count));
    return QMessageBox::question(frame, QString::fromLatin1(CMainFrame::kAppTitle), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

int CCrashRecovery::OfferRestore(CMultiDDSTarnApp& app) {
    const QStringList files = LeftBehind();
    int restored = 0;
    if (!files.isEmpty() && AskRestore(int(files.size()))) {
        for (const QString& path : files) {
            CMainFrame* frame = CMainFrame::Get();
            CMultiDDSTarnDoc* doc =
                path == files.constFirst() && frame && !frame->m_documents.isEmpty()
                    ? frame->m_documents.constFirst()
                    : app.OpenNewDocument();
            // A file that went bad says so and leaves its window as a new one.
            if (doc && CSetupCommands::Open(*doc, path))
                ++restored;
        }
    }
    for (const QString& pid : DeadMarkers()) {
        const QDir folder(m_strFolder);
        for (const QString& name : folder.entryList(
                 {pid + QStringLiteral("-*") + QString::fromLatin1(CSetupFile::kExtension)},
                 QDir::Files))
            QFile::remove(folder.filePath(name));
        QFile::remove(folder.filePath(pid + QLatin1String(kMarkerSuffix)));
    }
    return restored;
}

void CCrashRecovery::OfferRestoreWhenShown(CMultiDDSTarnApp& app) {
    m_waitForShow.setInterval(50);
    connect(&m_waitForShow, &QTimer::timeout, this, [this, &app] {
        CMainFrame* frame = CMainFrame::Get();
        if (frame && !frame->isVisible())
            return;
        m_waitForShow.stop();
        if (frame)
            OfferRestore(app);
    });
    m_waitForShow.start();
}
