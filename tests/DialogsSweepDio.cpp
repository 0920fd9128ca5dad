// The Sweep and digital I/O dialogs driven like a user would, checked at the simulated generator.
#include "ViewTestSupport.h"

#include "control/DeviceControl.h"
#include "dialogs/DigitalInDlg.h"
#include "dialogs/DigitalOutDlg.h"
#include "dialogs/SweepDlg.h"
#include "widgets/PinButton.h"

namespace {

using F = CSweepRules::Field;
constexpr double kSweepScale = 0.048828125;

void Report(CTurnButton* knob, double angle) {
    knob->SetValue(angle);
    emit knob->MouseMove(1, 0, 0, 0);
}

/// Whether the sweep shows as running: On/Off button text, LED and timer, step field locked.
QString Running(const CSweepDlg& dialog) {
    return QStringLiteral("%1 %2%3%4")
        .arg(dialog.OnOffButton()->text())
        .arg(dialog.Led()->GetValue())
        .arg(dialog.IsTimerActive())
        .arg(dialog.Edit(F::FIELD_STEP)->isEnabled());
}

/// The levels a digital I/O dialog shows, line 0 first.
template <class Dialog> QString Levels(Dialog* dialog) {
    QString levels;
    for (int k = 0; k < Dialog::kPins; ++k)
        levels += dialog->Pin(k)->text();
    return levels;
}

} // namespace

