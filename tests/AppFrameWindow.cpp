// The main window as a new user meets it: where it opens and what it keeps between runs, its
// title, the device windows after a close, the keys of a desktop program, the standard dialogs
// in the chosen language, the dialogs that open side by side and the panel fields following
// their record.
#include "AppTestSupport.h"

#include "app/CmdUI.h"
#include "app/RemoteControl.h"
#include "app/SetupCommands.h"
#include "control/DeviceControl.h"
#include "dialogs/DigitalInDlg.h"
#include "dialogs/DigitalOutDlg.h"
#include "dialogs/ExportWaveDlg.h"
#include "dialogs/RemoteControlDlg.h"
#include "i18n/LanguageManager.h"
#include "i18n/SettingsFile.h"
#include "media/WaveExport.h"
#include "widgets/NumEdit.h"
#include "widgets/StepEdit.h"

#include <QTcpServer>

namespace {

QString Titled(const QString& name) {
    return QStringLiteral("DDS-Tarn USB (3.2.2.8) - [%1]").arg(name);
}

/// The device window's scroll area.
QScrollArea* Scroll(CProgram& program, int i = 0) {
    return program.Doc(i)->m_pFrame->findChild<QScrollArea*>(QStringLiteral("viewScroll"));
}

} // namespace

class AppFrameWindow : public QObject {
    Q_OBJECT

private slots:
    // Shrunk to what the screen offers and moved inside it, frame included.
    void fitIntoScreenShrinksThenMovesIn() {
        const QRect screen(0, 0, 800, 500);
        const QMargins frame(4, 30, 4, 4);
        const std::tuple<QRect, QRect> cases[] = {
            {{100, 100, 300, 200}, {100, 100, 300, 200}}, // fits: unchanged
            {{-65, -40, 870, 620}, {4, 30, 792, 466}},    // too large: the whole room
            {{700, 400, 300, 200}, {496, 296, 300, 200}}, // off the corner: moved in
            {{-200, 10, 300, 200}, {4, 30, 300, 200}},    // title bar above the top: moved down
        };
        for (const auto& [wanted, expected] : cases)
            QCOMPARE(CMainFrame::FitIntoScreen(wanted, screen, frame), expected);
    }

    // The offscreen screen (800 x 800) is narrower than the window: it opens inside it. A window
    // too small for the panel scrolls it to its knobs; given room, the view fills the window
    // without scroll bars.
    void windowOpensOnTheScreenAndAPanelThatDoesNotFitScrolls() {
        CProgram program(1);
        CMainFrame* frame = program.Shown();
        QVERIFY(frame);
        const QRect available = frame->screen()->availableGeometry();
        QVERIFY(available.contains(frame->frameGeometry()));
        QScrollArea* scroll = Scroll(program);
        QWidget* knob = program.View()->Control(IDC_KNOB_AMPLITUDE);
        frame->resize(600, 400);
        QTRY_VERIFY(scroll->verticalScrollBar()->isVisible());
        scroll->ensureWidgetVisible(knob);
        const QRect shown(knob->mapTo(scroll->viewport(), QPoint(0, 0)), knob->size());
        QVERIFY(scroll->viewport()->rect().contains(shown));

        frame->resize(1400, 1000);
        QTRY_VERIFY(!scroll->verticalScrollBar()->isVisible() &&
                    !scroll->horizontalScrollBar()->isVisible());
        QCOMPARE(program.View()->Widget()->size(), scroll->viewport()->size());
    }

