// Start-up with no, one and several generators, binding, the Device List, the status bar and
// the main window's first showing.
#include "AppTestSupport.h"

#include "app/StatusPanes.h"
#include "app/TabStrip.h"
#include "res/Resource.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>

class AppStartup : public QObject {
    Q_OBJECT

private slots:
    void noGeneratorGivesDemoDevicesWithOneMessageEach();
    void oneGeneratorIsTakenWithoutAsking();
    void severalGeneratorsAskWithTheDeviceList();
    void cancelledDeviceListLeavesADemoDeviceWithoutMessage();
    void lostGeneratorShowsSearchingWithCyclingDots();
    void lastClosedDeviceLeavesNoItemAndHidesTheTabs();
    void clockTextAndPaneWidths();
    void firstTickShowsTheWindowWithTheDeviceMaximised();
};

void AppStartup::noGeneratorGivesDemoDevicesWithOneMessageEach() {
    CProgram program(0);
    QVERIFY(program.m_bStarted);
    QCOMPARE(program.Frame()->m_nFoundDevices, 0);
    QCOMPARE(program.m_answerer.m_messages,
             QStringList{"Haven't found hardware and the program will work in demo mode!!!"});
    QCOMPARE(program.Names(), QStringList{"Demo 1"});
    QVERIFY(program.Doc(0)->m_pDevice->m_bDemo);

    program.Frame()->OnTimer();
    QCOMPARE(program.Frame()->PaneText(0), QStringLiteral("Demo"));
    QCOMPARE(program.Frame()->PaneText(1), QString());

    program.Open();
    QCOMPARE(program.m_answerer.m_messages.size(), 2);
    QCOMPARE(program.Names(), (QStringList{"Demo 1", "Demo 2"}));
}

void AppStartup::oneGeneratorIsTakenWithoutAsking() {
    CProgram program(1);
    QVERIFY(program.m_answerer.m_messages.isEmpty());
    QCOMPARE(program.m_answerer.m_nDeviceLists, 0);
    QCOMPARE(int(program.Doc(0)->m_pDevice->m_bDemo), 0);
    QCOMPARE(int(program.Doc(0)->m_pDevice->m_nDevice), 0);
    QCOMPARE(program.Names(), QStringList{"Device 1"});

    program.Frame()->OnTimer();
    QCOMPARE(program.Frame()->PaneText(0), QStringLiteral("Connect"));
    QCOMPARE(program.Frame()->PaneText(1), QStringLiteral("Combine Device Serial Number : 0"));

    // The one generator is in use: the next device is a demo, with the message.
    program.Open();
    QCOMPARE(program.m_answerer.m_messages.size(), 1);
    QCOMPARE(program.Names(), (QStringList{"Device 1", "Demo 1"}));
}

void AppStartup::severalGeneratorsAskWithTheDeviceList() {
    CProgram program(3, 1);
    const CModalAnswerer& answerer = program.m_answerer;
    QCOMPARE(answerer.m_nDeviceLists, 1);
    QCOMPARE(answerer.m_deviceRows, (QStringList{"1", "2", "3"}));
    QCOMPARE(answerer.m_strListCaption, QStringLiteral("Device List"));
    QCOMPARE(answerer.m_strListColumn, QStringLiteral("Device"));
    QCOMPARE(int(program.Doc(0)->m_pDevice->m_nDevice), 1);

    // Generators 0 and 2 are left; the list offers only them.
    program.Open();
    QCOMPARE(answerer.m_deviceRows, (QStringList{"1", "3"}));
    QCOMPARE(int(program.Doc(1)->m_pDevice->m_nDevice), 2);

    // One left: taken without asking.
    program.Open();
    QCOMPARE(answerer.m_nDeviceLists, 2);
    QCOMPARE(int(program.Doc(2)->m_pDevice->m_nDevice), 0);
    QCOMPARE(program.Names(), (QStringList{"Device 1", "Device 2", "Device 3"}));
    QVERIFY(answerer.m_messages.isEmpty());
}

