// Device setups on the running program: a saved window comes back whole with one download,
// and the devices of a run that was killed are offered back.
#include "AppTestSupport.h"
#include "app/CrashRecovery.h"
#include "app/SetupCommands.h"
#include "control/DeviceControl.h"
#include "control/SetupFile.h"
#include "i18n/FileAccess.h"
#include "view/WaveDisplay.h"
#include "widgets/OnOff.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <csignal>
#include <sys/stat.h>

namespace {

/// The program itself, offscreen with one simulated unit, its state in `state`, answering the
/// restore question with `answer`; Query sends a remote command line.
struct SProcess {
    SProcess(const QString& state, const char* answer, const char* units = "1") {
        QTcpServer probe; // a port free a moment ago
        probe.listen(QHostAddress::LocalHost);
        m_nPort = probe.serverPort();
        probe.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), state);
        env.insert(QStringLiteral("DDSTARN_SIM_UNITS"), QString::fromLatin1(units));
        env.insert(QString::fromLatin1(CCrashRecovery::kAnswerVariable),
                   QString::fromLatin1(answer));
        m_process.setProcessEnvironment(env);
        m_process.start(QStringLiteral(DDSTARN_PROGRAM),
                        {QStringLiteral("--scpi=%1").arg(m_nPort)});
    }
    ~SProcess() { m_process.kill(), m_process.waitForFinished(); }
    QString Query(const char* line) {
        if (m_socket.state() != QAbstractSocket::ConnectedState) {
            m_socket.connectToHost(QHostAddress::LocalHost, quint16(m_nPort));
            m_socket.waitForConnected(500);
        }
        m_socket.write(QByteArray(line) + '\n');
        m_socket.waitForBytesWritten(1000);
        return m_socket.waitForReadyRead(1000) ? QString::fromLatin1(m_socket.readLine()) : "";
    }
    QProcess m_process;
    QTcpSocket m_socket;
    int m_nPort = 0;
};

} // namespace

class AppSetup : public QObject {
    Q_OBJECT

private slots:
    void openedSetupRestoresTheWindowWithOneDownload() {
        CProgram program(1);
        CMultiDDSTarnDoc& doc = *program.Doc(0);
        doc.m_pControl->SelectWaveType(WAVE_ARB);
        doc.m_pControl->SetDigitalOut(0x5A5);
        program.View()->Display()->m_crCurve = QColor(0x12, 0x34, 0x56);
        program.Frame()->RenameDocument(0, QStringLiteral("Bench"));
        doc.m_bUserNamed = 1;
        QTRY_VERIFY(program.View()->Worker().IsRunning() && program.Device()->CommandsDone());
        program.View()->OnCommand(ID_ZOOM_IN);
        const CDeviceSetup saved = CSetupCommands::Capture(doc);
        const QString path = program.Folder() + QStringLiteral("/bench.ddsetup");
        QVERIFY(saved.m_nZoom == 1 && CSetupCommands::Save(doc, path));

        doc.m_pControl->Reset();
        program.View()->Display()->m_crCurve = Qt::yellow;
        QTRY_VERIFY(program.Device()->CommandsDone());
        SimClearLog();
        QVERIFY(CSetupCommands::Open(doc, path));
        QTRY_VERIFY(program.Device()->CommandsDone());
        QCOMPARE(int(SimCalls("DDSDownload").size()), 1);
        QCOMPARE(SimGetUnit(0).digitalOut, 0x5A5);
        QTRY_VERIFY(CSetupCommands::Capture(doc) == saved); // zoom waits for the new plan
        QTRY_VERIFY(static_cast<COnOff*>(program.View()->Control(IDC_WAVE_ARB))->GetValue());
    }

    void aNormalRunLeavesNothingAndAKilledOneIsOffered() {
        QTemporaryDir state;
        CProgram program(1);
        CCrashRecovery run(state.path());
        run.Start();
        program.Open();
        run.SaveNow();
        program.Frame()->CloseDocumentAt(1);
        run.SaveNow();
        QCOMPARE(QDir(state.path()).entryList(QDir::Files).size(), 2); // marker, one setup
        QVERIFY(run.LeftBehind().isEmpty()); // a running program's own files
        run.Finish();
        QVERIFY(QDir(state.path()).isEmpty());

        // A run whose process is gone left two devices behind, serials 9 and 10.
        QProcess gone;
        gone.start(QStringLiteral("true"));
        const QString pid = QString::number(gone.waitForStarted() ? gone.processId() : 0);
        QVERIFY(gone.waitForFinished());
        for (const char* answer : {"no", "yes"}) {
            QFile(state.filePath(pid + QStringLiteral(".running"))).open(QIODevice::WriteOnly);
            for (double hz : {9.0, 10.0})
                CFileAccess::ReplaceAll(
                    state.filePath(pid + "-" + QString::number(hz) + ".ddsetup").toStdString(),
                    CSetupFile::Format({.m_dFrequency = hz * 100}));
            qputenv(CCrashRecovery::kAnswerVariable, answer);
            const int restored = run.OfferRestore(*CMultiDDSTarnApp::Get());
            QCOMPARE(std::tuple(restored, program.Count(), QDir(state.path()).isEmpty()),
                     std::tuple(*answer == 'y' ? 2 : 0, *answer == 'y' ? 2 : 1, true));
        }
        qunsetenv(CCrashRecovery::kAnswerVariable);
        QVERIFY(program.Device(0)->m_dFrequency == 900.0 &&
                program.Device(1)->m_dFrequency == 1000.0);
    }