class DialogsSweepDio : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_pHarness.reset(); }

    void sweepEntriesAreClampedAsTyped() {
        // Start below 20 or no number, end above 100 kHz, speed over an hour or with a
        // fraction, step over the span: the field, what is typed, shown and stored.
        const std::tuple<F, const char*, const char*, double> entries[] = {
            {F::FIELD_START, "5", "20", 20},         {F::FIELD_START, "x", "20", 20},
            {F::FIELD_END, "200000", "100000", 1e5}, {F::FIELD_SPEED, "4000000", "100", 100},
            {F::FIELD_SPEED, "99.9", "100", 99},     {F::FIELD_STEP, "99999", "99000", 99000}};
        for (const auto& [field, typed, shown, stored] : entries) {
            auto dialog = Sweep();
            QLineEdit* edit = dialog->Edit(field);
            edit->setText(QLatin1String(typed)); // pasted: typing writes back at each key
            QCOMPARE(edit->text(), QLatin1String(shown));
            const double values[] = {Device()->m_dSweepStart, Device()->m_dSweepEnd,
                                     double(Device()->m_nSweepSpeed), Device()->m_dSweepStep};
            QCOMPARE(values[field], stored);
        }
    }

    // What a knob writes is shown under the knob's own limits and not read back through the
    // field's: a start turned below 0 shows 0, a step is not held to the span, an end keeps its
    // fraction behind a rounded text. Half a turn from the zero mark is 500 Hz forward.
    void sweepKnobsKeepTheirOwnLimits() {
        auto dialog = Sweep();
        for (int field = 0; field < 4; ++field) // each knob seen at its zero mark
            Report(dialog->Knob(F(field)), 0.0);
        for (const auto& [field, value] : {std::pair(F::FIELD_START, 1000), {F::FIELD_END, 1003}})
            dialog->Edit(field)->setText(QString::number(value));
        // Field, the knob's reports from where it was left, text, stored.
        const std::tuple<F, QList<double>, const char*, double> turns[] = {
            {F::FIELD_END, {3.14}, "1503", 1503},
            {F::FIELD_START, {3.14}, "1500", 1500},
            {F::FIELD_STEP, {1.0}, "160", 160}, // the span is 3 Hz
            {F::FIELD_START, {2.0, 1.0, 0.0, 5.0, 4.0, 3.0, 2.0, 1.0, 0.1, 5.5}, "0", 0},
            {F::FIELD_END, {3.138}, "1503", 1502.68153}};
        for (const auto& [field, angles, text, stored] : turns) {
            for (double angle : angles)
                Report(dialog->Knob(field), angle);
            QCOMPARE(dialog->Edit(field)->text(), QLatin1String(text));
            const double values[] = {Device()->m_dSweepStart, Device()->m_dSweepEnd, 0,
                                     Device()->m_dSweepStep};
            QVERIFY2(qAbs(values[field] - stored) < 1e-5, text);
        }
    }

    // While the sweep runs the knobs change nothing, not even where they were seen last, and are
    // not turned back.
    void sweepKnobTurnsOnlyWhileStopped() {
        auto dialog = Sweep();
        CTurnButton* knob = dialog->Knob(F::FIELD_START);
        Report(knob, 1.0);
        const double before = Device()->m_dSweepStart;
        // A screen reader hears a "Sweep" toggle, pressed while the sweep runs.
        const auto toggle = [&] {
            return std::tuple(dialog->OnOffButton()->accessibleName(),
                              dialog->OnOffButton()->isChecked());
        };
        QCOMPARE(toggle(), std::tuple(QString("Sweep"), false));
        dialog->OnOffButton()->click();
        QCOMPARE(toggle(), std::tuple(QString("Sweep"), true));
        Report(knob, 2.0);
        QCOMPARE(std::tuple(knob->GetValue(), double(Device()->m_dSweepStart)),
                 std::tuple(2.0, before));
        dialog->OnOffButton()->click();
        Report(knob, 2.0); // one radian on from 1.0
        QCOMPARE(double(Device()->m_dSweepStart), before + 159);
        QCOMPARE(dialog->Edit(F::FIELD_START)->text(), QString::number(before + 159));
    }

    // Every way of closing stops and returns the output to the frequency entered, also when no
    // sweep ran.
    void closingAlwaysReturnsToTheFrequencyEntered() {
        const std::function<void(CSweepDlg&)> closes[] = {
            [](CSweepDlg& dialog) { dialog.close(); },
            [](CSweepDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
            [](CSweepDlg& dialog) { dialog.reject(); }};
        for (const auto& close : closes) {
            for (bool running : {false, true}) {
                auto dialog = Sweep();
                dialog->Edit(F::FIELD_SPEED)->setText(QStringLiteral("3600000"));
                QTRY_VERIFY(SimGetUnit(0).frequency == 1000.0 &&
                            Device()->PendingCommands().empty());
                dialog->show();
                if (running) {
                    dialog->OnOffButton()->click();
                    dialog->OnTimer();
                }
                close(*dialog);
                QCOMPARE(Running(*dialog), QStringLiteral("ON 001"));
                QVERIFY(!dialog->isVisible() && Device()->m_bSweepOn == 0);
                QTRY_COMPARE(SimGetUnit(0).frequency, 1234.0);
            }
        }
    }

    // The end is played, then the start again; an end below the start is raised to it.
    void sweepPlaysAtTheGeneratorAndReturnsToLastFrequency() {
        const std::tuple<int, int, int, QList<double>> sweeps[] = {
            {1000, 1003, 1003, {1000, 1001, 1002, 1003, 1000}}, {5000, 2000, 5000, {5000, 5000}}};
        for (const auto& [start, end, endShown, played] : sweeps) {
            auto dialog = Sweep();
            // Ticks come from the test, not from the speed.
            for (const auto& [field, value] : {std::pair(F::FIELD_START, start),
                                               {F::FIELD_END, end},
                                               {F::FIELD_STEP, 1},
                                               {F::FIELD_SPEED, 3600000}})
                dialog->Edit(field)->setText(QString::number(value));
            QTRY_VERIFY(Device()->PendingCommands().empty());
            SimClearLog();

            dialog->OnOffButton()->click();
            QCOMPARE(Running(*dialog), QStringLiteral("OFF 110"));
            QCOMPARE(dialog->Edit(F::FIELD_END)->text(), QString::number(endShown));
            QStringList expected;
            for (double hz : played) {
                dialog->OnTimer();
                expected << QString::asprintf("DDSSetFrequency(0,%f)", hz * kSweepScale);
                QTRY_COMPARE(SimCalls("DDSSetFrequency(0,").size(), expected.size());
            }
            QCOMPARE(SimCalls("DDSSetFrequency(0,"), expected);

            dialog->OnOffButton()->click();
            QTRY_COMPARE(SimGetUnit(0).frequency, 1234.0);
            QCOMPARE(Running(*dialog), QStringLiteral("ON 001"));
        }
    }

    void digitalDialogsDriveTheLinesAndCloseWithTheirDevice() {
        m_pHarness = std::make_unique<CViewHarness>(1);
        CMultiDDSTarnView* view = m_pHarness->View();
        Device()->m_wDigitalOut = 0x0A05;
        view->OnCommand(ID_OUTPUT_SET);
        CDigitalOutDlg* out = view->Dialogs().DigitalOut();
        QVERIFY(out && out->isVisible());
        QCOMPARE(Levels(out), QStringLiteral("HLHLLLLLLHLH")); // line 0 first
        out->OnTimer();
        QCOMPARE(int(Device()->m_wDigitalOut), 0x0A05);

        QTest::mouseClick(out->Pin(3), Qt::LeftButton);
        out->OnTimer();
        QTRY_COMPARE(int(SimGetUnit(0).digitalOut), 0x0A0D);
        QTRY_COMPARE(Device()->m_wDigitalIn & 0x3F, 0x0D);

        view->OnCommand(ID_DIGITAL_INPUT);
        CDigitalInDlg* in = view->Dialogs().DigitalIn();
        QCOMPARE(Levels(in), QStringLiteral("HLHHLL"));
        QTest::mouseClick(in->Pin(1), Qt::LeftButton); // inputs are only shown
        QCOMPARE(Levels(in), QStringLiteral("HLHHLL"));

        // Hidden by OK, the Output Set dialog keeps writing its boxes.
        out->findChild<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)->click();
        QVERIFY(!out->isVisible());
        out->Pin(0)->SetLevel(0);
        QTRY_COMPARE(int(Device()->m_wDigitalOut), 0x0A0C);
        view->OnCommand(ID_OUTPUT_SET);
        QCOMPARE(view->Dialogs().DigitalOut(), out);

        const QPointer<QWidget> outAlive = out, inAlive = in;
        view->GetDocument()->OnCloseDocument();
        QVERIFY(outAlive.isNull() && inAlive.isNull());
        QTest::qWait(350); // a timer left behind would now fire on the freed record
    }

    // On a demo device the sweep runs but never changes the frequency, and its dialog takes a
    // new language while open, as Output Set does.
    void demoSweepAndDialogsTakeTheNewLanguageWhileOpen() {
        CProgram program(0, 0, [](const QString& f) { InstallLanguage(f, "German.lug"); });
        CDDSDevice* device = program.Device();
        program.View()->OnCommand(ID_OUTPUT_SET);
        CDigitalOutDlg* out = program.View()->Dialogs().DigitalOut();
        program.Doc(0)->m_pControl->RememberFrequency(1234.0);
        CSweepDlg sweep(*program.Doc(0)->m_pControl, program.Frame()->Language());
        sweep.OnOffButton()->click();
        QVERIFY(device->m_bDemo == 1 && sweep.Led()->GetValue() && sweep.IsTimerActive());
        for (int tick = 0; tick < 3; ++tick)
            sweep.OnTimer();
        QCOMPARE((QList<double>{device->m_dFrequency, device->m_dSweepFreq}),
                 (QList<double>{1000.0, 1000.0}));
        program.Frame()->SetLanguage(0);
        sweep.Retext(program.Frame()->Language());
        QCOMPARE((QStringList{out->windowTitle(), out->findChild<QGroupBox*>()->title(),
                              sweep.OnOffButton()->text(), sweep.findChild<QGroupBox*>()->title()}),
                 (QStringList{"Ausgänge setzen", "Digitalausgänge (H: 3,3V, L: GND)", "AUS",
                              "Startfrequenz"}));
        // Esc stops the sweep before the dialog goes.
        QTest::keyClick(&sweep, Qt::Key_Escape);
        QVERIFY(device->m_bSweepOn == 0 && !sweep.IsTimerActive());
        QCOMPARE(double(device->m_dFrequency), 1234.0);
    }

private:
    CDDSDevice* Device() const { return m_pHarness->Device(); }
    /// The program on one generator, and a Sweep dialog for its device whose panel frequency
    /// was last 1234 Hz.
    std::unique_ptr<CSweepDlg> Sweep() {
        m_pHarness.reset(); // one program at a time
        m_pHarness = std::make_unique<CViewHarness>(1);
        CDeviceControl& control = *m_pHarness->Doc(0)->m_pControl;
        control.RememberFrequency(1234.0);
        return std::make_unique<CSweepDlg>(control, CMainFrame::Get()->Language());
    }

    std::unique_ptr<CViewHarness> m_pHarness;
};

QTEST_MAIN(DialogsSweepDio)
#include "DialogsSweepDio.moc"
