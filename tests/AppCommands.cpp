// Update rules of the menu items, command routing to the document, CSV save paths and
// switching the interface language at run time.
#include "AppTestSupport.h"

#include "app/CmdUI.h"
#include "app/TabStrip.h"
#include "i18n/IniFile.h"
#include "res/Resource.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

class AppCommands : public QObject {
    Q_OBJECT

private slots:
    void waveParameterItemsFollowTheWaveType();
    void digitalModeItemsCarryOneCheckMark();
    void deviceCommandsNeedADevice();
    void powerOnCommandsReachTheGenerator();
    void saveAsksOnceThenWritesSilently();
    void languageSwitchRetextsMenusTooltipsAndTabMenu();
    void savedLanguageIsRestoredAtStart();
};

namespace {

CCmdUI State(CMainFrame* frame, int id) {
    CCmdUI ui(id);
    frame->UpdateCommand(ui);
    return ui;
}

QList<int> EnabledOf(CMainFrame* frame, const QList<int>& ids) {
    QList<int> enabled;
    for (int id : ids)
        if (State(frame, id).m_bEnabled)
            enabled << id;
    return enabled;
}

QString MenuText(QMenuBar* bar, int top, int item = -1) {
    QAction* menu = bar->actions().value(top);
    if (item < 0)
        return menu->text();
    return menu->menu()->actions().value(item)->text();
}

} // namespace

void AppCommands::waveParameterItemsFollowTheWaveType() {
    CProgram program(1);
    CMainFrame* frame = program.Frame();
    const QList<int> waveItems{ID_WAVE_SQUARE, ID_WAVE_RAMP, ID_WAVE_TRAPEZIA, ID_WAVE_EXPONENT,
                               ID_WAVE_AMFM};
    QCOMPARE(EnabledOf(frame, waveItems), QList<int>{});
    QVERIFY(State(frame, ID_SWEEP).m_bEnabled);

    program.Doc(0)->m_pView->SelectWaveType(WAVE_SQUARE);
    QCOMPARE(EnabledOf(frame, waveItems), QList<int>{ID_WAVE_SQUARE});
    QVERIFY(!State(frame, ID_SWEEP).m_bEnabled);
    program.Doc(0)->m_pView->SelectWaveType(WAVE_AMFM);
    QCOMPARE(EnabledOf(frame, waveItems), QList<int>{ID_WAVE_AMFM});
    program.Doc(0)->m_pView->SelectWaveType(WAVE_ARB);
    QCOMPARE(EnabledOf(frame, waveItems), QList<int>{});
    for (int id : waveItems)
        QVERIFY(!State(frame, id).m_bChecked);

    // The menu takes these states when it opens.
    QMenu* waveMenu = frame->menuBar()->actions().value(2)->menu();
    program.Doc(0)->m_pView->SelectWaveType(WAVE_RAMP);
    emit waveMenu->aboutToShow();
    QVERIFY(frame->Action(ID_WAVE_RAMP)->isEnabled());
    QVERIFY(!frame->Action(ID_WAVE_SQUARE)->isEnabled());
}

void AppCommands::digitalModeItemsCarryOneCheckMark() {
    CProgram program(1);
    CMainFrame* frame = program.Frame();
    QVERIFY(State(frame, ID_PATTERN_GENERATOR).m_bChecked);
    QVERIFY(!State(frame, ID_PROGRAMMABLE_OUTPUT).m_bChecked);
    QVERIFY(!State(frame, ID_OUTPUT_SET).m_bEnabled);

    frame->RouteCommand(ID_PROGRAMMABLE_OUTPUT);
    QCOMPARE(int(program.Doc(0)->m_pDevice->m_nDIOMode), 1);
    QVERIFY(!State(frame, ID_PATTERN_GENERATOR).m_bChecked);
    QVERIFY(State(frame, ID_PROGRAMMABLE_OUTPUT).m_bChecked);
    QVERIFY(State(frame, ID_OUTPUT_SET).m_bEnabled);
    QTRY_COMPARE(SimGetUnit(0).dioMode, 1);

    QMenu* dioMenu = frame->menuBar()->actions().value(3)->menu();
    emit dioMenu->aboutToShow();
    QVERIFY(frame->Action(ID_PROGRAMMABLE_OUTPUT)->isChecked());
    QVERIFY(!frame->Action(ID_PATTERN_GENERATOR)->isChecked());
}

void AppCommands::deviceCommandsNeedADevice() {
    CProgram program(1);
    CMainFrame* frame = program.Frame();
    // Grayed by the template until their menu first opens.
    QVERIFY(!frame->Action(ID_POINTS_EDIT)->isEnabled() &&
            !frame->Action(ID_WAVE_AMFM)->isEnabled());
    QVERIFY(State(frame, ID_FILE_SAVE).m_bEnabled);
    QVERIFY(State(frame, ID_SHOW_HIDE_CONTROL).m_bEnabled);
    QVERIFY(!State(frame, ID_TOOLBAR_UNUSED).m_bEnabled);
    frame->CloseDocumentAt(0);
    for (int id : {ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_OPEN, ID_WAVE_SQUARE, ID_SWEEP,
                   ID_PATTERN_GENERATOR, ID_EDIT_COPY, ID_ZOOM_IN, ID_HELP_CONTENT})
        QVERIFY2(!State(frame, id).m_bEnabled, qPrintable(QString::number(id)));
    for (int id : {ID_FILE_NEW, ID_APP_EXIT, ID_APP_ABOUT, ID_FILE_PRINT_SETUP})
        QVERIFY2(State(frame, id).m_bEnabled, qPrintable(QString::number(id)));
    // Ctrl+N still opens a device.
    frame->show();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(program.Count(), 1);
}

