// Device names, the tab strip, renaming in place and every way of closing a device.
#include "AppTestSupport.h"

#include "app/TabRenameEdit.h"

class AppTabs : public QObject {
    Q_OBJECT

private slots:
    void defaultNamesTakeTheLowestFreeNumberIgnoringCase() {
        QList<CMultiDDSTarnDoc*> open;
        for (const char* name : {"Device 1", "Device 3", "Demo 2"})
            (open << new CMultiDDSTarnDoc).last()->m_strDeviceName = name;
        CMultiDDSTarnDoc doc;
        doc.CreateDevice();
        doc.m_pDevice->m_bDemo = 0;
        doc.m_nIndex = 3;
        const auto named = [&] { return doc.AssignDefaultName(open), doc.m_strDeviceName; };
        QCOMPARE((QStringList{named(), doc.GetTitle()}), (QStringList{"Device 2", "Device 2"}));
        // A name typed as "device 2" blocks Device 2 as well.
        open[2]->m_strDeviceName = QStringLiteral("device 2");
        QCOMPARE(named(), QStringLiteral("Device 4"));
        // Demo and Device names do not collide; user names are left alone.
        doc.m_pDevice->m_bDemo = 1;
        QCOMPARE(named(), QStringLiteral("Demo 1"));
        doc.m_bUserNamed = 1;
        doc.m_strDeviceName = QStringLiteral("Bench");
        QCOMPARE(named(), QStringLiteral("Bench"));
        qDeleteAll(open);
    }

    void closingTheMiddleOfThreeRenumbersTheRest() {
        CProgram program(0);
        program.Open();
        program.Open();
        QCOMPARE(program.Names(), (QStringList{"Demo 1", "Demo 2", "Demo 3"}));
        // A new device's window and tab become the current ones.
        QVERIFY(program.IsCurrent(2));
        CMainFrame* frame = program.Frame();
        frame->CloseDocumentAt(1);
        // Names, indices, tab count and the last tab's text.
        QCOMPARE(std::tuple(program.Names(), program.Doc(0)->m_nIndex, program.Doc(1)->m_nIndex,
                            frame->TabStrip()->count(), frame->TabStrip()->tabText(1)),
                 std::tuple(QStringList{"Demo 1", "Demo 3"}, 0, 1, 2, QString("Demo 3")));
        // Stale indices act on the last device.
        QVERIFY(frame->GetDocument(7) == program.Doc(1) &&
                frame->GetDocument(-1) == program.Doc(1));
        frame->SelectTab(9);
        QCOMPARE(frame->m_nCurrentTab, 1);
        frame->RemoveDocument(42); // no such index: nothing removed, tabs rebuilt
        QCOMPARE(program.Count(), 2);
        // The freed number is the lowest again; the new tab goes to the end.
        program.Open();
        QCOMPARE(program.Names(), (QStringList{"Demo 1", "Demo 3", "Demo 2"}));
    }

