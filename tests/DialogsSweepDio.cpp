// The Sweep and digital I/O dialogs driven like a user would, checked at the simulated generator.
#include "AppTestSupport.h"
#include "ViewTestSupport.h"

#include "dialogs/DigitalInDlg.h"
#include "dialogs/DigitalOutDlg.h"
#include "dialogs/SweepDlg.h"
#include "res/Resource.h"
#include "widgets/LED.h"
#include "widgets/PinButton.h"
#include "widgets/TurnButton.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace {

using F = CSweepRules::Field;
constexpr double kSweepScale = 0.048828125;

/// Frequencies unit 0 was programmed with, as logged.
QStringList ProgrammedFrequencies() {
    QStringList calls;
    for (const std::string& call : SimCallLog())
        if (call.rfind("DDSSetFrequency(0,", 0) == 0)
            calls << QString::fromStdString(call);
    return calls;
}

void Report(CTurnButton* knob, double angle) {
    knob->SetValue(angle);
    emit knob->MouseMove(1, 0, 0, 0);
}

} // namespace

class DialogsSweepDio : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_pHarness.reset(); }
    void SweepEntriesAreClampedAsTyped_data();
    void SweepEntriesAreClampedAsTyped();
    void SweepKnobTurnsOnlyWhileStopped();
    void SweepPlaysAtTheGeneratorAndReturnsToLastFrequency_data();
    void SweepPlaysAtTheGeneratorAndReturnsToLastFrequency();
    void DemoSweepRunsButNeverChangesFrequency();
    void DigitalDialogsDriveTheLinesAndCloseWithTheirDevice();
    void DialogsTakeTheNewLanguageWhileOpen();

private:
    CDDSDevice* Device() const { return m_pHarness->Device(); }
    /// The program on `units` generators (none: a demo device), and a Sweep dialog for its
    /// device whose panel frequency was last 1234 Hz.
    std::unique_ptr<CSweepDlg> Sweep(int units) {
        m_pHarness = std::make_unique<CViewHarness>(units);
        return std::make_unique<CSweepDlg>(*Device(), 1234.0, CMainFrame::Get()->Language());
    }

    std::unique_ptr<CViewHarness> m_pHarness;
};

void DialogsSweepDio::SweepEntriesAreClampedAsTyped_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("shown");
    QTest::newRow("start below 20") << int(F::FIELD_START) << QString("5") << 20;
    QTest::newRow("start not a number") << int(F::FIELD_START) << QString("x") << 20;
    QTest::newRow("end above 100 kHz") << int(F::FIELD_END) << QString("200000") << 100000;
    QTest::newRow("speed over an hour") << int(F::FIELD_SPEED) << QString("4000000") << 100;
    QTest::newRow("step over the span") << int(F::FIELD_STEP) << QString("99999") << 99000;
}

void DialogsSweepDio::SweepEntriesAreClampedAsTyped() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(int, shown);
    auto dialog = Sweep(1);
    QLineEdit* edit = dialog->Edit(F(field));
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), QString::number(shown));
    const double stored[] = {Device()->m_dSweepStart, Device()->m_dSweepEnd,
                             double(Device()->m_nSweepSpeed), Device()->m_dSweepStep};
    QCOMPARE(stored[field], double(shown));
}

void DialogsSweepDio::SweepKnobTurnsOnlyWhileStopped() {
    auto dialog = Sweep(1);
    CTurnButton* knob = dialog->Knob(F::FIELD_START);
    Report(knob, 5.8); // from wherever the knob was left: less than half a turn either way
    const double before = Device()->m_dSweepStart;
    // Four reports of 0.8 rad crossing the zero mark: each adds 127.39 Hz, truncated.
    for (double angle : {6.6, 7.4, 8.2, 9.0})
        Report(knob, angle);
    QCOMPARE(double(Device()->m_dSweepStart), before + 4 * 127);
    QCOMPARE(dialog->Edit(F::FIELD_START)->text(), QString::number(before + 508));
    // 0.3 Hz down leaves the end's text "100000", and the record keeps what the text says.
    Report(dialog->Knob(F::FIELD_END), dialog->Knob(F::FIELD_END)->GetValue() - 0.002);
    QCOMPARE(double(Device()->m_dSweepEnd), 100000.0);

    dialog->OnOffButton()->click();
    const double angle = knob->GetValue();
    Report(knob, angle + 1.0);
    QCOMPARE(knob->GetValue(), angle);
    QCOMPARE(double(Device()->m_dSweepStart), before + 508);
    dialog->reject();
}

void DialogsSweepDio::SweepPlaysAtTheGeneratorAndReturnsToLastFrequency_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("endShown");
    QTest::addColumn<QList<double>>("played");
    QTest::newRow("end played, then start")
        << 1000 << 1003 << 1003 << QList<double>{1000, 1001, 1002, 1003, 1000};
    QTest::newRow("end below start") << 5000 << 2000 << 5000 << QList<double>{5000, 5000};
}

