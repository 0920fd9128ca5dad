// Update rules of the menu items, command routing to the document, CSV save paths and
// switching the interface language at run time.
#include "AppTestSupport.h"

#include "app/CmdUI.h"
#include "i18n/IniFile.h"
#include "res/Resource.h"

#include <QAction>
#include <QMenu>

namespace {

/// Per command: 'x' enabled and checked, 'e' enabled, 'c' checked but grey, '-' neither.
QString States(CMainFrame* frame, const QList<int>& ids) {
    QString states;
    for (int id : ids) {
        CCmdUI ui(id);
        frame->UpdateCommand(ui);
        states += ui.m_bEnabled ? (ui.m_bChecked ? 'x' : 'e') : (ui.m_bChecked ? 'c' : '-');
    }
    return states;
}

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* action : actions)
        texts << action->text();
    return texts;
}

} // namespace

class AppCommands : public QObject {
    Q_OBJECT

private slots:
    void itemStatesFollowTheDeviceAndCommandsReachTheGenerator() {
        CProgram program(1);
        CMainFrame* frame = program.Frame();
        // Grayed by the template until their menu first opens.
        QVERIFY(!frame->Action(ID_POINTS_EDIT)->isEnabled() &&
                !frame->Action(ID_WAVE_AMFM)->isEnabled());
        // The wave parameter items, then Sweep, for each wave type.
        const QList<int> waveItems{ID_WAVE_SQUARE,   ID_WAVE_RAMP, ID_WAVE_TRAPEZIA,
                                   ID_WAVE_EXPONENT, ID_WAVE_AMFM, ID_SWEEP};
        QCOMPARE(States(frame, waveItems), QStringLiteral("-----e"));
        const std::pair<int, const char*> waves[] = {
            {WAVE_SQUARE, "e-----"}, {WAVE_AMFM, "----e-"}, {WAVE_ARB, "------"}};
        for (const auto& [wave, states] : waves) {
            program.View()->SelectWaveType(wave);
            QCOMPARE(States(frame, waveItems), QLatin1String(states));
        }
        // The menu takes these states when it opens.
        program.View()->SelectWaveType(WAVE_RAMP);
        emit program.Menu(2)->aboutToShow();
        QVERIFY(frame->Action(ID_WAVE_RAMP)->isEnabled());
        QVERIFY(!frame->Action(ID_WAVE_SQUARE)->isEnabled());

        // The digital mode items carry one check mark; Output Set needs programmable output.
        const QList<int> dio{ID_PATTERN_GENERATOR, ID_PROGRAMMABLE_OUTPUT, ID_OUTPUT_SET};
        QCOMPARE(States(frame, dio), QStringLiteral("xe-"));
        frame->RouteCommand(ID_PROGRAMMABLE_OUTPUT);
        QCOMPARE(int(program.Device()->m_nDIOMode), 1);
        QCOMPARE(States(frame, dio), QStringLiteral("exe"));
        QTRY_COMPARE(SimGetUnit(0).dioMode, 1);
        emit program.Menu(3)->aboutToShow();
        QVERIFY(frame->Action(ID_PROGRAMMABLE_OUTPUT)->isChecked());
        QVERIFY(!frame->Action(ID_PATTERN_GENERATOR)->isChecked());

        frame->RouteCommand(ID_POWER_ON_OUTPUT_CLOSE);
        QTRY_COMPARE(SimGetUnit(0).powerOnOutput, 0);
        frame->RouteCommand(ID_POWER_ON_OUTPUT_OPEN);
        QTRY_COMPARE(SimGetUnit(0).powerOnOutput, 1);

        // Device commands need a device; Ctrl+N still opens one.
        QCOMPARE(States(frame, {ID_FILE_SAVE, ID_SHOW_HIDE_CONTROL, ID_TOOLBAR_UNUSED}),
                 QStringLiteral("ex-")); // the panel shows
        frame->CloseDocumentAt(0);
        QCOMPARE(States(frame, {ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_OPEN, ID_WAVE_SQUARE, ID_SWEEP,
                                ID_PATTERN_GENERATOR, ID_EDIT_COPY, ID_ZOOM_IN, ID_HELP_CONTENT,
                                ID_FILE_NEW, ID_APP_EXIT, ID_APP_ABOUT, ID_FILE_PRINT_SETUP}),
                 QStringLiteral("---------eeee"));
        QVERIFY(program.Shown());
        QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(program.Count(), 1);
    }

