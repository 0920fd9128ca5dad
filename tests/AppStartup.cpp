// Start-up with no, one and several generators, binding, the Device List, the status bar and
// the main window's first showing.
#include "AppTestSupport.h"

class AppStartup : public QObject {
    Q_OBJECT

private slots:
    // Each device takes the only free generator without asking, asks with the Device List when
    // several are free, and is a demo (with one message each) when none is or the list is
    // cancelled.
    void devicesBindAFreeGeneratorOrBecomeDemos() {
        // Units, Device List row taken; the units of the first and second device, the lists and
        // messages seen by then; the names and the last list.
        const std::tuple<int, int, int, int, int, int, QStringList, QStringList> cases[] = {
            {0, 0, -1, -1, 0, 2, {"Demo 1", "Demo 2"}, {}},
            {1, 0, 0, -1, 0, 1, {"Device 1", "Demo 1"}, {}},
            {2, -1, -1, -1, 2, 0, {"Demo 1", "Demo 2"}, {"Device List", "Device", "1", "2"}},
            {2, 1, 1, 0, 1, 0, {"Device 1", "Device 2"}, {"Device List", "Device", "1", "2"}},
            {3, 1, 1, 2, 2, 0, {"Device 1", "Device 2"}, {"Device List", "Device", "1", "3"}},
        };
        for (const auto& [units, chooseRow, first, second, lists, messages, names, lastList] :
             cases) {
            CProgram program(units, chooseRow);
            const CModalAnswerer& seen = program.m_answerer;
            QVERIFY(program.m_bStarted);
            QCOMPARE(std::tuple(int(program.Device()->m_nDevice), bool(program.Device()->m_bDemo)),
                     std::tuple(first, first < 0));
            // At start: the demo notice only when no generator exists, the list when several do.
            QCOMPARE(std::tuple(seen.m_messages.size(), seen.m_nDeviceLists),
                     std::tuple(qsizetype(units == 0), int(units >= 2)));
            // The serial number pane shows the unit's two identity input lines.
            QTRY_COMPARE((program.Frame()->OnTimer(), program.Frame()->PaneText(1)),
                         first < 0 ? "" : QString("Combine Device Serial Number : %1").arg(first));
            QCOMPARE(program.Frame()->PaneText(0), first < 0 ? "Demo" : "Connect");

            program.Open();
            QCOMPARE(std::tuple(int(program.Device(1)->m_nDevice), seen.m_messages.size(),
                                seen.m_nDeviceLists),
                     std::tuple(second, qsizetype(messages), lists));
            QCOMPARE(std::tuple(seen.m_deviceList, program.Names()), std::tuple(lastList, names));
        }
    }

    // Shown maximised on the first tick, searching while the generator is away, and with no
    // item and no tabs once its device is closed; the generator is then free again.
    void oneDeviceFromFirstTickToLastClose() {
        CProgram program(1);
        CMainFrame* frame = program.Frame();
        QVERIFY(!frame->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(frame->isVisible(), 2000);
        // 870 x 600, taller when the panel needs it, narrower on this 800-pixel-wide screen.
        QCOMPARE(frame->windowTitle(), QString("DDS-Tarn USB (3.2.2.8) - [Device 1]"));
        QVERIFY(frame->height() >= 600 && frame->width() <= 870 &&
                frame->screen()->availableGeometry().contains(frame->frameGeometry()));
        QMdiSubWindow* child = frame->MdiArea()->subWindowList().value(0);
        QVERIFY(child && child->isMaximized());
        // Widening moves the close button to the new right edge; the tab strip keeps its width.
        const int strip = frame->TabStrip()->width();
        QCOMPARE(strip, int(0.9 * 870) - 6);
        frame->resize(1100, 600);
        QToolBar* bar = frame->TabBar();
        QWidget* close = bar->widgetForAction(frame->Action(ID_CLOSE_CURRENT_DEVICE));
        QTRY_VERIFY(close->geometry().right() > bar->width() - 20);
        QCOMPARE(frame->TabStrip()->width(), strip);

        const QString searching = QStringLiteral("Searching for hardware");
        SimUnplug(0);
        QTRY_VERIFY(program.Device()->m_bLost);
        QList<qsizetype> dots;
        for (int tick = 0; tick < 8; ++tick) {
            frame->OnTimer();
            QVERIFY(frame->PaneText(0).startsWith(searching));
            dots << frame->PaneText(0).size() - searching.size();
            QCOMPARE(frame->PaneText(1), "Combine Device Serial Number : ...");
        }
        for (int i = 1; i < dots.size(); ++i) // one to six dots, round and round
            QCOMPARE(dots[i], dots[i - 1] % 6 + 1);
        SimReplug(0);
        QTRY_VERIFY(!program.Device()->m_bLost);
        frame->OnTimer();
        QCOMPARE(frame->PaneText(0), QStringLiteral("Connect"));

        QVERIFY(bar->isVisible());
        frame->CloseDocumentAt(0);
        frame->OnTimer();
        QCOMPARE((QStringList{frame->PaneText(0), frame->PaneText(1)}),
                 (QStringList{"No Item", ""}));
        QVERIFY(!bar->isVisible());
        QTRY_VERIFY(frame->MdiArea()->subWindowList().isEmpty());
        program.Open();
        QCOMPARE(std::tuple(int(program.Device()->m_nDevice), program.Names()),
                 std::tuple(0, QStringList{"Device 1"}));
    }
};

QTEST_MAIN(AppStartup)
#include "AppStartup.moc"
