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

#include <QUuid>

#include <algorithm>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kMarkerSuffix = ".running";

QString SetupExtension() {
    return QString::fromLatin1(CSetupFile::kExtension);
}

/// "<run>-<serial>.ddsetup": the run and the order its device was opened in.
QString SetupName(const QString& run, int serial) {
    return QStringLiteral("%1-%2%3").arg(run).arg(serial).arg(SetupExtension());
}

std::string Native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

/// The descriptor of path with an exclusive lock taken, or -1 when another holds it or path
/// went (a run that removed its marker between the look and the lock).
int TryLock(const QString& path, bool create) {
    const std::string file = Native(path);
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0),
                          CFileAccess::kPrivateFileMode);
    if (fd < 0)
        return -1;
    struct stat held;
    struct stat now;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 ||
        ::stat(file.c_str(), &now) != 0 || held.st_ino != now.st_ino || held.st_dev != now.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

CCrashRecovery::CCrashRecovery(QString folder, QObject* parent)
    : QObject(parent), m_strFolder(std::move(folder)) {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CCrashRecovery::SaveNow);
}

CCrashRecovery::~CCrashRecovery() {
    for (const int fd : std::as_const(m_claimed))
        ::close(fd);
    if (m_nLockFd >= 0)
        ::close(m_nLockFd);
}

QString CCrashRecovery::DefaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // Only an absolute path counts, as the base directory rules say.
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/ddstarn-usb");
}

QString CCrashRecovery::MarkerPath(const QString& run) const {
    return m_strFolder + QLatin1Char('/') + run + QLatin1String(kMarkerSuffix);
}

QStringList CCrashRecovery::SetupsOf(const QString& run) const {
    const QDir folder(m_strFolder);
    QStringList names =
        folder.entryList({run + QStringLiteral("-*") + SetupExtension()}, QDir::Files);
    const auto serial = [&](const QString& name) {
        return name.mid(run.size() + 1).section(QLatin1Char('.'), 0, 0).toInt();
    };
    std::sort(names.begin(), names.end(),
              [&](const QString& a, const QString& b) { return serial(a) < serial(b); });
    QStringList files;
    for (const QString& name : names)
        files << folder.filePath(name);
    return files;
}

void CCrashRecovery::ClaimEndedRuns() {
    const QDir folder(m_strFolder);
    for (const QString& name :
         folder.entryList({QLatin1String("*") + QLatin1String(kMarkerSuffix)}, QDir::Files)) {
        const QString run = name.chopped(int(qstrlen(kMarkerSuffix)));
        if (run == m_strRunId || m_claimed.contains(run))
            continue;
        // A lock that is free belongs to a run that ended without its normal end.
        const int fd = TryLock(folder.filePath(name), false);
        if (fd >= 0)
            m_claimed.insert(run, fd);
    }
}

QStringList CCrashRecovery::LeftBehind() {
    ClaimEndedRuns();
    QStringList runs = m_claimed.keys();
    runs.sort();
    QStringList files;
    for (const QString& run : std::as_const(runs))
        files << SetupsOf(run);
    return files;
}

void CCrashRecovery::RemoveClaimed() {
    for (auto it = m_claimed.cbegin(); it != m_claimed.cend(); ++it) {
        for (const QString& path : SetupsOf(it.key()))
            QFile::remove(path);
        // Removed while still locked, so no other instance takes it up in between.
        QFile::remove(MarkerPath(it.key()));
        ::close(it.value());
    }
    m_claimed.clear();
}

void CCrashRecovery::Start() {
    // No state folder: the program runs without recovery.
    if (m_bStarted || CFileAccess::MakePrivateFolder(Native(m_strFolder)) != 0)
        return;
    const QString run = QUuid::createUuid().toString(QUuid::Id128);
    m_nLockFd = TryLock(MarkerPath(run), true);
    if (m_nLockFd < 0)
        return;
    m_strRunId = run;
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
            saved.strPath = m_strFolder + QLatin1Char('/') + SetupName(m_strRunId, m_nNextSerial++);
        std::string text = CSetupFile::Format(CSetupCommands::Capture(*doc));
        if (text != saved.text && CFileAccess::ReplaceAll(Native(saved.strPath), text,
                                                          CFileAccess::kPrivateFileMode) == 0)
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
    QFile::remove(MarkerPath(m_strRunId));
    ::close(m_nLockFd);
    m_nLockFd = -1;
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
    RemoveClaimed();
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
