#pragma once
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class CMultiDDSTarnApp;
class CMultiDDSTarnDoc;

/// Keeps the setup of every open device in the user's state folder while the program runs,
/// with a marker named by the run's own id that the run holds locked for its life, so that after
/// a run that ended abnormally (its lock is free) the next start can offer its device windows
/// back, and no other run, even one whose process number it shares, ever touches them. A normal
/// end leaves nothing behind.
class CCrashRecovery : public QObject {
    Q_OBJECT

public:
    /// Most often a changed setup is written.
    static constexpr int kIntervalMs = 2000;
    /// Set to "yes" or "no", it answers the restore question without showing it.
    static constexpr const char* kAnswerVariable = "DDSTARN_RESTORE_ANSWER";

    /// Works in folder, by default $XDG_STATE_HOME/ddstarn-usb (~/.local/state/ddstarn-usb).
    explicit CCrashRecovery(QString folder = DefaultFolder(), QObject* parent = nullptr);
    ~CCrashRecovery() override;

    static QString DefaultFolder();
    const QString& Folder() const { return m_strFolder; }

    /// Setup files of earlier runs whose marker remains with nobody holding its lock, in the
    /// order their devices were opened. Those runs are claimed (their locks held) until
    /// OfferRestore or Finish, so that no other instance offers them too.
    QStringList LeftBehind();
    /// Marks this run and saves every few seconds from now on.
    void Start();
    /// Writes the setup of each open device whose setup changed since it was last written,
    /// and removes those of devices closed since.
    void SaveNow();
    /// A normal end: this run's marker and setups go.
    void Finish();

    /// Asks whether to restore the devices of LeftBehind (nothing to ask: nothing happens).
    /// Yes: the first setup goes into the device window the start opened, each further one
    /// into a new window. Either way the files of those runs are removed. Returns the number
    /// of windows restored.
    int OfferRestore(CMultiDDSTarnApp& app);
    /// OfferRestore once the main window is on the screen.
    void OfferRestoreWhenShown(CMultiDDSTarnApp& app);

    /// This run's id, unique among runs; empty before Start.
    const QString& RunId() const { return m_strRunId; }

private:
    QString MarkerPath(const QString& run) const;
    /// Setup files of a run, in the order its devices were opened.
    QStringList SetupsOf(const QString& run) const;
    /// Takes the lock of every run that ended without its lock's release.
    void ClaimEndedRuns();
    /// Removes the files of the claimed runs and lets their locks go.
    void RemoveClaimed();
    bool AskRestore(int count) const;

    QString m_strFolder;
    QTimer m_timer;
    QTimer m_waitForShow;
    bool m_bStarted = false;
    QString m_strRunId;
    int m_nLockFd = -1; ///< This run's marker, locked while it runs.
    /// Ended runs whose locks this one holds, by run id.
    QHash<QString, int> m_claimed;
    int m_nNextSerial = 1;
    struct Saved {
        QString strPath;
        std::string text; ///< As last written.
    };
    QHash<const CMultiDDSTarnDoc*, Saved> m_saved;
};
