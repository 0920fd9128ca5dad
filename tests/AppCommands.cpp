// Update rules of the menu items, command routing to the document, CSV save paths and
// switching the interface language at run time.
#include "AppTestSupport.h"

#include "app/CmdUI.h"
#include "engine/WaveBatch.h"
#include "formats/CsvFile.h"
#include "i18n/IniFile.h"

#include <QFile>

#include <cmath>
#include <filesystem>

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

} // namespace

class AppCommands : public QObject {
    Q_OBJECT

private slots:
    void itemStatesFollowTheDeviceAndCommandsReachIt() {
        CProgram program(1);
        CMainFrame* frame = program.Frame();
        CMultiDDSTarnDoc* doc = program.Doc(0);
        // Grayed by the template until their menu first opens.
        QVERIFY(!frame->Action(ID_POINTS_EDIT)->isEnabled() &&
                !frame->Action(ID_WAVE_AMFM)->isEnabled());
        // The wave parameter items, then Sweep, for each wave type.
        const QList<int> waveItems{ID_WAVE_SQUARE,   ID_WAVE_RAMP, ID_WAVE_TRAPEZIA,
                                   ID_WAVE_EXPONENT, ID_WAVE_AMFM, ID_SWEEP};
        const int waves[] = {WAVE_SINE, WAVE_SQUARE, WAVE_AMFM, WAVE_ARB};
        const QStringList states{"-----e", "e-----", "----e-", "------"};
        for (int i = 0; i < 4; ++i) {
            program.View()->SelectWaveType(waves[i]);
            QCOMPARE(States(frame, waveItems), states[i]);
        }
        program.View()->SelectWaveType(WAVE_RAMP);
        emit program.Menu(2)->aboutToShow(); // the menu takes these states when it opens
        QVERIFY(frame->Action(ID_WAVE_RAMP)->isEnabled() &&
                !frame->Action(ID_WAVE_SQUARE)->isEnabled());

        // The digital mode items carry one check mark; Output Set needs programmable output.
        const QList<int> dio{ID_PATTERN_GENERATOR, ID_PROGRAMMABLE_OUTPUT, ID_OUTPUT_SET};
        QCOMPARE(States(frame, dio), QStringLiteral("xe-"));
        frame->RouteCommand(ID_PROGRAMMABLE_OUTPUT);
        QCOMPARE(States(frame, dio), QStringLiteral("exe"));
        QTRY_COMPARE(SimGetUnit(0).dioMode, 1);
        emit program.Menu(3)->aboutToShow();
        QVERIFY(frame->Action(ID_PROGRAMMABLE_OUTPUT)->isChecked() &&
                !frame->Action(ID_PATTERN_GENERATOR)->isChecked());
        for (int open : {0, 1}) {
            frame->RouteCommand(open ? ID_POWER_ON_OUTPUT_OPEN : ID_POWER_ON_OUTPUT_CLOSE);
            QTRY_COMPARE(SimGetUnit(0).powerOnOutput, open);
        }

        // Saving: a file that cannot be made leaves the device playing its Sine; writing
        // switches to Arb; once named, Save asks no more (the answerer would close a dialog).
        // Wave type, file name and the messages seen.
        const auto saved = [&] {
            return std::tuple(int(doc->m_pDevice->m_nWaveType), doc->m_strFileName,
                              program.m_answerer.m_messages.size());
        };
        program.View()->SelectWaveType(WAVE_SINE);
        QVERIFY(!doc->WriteCsvFile(program.Folder() + QStringLiteral("/missing/wave.csv")));
        QVERIFY(program.m_answerer.m_messages.value(0).startsWith("Cann't Save file: "));
        QCOMPARE(saved(), std::tuple(int(WAVE_SINE), QString("CSV File Empty"), 1));
        const QString path = program.Folder() + QStringLiteral("/wave.csv");
        QVERIFY(doc->WriteCsvFile(path));
        QCOMPARE(saved(), std::tuple(int(WAVE_ARB), QString("wave.csv"), 1));
        QFile::remove(path);
        doc->SaveCsv(0);
        QVERIFY(QFile::exists(path));
        // Reading hands the points to the view as Arb and keeps the file name.
        program.View()->SelectWaveType(WAVE_SINE);
        QVERIFY(doc->ReadCsvFile(path) && doc->m_bArbFromFile == 0);
        QCOMPARE(saved(), std::tuple(int(WAVE_ARB), QString("wave.csv"), 1));
        // A file that is not ours is refused with a message, and the name stays.
        QVERIFY(!doc->ReadCsvFile(WriteTextFile(program.Folder() + QStringLiteral("/bad.csv"),
                                                "#CLOCK=abc\n#SIZE=99999\n")));
        QCOMPARE(saved(), std::tuple(int(WAVE_ARB), QString("wave.csv"), 2));
        // A name that is not UTF-8 opens, shows readably, and Save writes back to that name.
        const std::string odd = QFile::encodeName(program.Folder()).toStdString() + "/w\xFF.csv";
        std::filesystem::copy_file(QFile::encodeName(path).toStdString(), odd);
        QVERIFY(doc->ReadCsvNative(odd));
        QCOMPARE(saved(), std::tuple(int(WAVE_ARB), QString::fromUtf8("w\uFFFD.csv"), 2));
        std::filesystem::remove(odd);
        doc->SaveCsv(0);
        QVERIFY(std::filesystem::exists(odd));
        // A table made elsewhere (8 points, clock 24000) plays as the plan walks the table: its
        // points, then the rest of the table, in periods of the 3000 Hz plan's 1333 points.
        QVERIFY(doc->ReadCsvFile(
            WriteTextFile(program.Folder() + QStringLiteral("/eight.csv"),
                          CCsvFile::Format(24000.0f, {1, 2, 3, 3.5f, 0, -1, -2, -3}).c_str())));
        QTRY_VERIFY(doc->m_pDevice->CommandsDone());
        const SimUnitState unit = SimGetUnit(0);
        const CDDSDevice& device = *doc->m_pDevice;
        QCOMPARE(std::tuple(unit.points, unit.periods, int(device.m_nPointsPerPeriod),
                            int(unit.buffer.size())),
                 std::tuple(4000, 3, 1333, 4000));
        int differing = 0;
        for (int s = 0; s < unit.points; ++s) {
            const int i = int(std::trunc(unit.points * (double(s) / unit.points))) % 1333;
            differing +=
                unit.buffer[s] != CWaveBatch::CodeOf(device.m_fArb[i] * double(0.2857143f));
        }
        QCOMPARE(differing, 0);

        // Device commands need a device (the manual does not); Ctrl+N still opens one.
        QCOMPARE(States(frame, {ID_FILE_SAVE, ID_SHOW_HIDE_CONTROL, ID_TOOLBAR_UNUSED}),
                 QStringLiteral("ex-")); // the panel shows
        frame->CloseDocumentAt(0);
        QCOMPARE(States(frame, {ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_OPEN, ID_WAVE_SQUARE, ID_SWEEP,
                                ID_PATTERN_GENERATOR, ID_EDIT_COPY, ID_ZOOM_IN, ID_HELP_CONTENT,
                                ID_FILE_NEW, ID_APP_EXIT, ID_APP_ABOUT, ID_FILE_PRINT_SETUP}),
                 QStringLiteral("--------eeeee"));
        QVERIFY(program.Shown());
        QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(program.Count(), 1);
    }

