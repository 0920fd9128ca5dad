#pragma once
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class CMultiDDSTarnApp;
class CMultiDDSTarnDoc;

/// Keeps the setup of every open device in the user's state folder while the program runs,
/// with a marker naming the run, so that after a run that ended abnormally the next start can
/// offer its device windows back. A normal end leaves nothing behind.
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

    /// Setup files of earlier runs whose marker remains while their process is gone, in the
    /// order their devices were opened.
    QStringList LeftBehind() const;
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

private:
    QString MarkerPath(qint64 pid) const;
    bool IsRunning(qint64 pid) const;
    /// Markers of dead runs.
    QStringList DeadMarkers() const;
    bool AskRestore(int count) const;

    QString m_strFolder;
    QTimer m_timer;
    QTimer m_waitForShow;
    bool m_bStarted = false;
    int m_nNextSerial = 1;
    struct Saved {
        QString strPath;
        std::string text; ///< As last written.
    };
    QHash<const CMultiDDSTarnDoc*, Saved> m_saved;
};