    // Place, size, maximised state and each file dialog's folder come back at the next start.
    void placeStateAndDialogFoldersAreKept() {
        const auto config = [](const QString& folder) {
            WriteTextFile(folder + "/config.ini",
                          "[Window]\nLeft=30\nTop=60\nWidth=500\nHeight=400\nMaximized=0\n");
        };
        QString offered;
        CProgram program(1, 0, config);
        const QString folder = program.Folder();
        CMainFrame* frame = program.Shown();
        QVERIFY(frame);
        QCOMPARE(frame->geometry(), QRect(30, 60, 500, 400));
        // A CSV file saved in a folder of its own: the next CSV dialog opens there.
        QDir(folder).mkpath("waves");
        program.m_answerer.m_answerOther = [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog)
                return false;
            offered = dialog->directory().absolutePath();
            dialog->selectFile(folder + "/waves/a.csv");
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
            return true;
        };
        frame->RouteCommand(ID_FILE_SAVE_AS);
        frame->RouteCommand(ID_FILE_SAVE_AS);
        QCOMPARE(offered, folder + "/waves");
        frame->setGeometry(40, 70, 520, 410);
        frame->showMaximized();
        program.Exit();
        const CSettingsFile settings(folder.toStdString());
        const CSettingsFile::Window window = settings.LoadWindow();
        QCOMPARE(std::tuple(window.bValid, window.bMaximized, window.nWidth, window.nHeight),
                 std::tuple(true, true, 520, 410));
        QCOMPARE(QString::fromStdString(settings.LoadFolder("Csv")), folder + "/waves");
        QCOMPARE(QString::fromStdString(settings.LoadFolder("Setup")), QString());
    }

    // "DDS-Tarn USB (3.2.2.8) - [name]" whatever happens to the device windows and the
    // language; after a close the selected tab's window is maximised and nothing is minimised.
    void titleKeepsOneFormAndAClosedWindowLeavesTheNextMaximised() {
        CProgram program(0, 0, [](const QString& folder) {
            InstallLanguage(folder, QStringLiteral("German.lug"));
        });
        program.Open();
        program.Open();
        CMainFrame* frame = program.Shown();
        QVERIFY(frame);
        const std::pair<const char*, std::function<void()>> steps[] = {
            {"tab", [&] { frame->SelectAndActivateTab(0); }},
            {"cascade", [&] { frame->RouteCommand(ID_WINDOW_CASCADE); }},
            {"restored", [&] { frame->MdiArea()->setActiveSubWindow(program.Doc(1)->m_pFrame); }},
            {"German", [&] { frame->SetLanguage(0); }},
            {"tab again", [&] { frame->SelectAndActivateTab(2); }},
            {"renamed", [&] { frame->RenameDocument(2, "Bench"); }},
            {"Default", [&] { frame->SetLanguage(-1); }},
        };
        for (const auto& [step, run] : steps) {
            run();
            QVERIFY2(frame->windowTitle() == Titled(frame->GetCurrentDocument()->GetTitle()), step);
        }
        for (int closing : {1, 0}) {
            frame->SelectAndActivateTab(closing);
            frame->CloseDocumentAt(closing);
            QTRY_VERIFY(frame->MdiArea()->currentSubWindow() ==
                        program.Doc(frame->m_nCurrentTab)->m_pFrame);
            QTRY_VERIFY(program.Doc(frame->m_nCurrentTab)->m_pFrame->isMaximized());
            for (QMdiSubWindow* window : frame->MdiArea()->subWindowList())
                QVERIFY(!window->isMinimized());
            QCOMPARE(frame->windowTitle(), Titled(frame->GetCurrentDocument()->GetTitle()));
        }
        frame->CloseDocumentAt(0);
        QCOMPARE(frame->windowTitle(), "DDS-Tarn USB (3.2.2.8)");
    }

    // F1 and Help Content need no device (the manual test covers what opens); Ctrl+Q exits;
    // Enter in the Device List takes the selected row.
    void desktopKeysAndEnterInTheDeviceList() {
        CProgram program(1);
        CMainFrame* frame = program.Shown();
        QVERIFY(frame);
        frame->CloseDocumentAt(0);
        CCmdUI help(ID_HELP_CONTENT);
        frame->UpdateCommand(help);
        QVERIFY(help.m_bEnabled);

        CDeviceListDlg list({3, 5, 7}, frame->Language(), frame);
        list.show();
        QVERIFY(QTest::qWaitForWindowActive(&list));
        list.List()->setFocus();
        list.List()->setCurrentItem(list.List()->topLevelItem(1));
        QTest::keyClick(list.List(), Qt::Key_Return);
        QCOMPARE(std::pair(list.result(), list.m_nResult), std::pair(int(QDialog::Accepted), 5));

        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QTest::keyClick(frame, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(!frame->isVisible());
    }

    // Qt's own texts (colour, file, print dialogs) follow the language and go back with it.
    void standardDialogsSpeakTheChosenLanguage() {
        CProgram program(1, 0, [](const QString& folder) {
            InstallLanguage(folder, QStringLiteral("German.lug"));
            InstallLanguage(folder, QStringLiteral("Chinese.lug"));
        });
        CMainFrame* frame = program.Frame();
        const auto basic = [] {
            return QCoreApplication::translate("QColorDialog", "&Basic colors");
        };
        const std::pair<const char*, QString> languages[] = {{"Deutsch", "Grundfar&ben"},
                                                             {"English", "&Basic colors"}};
        for (const auto& [name, expected] : languages) {
            frame->SetLanguage(frame->Language().FindLanguage(name));
            QCOMPARE(basic(), expected);
        }
        frame->SetLanguage(frame->Language().FindLanguage("简体中文"));
        QVERIFY(basic() != "&Basic colors" && !basic().isEmpty());
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
        QColorDialog dialog;
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        QVERIFY(labels.contains(basic()));
        frame->SetLanguage(-1);
        QCOMPARE(basic(), "&Basic colors");
    }

    // The second digital dialog opens beside the first, not on top of it.
    void digitalDialogsOpenSideBySide() {
        CProgram program(1);
        QVERIFY(program.Shown());
        program.View()->OnCommand(ID_OUTPUT_SET);
        program.View()->OnCommand(ID_DIGITAL_INPUT);
        QWidget* out = nullptr;
        QWidget* in = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<CDigitalOutDlg*>(widget))
                out = widget;
            if (qobject_cast<CDigitalInDlg*>(widget))
                in = widget;
        }
        QVERIFY(out && in && out->isVisible() && in->isVisible());
        QVERIFY(!out->frameGeometry().intersects(in->frameGeometry()));
    }

    // A field follows its record unless the user changed its text since it got the focus: the
    // typed text stands against a remote change, a field that got the focus back follows.
    void fieldFollowsTheRecordUnlessTypedSinceItGotTheFocus() {
        CProgram program(1);
        CMainFrame* frame = program.Shown();
        QVERIFY(frame);
        const QString setup = program.Folder() + "/a.ddsetup";
        QVERIFY(CSetupCommands::Save(*program.Doc(0), setup));
        auto* field = static_cast<CStepEdit*>(program.View()->Control(IDC_FREQUENCY));
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        field->selectAll();
        QTest::keyClicks(field, "5000");
        program.Doc(0)->m_pControl->SetFrequency(2000.0); // a remote client
        program.View()->OnTimer();
        QCOMPARE(field->text(), "5000");
        // Open Setup's file dialog takes the focus and gives it back with a setup of 1000 Hz.
        program.m_answerer.m_answerOther = [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog)
                return false;
            dialog->selectFile(setup);
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
            return true;
        };
        frame->RouteCommand(ID_OPEN_SETUP);
        frame->activateWindow();
        QTRY_VERIFY(field->hasFocus());
        program.View()->OnTimer();
        QCOMPARE(field->text(), "1000.000");
    }

    // A busy port is named with its address; the server already listening goes on, and the
    // saved setting stays the one that worked.
    void busyRemotePortIsNamedAndChangesNothing() {
        CRemoteControl::SetEndpointFactory({});
        QTcpServer busy;
        QVERIFY(busy.listen(QHostAddress::LocalHost, 0));
        QTcpServer freeFinder;
        QVERIFY(freeFinder.listen(QHostAddress::LocalHost, 0));
        const int free = freeFinder.serverPort();
        freeFinder.close();

        CProgram program(1);
        QTRY_VERIFY(!program.Frame()->isHidden());
        int port = free;
        program.m_answerer.m_answerOther = [&port](QWidget* modal) {
            auto* dialog = qobject_cast<CRemoteControlDlg*>(modal);
            if (!dialog)
                return false;
            dialog->Enable()->setChecked(true);
            dialog->Port()->setValue(port);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            return true;
        };
        QAction* item = program.Frame()->Action(ID_REMOTE_CONTROL);
        const QString listening = QStringLiteral("SCPI :%1").arg(free);
        item->trigger();
        QCOMPARE(program.Frame()->PaneText(3), listening);
        port = busy.serverPort();
        item->trigger();
        QCOMPARE(program.m_answerer.m_messages.size(), 1);
        QVERIFY2(
            program.m_answerer.m_messages[0].contains(QStringLiteral("127.0.0.1:%1: ").arg(port)),
            qPrintable(program.m_answerer.m_messages[0]));
        QCOMPARE(program.Frame()->PaneText(3), listening);
        QCOMPARE(CSettingsFile(program.Folder().toStdString()).LoadRemote().nPort, free);
        CRemoteControl::SetEndpointFactory({});
    }

    // The limit shows while the numbers change (Save disabled, the reason beside it), and the
    // next export opens with the last one's choices.
    void exportShowsItsLimitAndKeepsTheLastChoices() {
        CProgram program(1);
        const CDDSDevice& device = *program.Device();
        const CLanguageManager& language = program.Frame()->Language();
        CExportWaveDlg dialog(device, language);
        const double rate = CWaveExport::DefaultSampleRate(device);
        const std::tuple<QString, bool, bool> cases[] = {
            {QString::number(CWaveExport::kMaxPeriods), false, true},
            {"2", true, false},
            {"", true, false}, // still being typed: the last count stands
        };
        for (const auto& [periods, enabled, reason] : cases) {
            dialog.PeriodsField()->setText(periods);
            QVERIFY2(dialog.SaveButton()->isEnabled() == enabled, qPrintable(periods));
            QVERIFY2(dialog.LimitLabel()->text().isEmpty() != reason, qPrintable(periods));
        }
        QCOMPARE(dialog.SamplesLabel()->text(),
                 QString::number(CWaveExport::SampleCount(device, 2, rate), 'f', 0));
        dialog.PeriodsField()->setText("3");
        dialog.CsvButton()->click();
        dialog.accept();
        CExportWaveDlg next(device, language);
        QCOMPARE(std::tuple(next.PeriodsField()->text(), next.CsvButton()->isChecked()),
                 std::tuple(QString("3"), true));
    }
};

QTEST_MAIN(AppFrameWindow)
#include "AppFrameWindow.moc"