void DialogsSweepDio::SweepPlaysAtTheGeneratorAndReturnsToLastFrequency() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, endShown);
    QFETCH(QList<double>, played);
    auto dialog = Sweep(1);
    dialog->Edit(F::FIELD_START)->setText(QString::number(start));
    dialog->Edit(F::FIELD_END)->setText(QString::number(end));
    dialog->Edit(F::FIELD_STEP)->setText(QStringLiteral("1"));
    dialog->Edit(F::FIELD_SPEED)->setText(QStringLiteral("3600000")); // ticks come from the test
    QTRY_VERIFY(Device()->PendingCommands().empty());
    SimClearLog();

    dialog->OnOffButton()->click();
    QCOMPARE(dialog->OnOffButton()->text(), QStringLiteral("OFF"));
    QVERIFY(dialog->Led()->GetValue() && dialog->IsTimerActive());
    QVERIFY(!dialog->Edit(F::FIELD_STEP)->isEnabled());
    QCOMPARE(dialog->Edit(F::FIELD_END)->text(), QString::number(endShown));
    QStringList expected;
    for (double hz : played) {
        dialog->OnTimer();
        expected << QString::asprintf("DDSSetFrequency(0,%f)", hz * kSweepScale);
        QTRY_COMPARE(ProgrammedFrequencies().size(), expected.size());
    }
    QCOMPARE(ProgrammedFrequencies(), expected);

    dialog->OnOffButton()->click();
    QTRY_COMPARE(SimGetUnit(0).frequency, 1234.0);
    QCOMPARE(dialog->OnOffButton()->text(), QStringLiteral("ON"));
    QVERIFY(!dialog->Led()->GetValue() && !dialog->IsTimerActive());
    QVERIFY(dialog->Edit(F::FIELD_STEP)->isEnabled());
}

void DialogsSweepDio::DemoSweepRunsButNeverChangesFrequency() {
    auto dialog = Sweep(0);
    QVERIFY(Device()->m_bDemo == 1);
    dialog->OnOffButton()->click();
    QVERIFY(dialog->Led()->GetValue() && dialog->IsTimerActive());
    for (int tick = 0; tick < 3; ++tick)
        dialog->OnTimer();
    QCOMPARE(double(Device()->m_dFrequency), 1000.0);
    QCOMPARE(double(Device()->m_dSweepFreq), 1000.0);
    // Esc stops the sweep before the dialog goes.
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QVERIFY(Device()->m_bSweepOn == 0 && !dialog->IsTimerActive());
    QCOMPARE(double(Device()->m_dFrequency), 1234.0);
}

void DialogsSweepDio::DigitalDialogsDriveTheLinesAndCloseWithTheirDevice() {
    m_pHarness = std::make_unique<CViewHarness>(1);
    CMultiDDSTarnView* view = m_pHarness->View();
    Device()->m_wDigitalOut = 0x0A05;
    view->OnCommand(ID_OUTPUT_SET);
    CDigitalOutDlg* out = view->Dialogs().DigitalOut();
    QVERIFY(out && out->isVisible());
    for (int k = 0; k < CDigitalOutDlg::kPins; ++k)
        QCOMPARE(out->Pin(k)->text(), QString((0x0A05 >> k) & 1 ? "H" : "L"));
    out->OnTimer();
    QCOMPARE(int(Device()->m_wDigitalOut), 0x0A05);

    QTest::mouseClick(out->Pin(3), Qt::LeftButton);
    out->OnTimer();
    QCOMPARE(int(Device()->m_wDigitalOut), 0x0A0D);
    QTRY_COMPARE(int(SimGetUnit(0).digitalOut), 0x0A0D);
    QTRY_COMPARE(Device()->m_wDigitalIn & 0x3F, 0x0D);

    view->OnCommand(ID_DIGITAL_INPUT);
    CDigitalInDlg* in = view->Dialogs().DigitalIn();
    for (int k = 0; k < CDigitalInDlg::kPins; ++k)
        QCOMPARE(in->Pin(k)->text(), QString((0x0D >> k) & 1 ? "H" : "L"));
    QTest::mouseClick(in->Pin(1), Qt::LeftButton);
    QCOMPARE(in->Pin(1)->text(), QStringLiteral("L"));

    // Hidden by OK, the Output Set dialog keeps writing its boxes.
    out->findChild<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)->click();
    QVERIFY(!out->isVisible());
    out->Pin(0)->SetLevel(0);
    QTRY_COMPARE(int(Device()->m_wDigitalOut), 0x0A0C);
    view->OnCommand(ID_OUTPUT_SET);
    QCOMPARE(view->Dialogs().DigitalOut(), out);

    QPointer<CDigitalOutDlg> outAlive = out;
    QPointer<CDigitalInDlg> inAlive = in;
    view->GetDocument()->OnCloseDocument();
    QVERIFY(outAlive.isNull() && inAlive.isNull());
    QTest::qWait(350); // a timer left behind would now fire on the freed record
}

void DialogsSweepDio::DialogsTakeTheNewLanguageWhileOpen() {
    CProgram program(
        1, 0, [](const QString& folder) { InstallLanguage(folder, QStringLiteral("German.lug")); });
    CMultiDDSTarnDoc* doc = program.Doc(0);
    auto* view = static_cast<CMultiDDSTarnView*>(doc->m_pView);
    view->OnCommand(ID_OUTPUT_SET);
    CDigitalOutDlg* out = view->Dialogs().DigitalOut();
    CSweepDlg sweep(*doc->m_pDevice, 1000.0, program.Frame()->Language());
    sweep.OnOffButton()->click();

    program.Frame()->SetLanguage(0);
    QCOMPARE(out->windowTitle(), QStringLiteral("Ausgänge setzen"));
    QCOMPARE(out->findChild<QGroupBox*>()->title(),
             QStringLiteral("Digitalausgänge (H: 3,3V, L: GND)"));
    sweep.Retext(program.Frame()->Language());
    QCOMPARE(sweep.OnOffButton()->text(), QStringLiteral("AUS"));
    QCOMPARE(sweep.findChild<QGroupBox*>()->title(), QStringLiteral("Startfrequenz"));
    sweep.reject();
}

QTEST_MAIN(DialogsSweepDio)
#include "DialogsSweepDio.moc"