void AppCommands::powerOnCommandsReachTheGenerator() {
    CProgram program(1);
    CMainFrame* frame = program.Frame();
    frame->RouteCommand(ID_POWER_ON_OUTPUT_CLOSE);
    QTRY_COMPARE(SimGetUnit(0).powerOnOutput, 0);
    frame->RouteCommand(ID_POWER_ON_OUTPUT_OPEN);
    QTRY_COMPARE(SimGetUnit(0).powerOnOutput, 1);
}

void AppCommands::saveAsksOnceThenWritesSilently() {
    CProgram program(1);
    CMultiDDSTarnDoc* doc = program.Doc(0);
    QCOMPARE(doc->m_strFileName, QStringLiteral("CSV File Empty"));
    // A file that cannot be made leaves the device playing its Sine.
    QVERIFY(!doc->WriteCsvFile(program.Folder() + QStringLiteral("/missing/wave.csv")));
    QVERIFY(
        program.m_answerer.m_messages.value(0).startsWith(QStringLiteral("Cann't Save file: ")));
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
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("#CLOCK=abc\n#SIZE=99999\n");
    bad.close();
    QVERIFY(!doc->ReadCsvFile(bad.fileName()));
    QCOMPARE(program.m_answerer.m_messages.size(), 2);
    QCOMPARE(doc->m_strFileName, QStringLiteral("wave.csv"));
}

void AppCommands::languageSwitchRetextsMenusTooltipsAndTabMenu() {
    CProgram program(
        1, 0, [](const QString& folder) { InstallLanguage(folder, QStringLiteral("German.lug")); });
    CMainFrame* frame = program.Frame();
    QMenuBar* bar = frame->menuBar();
    frame->OnTimer(); // first tick: language items, built-in texts without shortcut hints
    QCOMPARE(MenuText(bar, 0), QStringLiteral("&File"));
    QCOMPARE(MenuText(bar, 0, 0), QStringLiteral("&New"));
    QCOMPARE(MenuText(bar, 4, 5), QStringLiteral("Period Number"));
    QMenu* languageMenu = bar->actions().value(5)->menu()->actions().value(4)->menu();
    QCOMPARE(languageMenu->actions().size(), 3);
    QCOMPARE(languageMenu->actions().value(2)->text(), QStringLiteral("Deutsch"));

    frame->Action(ID_LANGUAGE_FIRST)->trigger();
    QCOMPARE(MenuText(bar, 0), QStringLiteral("&Datei"));
    QCOMPARE(MenuText(bar, 0, 11), QStringLiteral("&Beenden"));
    QCOMPARE(MenuText(bar, 5), QStringLiteral("&Extras"));
    QCOMPARE(languageMenu->actions().value(0)->text(), QStringLiteral("Standard(En)"));
    QCOMPARE(frame->Action(ID_FILE_NEW)->toolTip(), QStringLiteral("Neu"));
    QCOMPARE(frame->TabMenu()->actions().value(0)->text(), QStringLiteral("&Schließen"));
    QCOMPARE(frame->TabMenu()->actions().value(3)->text(), QStringLiteral("CSV s&peichern"));
    emit languageMenu->aboutToShow();
    QVERIFY(frame->IsLanguageChecked(ID_LANGUAGE_FIRST));
    QVERIFY(!frame->IsLanguageChecked(ID_LANGUAGE_DEFAULT));
    frame->OnTimer();
    QCOMPARE(frame->PaneText(0), QStringLiteral("Verbunden"));
    QCOMPARE(frame->TabStrip()->tabText(0), QStringLiteral("Device 1"));

    frame->Action(ID_LANGUAGE_DEFAULT)->trigger();
    QCOMPARE(MenuText(bar, 0), QStringLiteral("&File"));
    QCOMPARE(MenuText(bar, 0, 11), QStringLiteral("Exit"));
    QCOMPARE(frame->TabMenu()->actions().value(1)->text(), QStringLiteral("Change Device Name"));
    emit languageMenu->aboutToShow();
    QVERIFY(frame->IsLanguageChecked(ID_LANGUAGE_DEFAULT));
    QVERIFY(!frame->IsLanguageChecked(ID_LANGUAGE_FIRST));

    // The choice is stored at exit.
    frame->Action(ID_LANGUAGE_FIRST)->trigger();
    program.Exit();
    CIniFile config((program.Folder() + QStringLiteral("/config.ini")).toStdString());
    QCOMPARE(config.ReadString("Form", "Language"), std::string("0"));
}

void AppCommands::savedLanguageIsRestoredAtStart() {
    CProgram program(0, 0, [](const QString& folder) {
        InstallLanguage(folder, QStringLiteral("German.lug"));
        CIniFile((folder + QStringLiteral("/config.ini")).toStdString())
            .WriteString("Form", "Language", "0", true);
    });
    // The demo message already speaks the saved language.
    QCOMPARE(program.m_answerer.m_messages.value(0).left(22),
             QStringLiteral("Keine Hardware gefunde"));
    program.Frame()->OnTimer();
    QCOMPARE(MenuText(program.Frame()->menuBar(), 0), QStringLiteral("&Datei"));
}

QTEST_MAIN(AppCommands)
#include "AppCommands.moc"