    void saveAsksOnceThenWritesSilently() {
        CProgram program(1);
        CMultiDDSTarnDoc* doc = program.Doc(0);
        // A file that cannot be made leaves the device playing its Sine.
        QVERIFY(!doc->WriteCsvFile(program.Folder() + QStringLiteral("/missing/wave.csv")));
        QVERIFY(program.m_answerer.m_messages.value(0).startsWith("Cann't Save file: "));
        QCOMPARE(int(doc->m_pDevice->m_nWaveType), int(WAVE_SINE));
        const QString path = program.Folder() + QStringLiteral("/wave.csv");
        QVERIFY(doc->WriteCsvFile(path));
        QCOMPARE(int(doc->m_pDevice->m_nWaveType), int(WAVE_ARB)); // writing switches to Arb
        QCOMPARE(doc->m_strFileName, QStringLiteral("wave.csv"));
        QFile::remove(path);
        doc->SaveCsv(0); // no dialog: the answerer would have closed one without a file
        QVERIFY(QFile::exists(path));

        // Reading hands the points to the view as Arb and keeps the file name.
        doc->m_pView->SelectWaveType(WAVE_SINE);
        QCOMPARE(doc->m_strFileName, QStringLiteral("CSV File Empty"));
        QVERIFY(doc->ReadCsvFile(path));
        QCOMPARE(int(doc->m_pDevice->m_nWaveType), int(WAVE_ARB));
        QCOMPARE(doc->m_strFileName, QStringLiteral("wave.csv"));
        QCOMPARE(doc->m_bArbFromFile, 0);

        // A file that is not ours is refused with a message, and the name stays.
        QFile bad(program.Folder() + QStringLiteral("/bad.csv"));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("#CLOCK=abc\n#SIZE=99999\n") > 0);
        bad.close();
        QVERIFY(!doc->ReadCsvFile(bad.fileName()));
        QCOMPARE(program.m_answerer.m_messages.size(), 2);
        QCOMPARE(doc->m_strFileName, QStringLiteral("wave.csv"));
    }

    void languageSwitchRetextsMenusTooltipsAndTabMenu() {
        CProgram program(1, 0, WithGerman);
        CMainFrame* frame = program.Frame();
        QMenu* file = program.Menu(0);
        QMenu* languages = program.Menu(5)->actions().value(4)->menu();
        const auto texts = [&](int fileItem, int tabItem) {
            return QStringList{file->title(), file->actions().value(fileItem)->text(),
                               frame->TabMenu()->actions().value(tabItem)->text()};
        };
        frame->OnTimer(); // first tick: language items, built-in texts without shortcut hints
        QCOMPARE(program.Menu(4)->actions().value(5)->text(), QStringLiteral("Period Number"));
        QCOMPARE(Texts(languages->actions()).mid(1), (QStringList{"", "Deutsch"}));
        QCOMPARE(texts(0, 1), (QStringList{"&File", "&New", "Change Device Name"}));

        frame->Action(ID_LANGUAGE_FIRST)->trigger();
        QCOMPARE(texts(11, 0), (QStringList{"&Datei", "&Beenden", "&Schließen"}));
        QCOMPARE((QStringList{program.Menu(5)->title(), languages->actions().value(0)->text(),
                              frame->Action(ID_FILE_NEW)->toolTip(),
                              frame->TabMenu()->actions().value(3)->text()}),
                 (QStringList{"&Extras", "Standard(En)", "Neu", "CSV s&peichern"}));
        emit languages->aboutToShow();
        QVERIFY(frame->IsLanguageChecked(ID_LANGUAGE_FIRST));
        QVERIFY(!frame->IsLanguageChecked(ID_LANGUAGE_DEFAULT));
        frame->OnTimer();
        QCOMPARE(frame->PaneText(0), QStringLiteral("Verbunden"));
        QCOMPARE(frame->TabStrip()->tabText(0), QStringLiteral("Device 1"));

        frame->Action(ID_LANGUAGE_DEFAULT)->trigger();
        QCOMPARE(texts(11, 1), (QStringList{"&File", "Exit", "Change Device Name"}));
        emit languages->aboutToShow();
        QVERIFY(frame->IsLanguageChecked(ID_LANGUAGE_DEFAULT));
        QVERIFY(!frame->IsLanguageChecked(ID_LANGUAGE_FIRST));

        // A file dropped in later is listed when the menu opens. Listed before German, it moves
        // German's item down, which keeps its check and stays current.
        frame->Action(ID_LANGUAGE_FIRST)->trigger();
        InstallLanguage(program.Folder(), QStringLiteral("Chinese.lug"));
        languages->popup(frame->mapToGlobal(QPoint(40, 40)));
        QVERIFY(QTest::qWaitForWindowExposed(languages));
        QCOMPARE(Texts(languages->actions()).mid(2), (QStringList{"简体中文", "Deutsch"}));
        QVERIFY(frame->IsLanguageChecked(ID_LANGUAGE_FIRST + 1));
        QVERIFY(!frame->IsLanguageChecked(ID_LANGUAGE_FIRST));
        QCOMPARE(file->title(), QStringLiteral("&Datei"));
        QCOMPARE(languages->actionGeometry(languages->actions().value(2)).height(), 22);
        languages->close();
        frame->Action(ID_LANGUAGE_FIRST)->trigger();
        QCOMPARE(texts(0, 0).mid(0, 2), (QStringList{"文件(&F)", "新建(&N)"}));

        // The choice is stored at exit.
        frame->Action(ID_LANGUAGE_FIRST + 1)->trigger();
        program.Exit();
        CIniFile config((program.Folder() + QStringLiteral("/config.ini")).toStdString());
        QCOMPARE(config.ReadString("Form", "Language"), std::string("1"));
    }

    void savedLanguageIsRestoredAtStart() {
        CProgram program(0, 0, [](const QString& folder) {
            WithGerman(folder);
            CIniFile((folder + QStringLiteral("/config.ini")).toStdString())
                .WriteString("Form", "Language", "0", true);
        });
        // The demo message already speaks the saved language.
        QVERIFY(program.m_answerer.m_messages.value(0).startsWith("Keine Hardware gefunde"));
        program.Frame()->OnTimer();
        QCOMPARE(program.Menu(0)->title(), QStringLiteral("&Datei"));
    }
};

QTEST_MAIN(AppCommands)
#include "AppCommands.moc"