void AppStartup::cancelledDeviceListLeavesADemoDeviceWithoutMessage() {
    CProgram program(2, -1);
    QCOMPARE(program.m_answerer.m_nDeviceLists, 1);
    QVERIFY(program.m_answerer.m_messages.isEmpty());
    QVERIFY(program.Doc(0)->m_pDevice->m_bDemo);
    QCOMPARE(int(program.Doc(0)->m_pDevice->m_nDevice), -1);
    QCOMPARE(program.Names(), QStringList{"Demo 1"});
}

void AppStartup::lostGeneratorShowsSearchingWithCyclingDots() {
    CProgram program(1);
    const QString searching = QStringLiteral("Searching for hardware");
    SimUnplug(0);
    QTRY_VERIFY(program.Doc(0)->m_pDevice->m_bLost);
    int dots = 0;
    for (int tick = 0; tick < 8; ++tick) {
        program.Frame()->OnTimer();
        const QString text = program.Frame()->PaneText(0);
        QVERIFY(text.startsWith(searching));
        const int now = int(text.size() - searching.size());
        QVERIFY(now >= 1 && now <= 6);
        if (tick > 0)
            QCOMPARE(now, dots % 6 + 1);
        dots = now;
        QCOMPARE(program.Frame()->PaneText(1),
                 QStringLiteral("Combine Device Serial Number : ..."));
    }
    SimReplug(0);
    QTRY_VERIFY(!program.Doc(0)->m_pDevice->m_bLost);
    program.Frame()->OnTimer();
    QCOMPARE(program.Frame()->PaneText(0), QStringLiteral("Connect"));
}

void AppStartup::lastClosedDeviceLeavesNoItemAndHidesTheTabs() {
    CProgram program(1);
    program.Frame()->show();
    QVERIFY(program.Frame()->TabBar()->isVisible());
    program.Frame()->CloseDocumentAt(0);
    QCOMPARE(program.Count(), 0);
    program.Frame()->OnTimer();
    QCOMPARE(program.Frame()->PaneText(0), QStringLiteral("No Item"));
    QCOMPARE(program.Frame()->PaneText(1), QString());
    QVERIFY(!program.Frame()->TabBar()->isVisible());
    QTRY_VERIFY(program.Frame()->MdiArea()->subWindowList().isEmpty());
    // The generator is free again.
    program.Open();
    QCOMPARE(int(program.Doc(0)->m_pDevice->m_nDevice), 0);
    QCOMPARE(program.Names(), QStringList{"Device 1"});
}

void AppStartup::clockTextAndPaneWidths() {
    const QDateTime when(QDate(2026, 12, 4), QTime(13, 5, 59));
    QCOMPARE(CStatusPanes::ClockText(when), QStringLiteral("04.12.2026  13:05    "));
    int widths[3];
    CStatusPanes::PaneWidths(801, 120, widths);
    QCOMPARE(widths[2], 130);
    QCOMPARE(widths[0], 335); // (801 - 130) / 2 truncated
    QCOMPARE(widths[1], 335);
}

void AppStartup::firstTickShowsTheWindowWithTheDeviceMaximised() {
    CProgram program(1);
    CMainFrame* frame = program.Frame();
    QVERIFY(!frame->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(frame->isVisible(), 2000);
    QCOMPARE(frame->size(), QSize(870, 600));
    QCOMPARE(frame->windowTitle(), QStringLiteral("DDS-Tarn USB (3.2.2.8) - [Device 1]"));
    QMdiSubWindow* child = frame->MdiArea()->subWindowList().value(0);
    QVERIFY(child && child->isMaximized());
    QCOMPARE(child->windowTitle(), QStringLiteral("Device 1"));

    // Widening moves the close button to the new right edge; the tab strip keeps its width.
    const int strip = frame->TabStrip()->width();
    QCOMPARE(strip, int(0.9 * 870) - 6);
    frame->resize(1100, 600);
    QToolBar* bar = frame->TabBar();
    QWidget* close = bar->widgetForAction(frame->Action(ID_CLOSE_CURRENT_DEVICE));
    QTRY_VERIFY(close->geometry().right() > bar->width() - 20);
    QCOMPARE(frame->TabStrip()->width(), strip);
}

QTEST_MAIN(AppStartup)
#include "AppStartup.moc"