    void languageSwitchRetextsMenusTooltipsAndTabMenu() {
        CProgram program(1, 0, [](const QString& f) { InstallLanguage(f, "German.lug"); });
        CMainFrame* frame = program.Frame();
        QMenu* file = program.Menu(0);
        QMenu* languages = program.Menu(5)->actions().value(4)->menu();
        const auto texts = [&](int fileItem, int tabItem) {
            return QStringList{file->title(), file->actions().value(fileItem)->text(),
                               frame->TabMenu()->actions().value(tabItem)->text()};
        };
        const auto checked = [&] { // default, first and second language, as the menu opens
            emit languages->aboutToShow();
            return QList<bool>{frame->IsLanguageChecked(ID_LANGUAGE_DEFAULT),
                               frame->IsLanguageChecked(ID_LANGUAGE_FIRST),
                               frame->IsLanguageChecked(ID_LANGUAGE_FIRST + 1)};
        };
        frame->OnTimer(); // first tick: language items, built-in texts without shortcut hints
        QCOMPARE((QStringList{QString::number(languages->actions().size()),
                              languages->actions().value(2)->text(),
                              program.Menu(4)->actions().value(5)->text()}),
                 (QStringList{"3", "Deutsch", "Period Number"}));
        QCOMPARE(texts(0, 1), (QStringList{"&File", "&New", "Change Device Name"}));

        frame->Action(ID_LANGUAGE_FIRST)->trigger();
        QCOMPARE(texts(11, 0), (QStringList{"&Datei", "&Beenden", "&Schließen"}));
        QCOMPARE((QStringList{program.Menu(5)->title(), languages->actions().value(0)->text(),
                              frame->Action(ID_FILE_NEW)->toolTip(),
                              frame->TabMenu()->actions().value(3)->text()}),
                 (QStringList{"&Extras", "Standard(En)", "Neu", "CSV s&peichern"}));
        QCOMPARE(checked(), (QList<bool>{false, true, false}));
        frame->OnTimer();
        QCOMPARE(QStringList({frame->PaneText(0), frame->TabStrip()->tabText(0)}),
                 QStringList({"Verbunden", "Device 1"}));

        frame->Action(ID_LANGUAGE_DEFAULT)->trigger();
        QCOMPARE(texts(11, 1), (QStringList{"&File", "Exit", "Change Device Name"}));
        QCOMPARE(checked(), (QList<bool>{true, false, false}));

        // A file dropped in later is listed when the menu opens. Listed before German, it moves
        // German's item down, which keeps its check and stays current.
        frame->Action(ID_LANGUAGE_FIRST)->trigger();
        InstallLanguage(program.Folder(), QStringLiteral("Chinese.lug"));
        languages->popup(frame->mapToGlobal(QPoint(40, 40)));
        QVERIFY(QTest::qWaitForWindowExposed(languages));
        QCOMPARE((QStringList{QString::number(languages->actions().size()),
                              languages->actions().value(2)->text(),
                              languages->actions().value(3)->text()}),
                 (QStringList{"4", "简体中文", "Deutsch"}));
        QCOMPARE(checked() << (file->title() == "&Datei"), (QList<bool>{false, false, true, true}));
        languages->close();
        frame->Action(ID_LANGUAGE_FIRST)->trigger();
        QCOMPARE(texts(0, 0).mid(0, 2), (QStringList{"文件(&F)", "新建(&N)"}));
    }

    void savedLanguageIsRestoredAtStart() {
        CProgram program(0, 0, [](const QString& folder) {
            InstallLanguage(folder, "German.lug");
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