    void runsAtOnceKeepTheirOwnAndOnlyRunsWithAFreeLockAreOffered() {
        QTemporaryDir state;
        CProgram program(1);
        // Two instances at once, as in two PID namespaces, where both may have the same number.
        CCrashRecovery first(state.path());
        CCrashRecovery second(state.path());
        first.Start();
        second.Start();
        first.SaveNow();
        second.SaveNow();
        QVERIFY(first.RunId() != second.RunId());
        QCOMPARE(QDir(state.path()).entryList(QDir::Files).size(), 4); // two markers and setups
        QVERIFY(first.LeftBehind().isEmpty() && second.LeftBehind().isEmpty());
        second.Finish();
        QCOMPARE(QDir(state.path()).entryList(QDir::Files),
                 QStringList({first.RunId() + "-1.ddsetup", first.RunId() + ".running"}));

        // Runs of earlier or other instances, named by a process number as old runs were: one
        // whose process lives on elsewhere, holding its lock (a child here), and one that
        // crashed with the very number this process has now.
        QProcess gone;
        gone.start(QStringLiteral("true"));
        const QString elsewhere = QString::number(gone.waitForStarted() ? gone.processId() : 0);
        QVERIFY(gone.waitForFinished());
        const QString crashed = QString::number(QCoreApplication::applicationPid());
        for (const QString& run : {elsewhere, crashed})
            CFileAccess::ReplaceAll(state.filePath(run + "-1.ddsetup").toStdString(),
                                    CSetupFile::Format({.m_dFrequency = 700}));
        QProcess holder;
        // Holds the lock until its input ends.
        holder.start(QStringLiteral("flock"),
                     {state.filePath(elsewhere + ".running"), QStringLiteral("cat")});
        QVERIFY(holder.waitForStarted());
        QFile(state.filePath(crashed + ".running")).open(QIODevice::WriteOnly);
        QTRY_VERIFY(QFile::exists(state.filePath(elsewhere + ".running")));
        QTest::qWait(300); // flock has made the file and locked it

        qputenv(CCrashRecovery::kAnswerVariable, "yes");
        QCOMPARE(first.OfferRestore(*CMultiDDSTarnApp::Get()), 1);
        QCOMPARE(QDir(state.path()).entryList(QDir::Files).size(), 4); // first's, elsewhere's
        QVERIFY(QFile::exists(state.filePath(elsewhere + "-1.ddsetup")));
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished());
        QCOMPARE(first.OfferRestore(*CMultiDDSTarnApp::Get()), 1);
        qunsetenv(CCrashRecovery::kAnswerVariable);
        QCOMPARE(QDir(state.path()).entryList(QDir::Files).size(), 2);
        first.Finish();
        QVERIFY(QDir(state.path()).isEmpty());
    }

    void theKilledProgramIsOfferedItsDevicesBack() {
        QTemporaryDir state;
        const QDir folder(state.filePath(QStringLiteral("ddstarn-usb")));
        const auto saved = [&] {
            for (const QString& name : folder.entryList({QStringLiteral("*.ddsetup")})) {
                QFile file(folder.filePath(name));
                if (file.open(QIODevice::ReadOnly) && file.readAll().contains("Frequency=2500\n"))
                    return true;
            }
            return false;
        };
        {
            SProcess first(state.path(), "no");
            QTRY_VERIFY_WITH_TIMEOUT(!first.Query("*IDN?").isEmpty(), 20000);
            first.Query("SOUR1:FREQ 2500");
            QTRY_VERIFY_WITH_TIMEOUT(saved(), 20000);
            // The state folder and its files are for this user's eyes alone.
            const auto mode = [](const QString& path) {
                struct stat st {};
                return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777
                                                                             : 0;
            };
            QCOMPARE(mode(folder.path()), mode_t(0700));
            for (const QString& name : folder.entryList(QDir::Files))
                QCOMPARE(mode(folder.filePath(name)), mode_t(0600));
            ::kill(pid_t(first.m_process.processId()), SIGKILL);
        }
        SProcess second(state.path(), "yes");
        QTRY_VERIFY_WITH_TIMEOUT(second.Query("SOUR1:FREQ?").toDouble() == 2500.0, 20000);
        // A stop by signal is an ordinary end: nothing is left to offer.
        second.m_process.terminate();
        QVERIFY(second.m_process.waitForFinished(20000));
        QCOMPARE(std::pair(second.m_process.exitStatus(), folder.isEmpty()),
                 std::pair(QProcess::NormalExit, true));
    }

    // A stop by signal while a modal dialog runs its own loop (three units: the Device List
    // at start) still ends the program, as an ordinary end.
    void signalEndsTheProgramBehindAModalDialog() {
        QTemporaryDir state;
        SProcess process(state.path(), "no", "3");
        QVERIFY(process.m_process.waitForStarted(20000));
        QTest::qWait(1500);
        process.m_process.terminate();
        QVERIFY(process.m_process.waitForFinished(20000));
        QCOMPARE(std::pair(process.m_process.exitStatus(), process.m_process.exitCode()),
                 std::pair(QProcess::NormalExit, 0));
    }
};

QTEST_MAIN(AppSetup)
#include "AppSetup.moc"
