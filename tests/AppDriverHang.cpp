// A driver call that hangs holds only the device's worker: the window keeps taking commands,
// and Exit closes every device and stores the settings without waiting for the driver; the
// headless program's stop does not wait for it either.
#include "AppTestSupport.h"
#include "engine/DeviceWorker.h"
#include "remote/HeadlessHost.h"

#include <dlfcn.h>

class AppDriverHang : public QObject {
    Q_OBJECT

private slots:
    void ExitAbandonsAWorkerStuckInTheDriverAndKeepsTheSettings() {
        QTemporaryDir scratch;
        const QString hold = scratch.filePath(QStringLiteral("hold"));
        qputenv("DDSTARN_DRIVER", HANGING_DRIVER);
        qputenv("TINY_DRIVER_HOLD", hold.toLocal8Bit());
        CProgram program(0, 0,
                         [](const QString& folder) { InstallLanguage(folder, "German.lug"); });
        QVERIFY(program.m_bStarted && program.Device()->m_bDemo == 0);
        void* driver = dlopen(HANGING_DRIVER, RTLD_NOW | RTLD_NOLOAD);
        QVERIFY(driver);
        const auto held = reinterpret_cast<int (*)()>(dlsym(driver, "TinyDriverHeld"));
        QFile(hold).open(QIODevice::WriteOnly);
        QTRY_COMPARE(held(), 1);

        QVERIFY(program.Doc(0)->OnCommand(ID_PROGRAMMABLE_OUTPUT));
        QCOMPARE(program.Device()->m_nDIOMode, 1);
        program.Frame()->SetLanguage(0); // German.lug, away from English
        program.Exit();
        // Nothing waited for the driver to answer.
        QCOMPARE(std::pair(held(), CDeviceWorker::Abandoned()), std::pair(1, 1));
        QFile settings(program.Folder() + QStringLiteral("/config.ini"));
        QVERIFY(settings.open(QIODevice::ReadOnly) && settings.readAll().contains("Language=0"));

        QFile::remove(hold);
        QTRY_COMPARE(CDeviceWorker::Abandoned(), 0); // before the driver goes with the process
        dlclose(driver);
    }

    void HeadlessStopAbandonsTheWorkerStuckInTheDriverAndStopsTheOthers() {
        QTemporaryDir scratch;
        const QString hold = scratch.filePath(QStringLiteral("hold"));
        qputenv("DDSTARN_DRIVER", HANGING_DRIVER);
        qputenv("TINY_DRIVER_HOLD", hold.toLocal8Bit());
        CHeadlessHost host;
        QVERIFY(host.Count() > 1);
        void* driver = dlopen(HANGING_DRIVER, RTLD_NOW | RTLD_NOLOAD);
        QVERIFY(driver);
        const auto held = reinterpret_cast<int (*)()>(dlsym(driver, "TinyDriverHeld"));
        QFile(hold).open(QIODevice::WriteOnly);
        QTRY_COMPARE(held(), 1); // the step guard keeps the others out
        host.Stop();
        QCOMPARE(std::pair(held(), CDeviceWorker::Abandoned()), std::pair(1, 1));
        QFile::remove(hold);
        QTRY_COMPARE(CDeviceWorker::Abandoned(), 0);
        dlclose(driver);
    }
};

QTEST_MAIN(AppDriverHang)
#include "AppDriverHang.moc"