    void renamingAndSelectingByTabOrWindow() {
        CProgram program(0);
        program.Open();
        CMainFrame* frame = program.Shown();
        QVERIFY(frame);
        // Duplicates in any case and empty names are refused; the device's own name is not.
        for (const auto& [name, kept] : {std::pair("DEMO 1", "Demo 2"),
                                         {"", "Demo 2"},
                                         {"demo 2", "demo 2"},
                                         {"Scope feed", "Scope feed"}}) {
            frame->RenameDocument(1, QString(name));
            QCOMPARE(program.Names(), (QStringList{"Demo 1", kept}));
        }
        QCOMPARE((QStringList{program.Doc(1)->GetTitle(), frame->TabStrip()->tabText(1),
                              program.Doc(1)->m_pFrame->windowTitle(), frame->windowTitle()}),
                 (QStringList{"Scope feed", "Scope feed", "Scope feed",
                              "DDS-Tarn USB (3.2.2.8) - [Scope feed]"}));

        // In place: leaving the edit without typing keeps the name, but it is the user's name from
        // now on.
        CTabStrip* tabs = frame->TabStrip();
        CTabRenameEdit* edit = tabs->RenameEdit();
        frame->SelectAndActivateTab(0);
        QTest::mouseDClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QVERIFY(edit->isVisible());
        QTRY_VERIFY(edit->hasFocus());
        program.View(0)->Widget()->setFocus(); // click elsewhere
        QTRY_VERIFY(!edit->isVisible());
        QCOMPARE(program.Doc(0)->m_bUserNamed, 1);
        program.Doc(0)->AssignDefaultName();
        QCOMPARE(program.Doc(0)->m_strDeviceName, QStringLiteral("Demo 1"));
        // At most twenty characters; the renamed device stays the current one.
        frame->SelectAndActivateTab(1);
        frame->StartRename();
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->selectedText(), QStringLiteral("Scope feed"));
        QTest::keyClicks(edit, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(
            std::tuple(edit->isVisible(), program.Doc(1)->m_strDeviceName, program.IsCurrent(1)),
            std::tuple(false, QString("ABCDEFGHIJKLMNOPQRST"), true));

        // A right click selects its tab and activates its window, and the other way round.
        program.Open();
        QVERIFY(program.IsCurrent(2));
        QTimer::singleShot(50, frame->TabMenu(), &QMenu::close);
        QTest::mousePress(tabs, Qt::RightButton, {}, tabs->tabRect(0).center());
        QTest::mouseRelease(tabs, Qt::RightButton, {}, tabs->tabRect(0).center());
        QVERIFY(program.IsCurrent(0));
        frame->MdiArea()->setActiveSubWindow(program.Doc(1)->m_pFrame);
        QVERIFY(program.IsCurrent(1));
        // Windows restored by Cascade keep their window buttons; one chosen by its tab comes up
        // maximised again, without them.
        frame->RouteCommand(ID_WINDOW_CASCADE);
        QMdiSubWindow* child = program.Doc(0)->m_pFrame;
        QVERIFY(!child->isMaximized() && (child->windowFlags() & Qt::WindowCloseButtonHint));
        frame->MdiArea()->setActiveSubWindow(program.Doc(2)->m_pFrame);
        // One form of title, restored or maximised.
        QCOMPARE(frame->windowTitle(), QStringLiteral("DDS-Tarn USB (3.2.2.8) - [Demo 2]"));
        frame->SelectAndActivateTab(0);
        QCOMPARE(frame->windowTitle(), QStringLiteral("DDS-Tarn USB (3.2.2.8) - [Demo 1]"));
        QVERIFY(child->isMaximized() && !(child->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(program.IsCurrent(0));
    }

    void aNewDeviceStaysSelectedAndEveryClosePathRemovesIt() {
        CProgram program(1);
        CMainFrame* frame = program.Shown();
        QVERIFY(frame);
        program.View()->Control(IDC_FREQUENCY)->setFocus();
        // The second device has no free unit: its demo notice takes the focus away meanwhile.
        program.Open();
        QCOMPARE(frame->m_nCurrentTab, 1);
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QVERIFY(program.Doc(1)->m_pFrame->isAncestorOf(QApplication::focusWidget()) &&
                frame->m_nCurrentTab == 1);

        for (int i = 0; i < 3; ++i)
            program.Open();
        QCOMPARE(program.Count(), 5);
        frame->SelectAndActivateTab(4);
        frame->RouteCommand(ID_FILE_CLOSE);
        QCOMPARE(program.Count(), 4);
        frame->SelectAndActivateTab(0);
        frame->TabMenu()->findChild<QAction*>(QStringLiteral("tabAction32790"))->trigger();
        QCOMPARE(program.Names().mid(0, 1) << QString::number(program.Count()),
                 (QStringList{"Demo 1", "3"}));
        frame->Action(ID_CLOSE_CURRENT_DEVICE)->trigger();
        QCOMPARE(program.Count(), 2);
        program.Doc(1)->m_pFrame->close();
        QTRY_COMPARE(program.Count(), 1);
        QTRY_COMPARE(frame->MdiArea()->subWindowList().size(), 1);
        // Exit closes the rest; the generator was released on the first close.
        program.Exit();
        QVERIFY(CMainFrame::Get() == nullptr);
    }
};

QTEST_MAIN(AppTabs)
#include "AppTabs.moc"
