// The device window driven like a user would: each entry must reach the simulated generator.
// Clamps and step rules of the fields themselves are the widget tests' business.
#include "ViewTestSupport.h"

#include "app/CmdUI.h"
#include "control/DeviceControl.h"
#include "view/KnobEncoder.h"
#include "view/WaveDisplay.h"
#include "widgets/OnOff.h"
#include "widgets/StepEdit.h"

#include <numeric>

namespace {

/// Lowest and highest code of the unit's last download, and their mean.
QList<double> Codes() {
    const std::vector<unsigned short> buffer = SimGetUnit(0).buffer;
    if (buffer.empty())
        return {};
    const auto [low, high] = std::minmax_element(buffer.begin(), buffer.end());
    return {double(*low), double(*high),
            std::accumulate(buffer.begin(), buffer.end(), 0.0) / double(buffer.size())};
}

} // namespace

class ViewPanelEntry : public QObject {
    Q_OBJECT

private slots:
    void init() {
        CKnobEncoder::Reset();
        m_pHarness = std::make_unique<CViewHarness>(1);
        QTRY_VERIFY(View()->Worker().IsRunning() && !SimGetUnit(0).buffer.empty());
    }
    void cleanup() { m_pHarness.reset(); }

    void frequencyFromKnobAndTextWithinTheWaveTypesLimit() {
        QVERIFY(!View()->Control(IDC_VIEW_SLIDER)->isEnabled());
        QTRY_COMPARE(SimGetUnit(0).frequency, 1000.0);
        // The counter field follows the timer: frequency mode, nothing measured yet or 1 kHz
        // looped.
        QTRY_VERIFY(View()->CounterText().endsWith(QStringLiteral("Hz")));

        auto* knob = static_cast<CTurnButton*>(View()->Control(IDC_KNOB_FREQUENCY));
        knob->SetValue(6.2); // from the remembered 0: back across the mark
        emit knob->MouseMove(1, 0, 0, 0);
        QCOMPARE(Shows(IDC_FREQUENCY), "998.000 -> 1000"); // moving does not apply
        knob->SetValue(0.1);
        emit knob->MouseUp(1, 0, 0, 0);
        QCOMPARE(Shows(IDC_FREQUENCY), "1003.000 -> 1003"); // not 998 - 194
        QCOMPARE(
            std::tuple(View()->GetDocument()->m_pControl->LastFrequency(), View()->m_bKnobBusy),
            std::tuple(1003.0, 0));
        QTRY_COMPARE(SimGetUnit(0).frequency, 1003.0);

        // Pasted: the exponent is no number here; the text stays, the default tone plays.
        QCOMPARE(Type(IDC_FREQUENCY, "2e7"), "2e7 -> 1000");
        Field(IDC_FREQUENCY)->clear();
        QCOMPARE(Shows(IDC_FREQUENCY), "1.000 -> 1");
        Field(IDC_FREQUENCY)->selectAll(); // the field can never be empty: type over its text
        QTest::keyClicks(Field(IDC_FREQUENCY), QStringLiteral("12345"));
        QCOMPARE(View()->GetDocument()->m_pControl->LastFrequency(), 12345.0);
        QTRY_COMPARE(SimGetUnit(0).frequency, 12345.0);

        QCOMPARE(Type(IDC_FREQUENCY, "30000000"), "30000000 -> 30000000");
        View()->SelectWaveType(WAVE_RAMP); // lowers a Sine-only frequency
        QCOMPARE(Shows(IDC_FREQUENCY), "25000000.000 -> 25000000");
        QTRY_COMPARE(SimGetUnit(0).frequency, 25000000.0);
    }

    void switchesCounterAmplitudeAndOffsetReachTheUnit() {
        Click(IDC_SW_OUTPUT);
        QVERIFY(!Led(IDC_LED_OUTPUT));
        QTRY_COMPARE(Codes().mid(0, 2), (QList<double>{2048, 2048}));
        Click(IDC_SW_OUTPUT);
        Click(IDC_SW_ATTEN);
        QVERIFY(Led(IDC_LED_ATTEN));
        // -20 dB: 2 V peak becomes 0.2 V, about 117 codes from mid-scale.
        QTRY_VERIFY(qAbs(Codes()[0] - 1931) <= 2);
        for (int id : {IDC_SW_SINGLE_WAVE, IDC_SW_EXT_TRIG, IDC_TRIG_EDGE})
            Click(id);
        QTRY_COMPARE((QList<int>{SimGetUnit(0).singleWave, SimGetUnit(0).triggerOn,
                                 SimGetUnit(0).triggerEdge}),
                     (QList<int>{1, 1, 1}));

        SimSetExternalFrequency(0, 1500.0);
        QTRY_COMPARE(View()->CounterText(), QStringLiteral("1.500000 KHz"));
        SimClearLog();
        Click(IDC_MEASURE_MODE);
        QCOMPARE(int(Device()->m_nMeasureMode), 0);
        // The unit's counter is cleared before the first count is read.
        QTRY_VERIFY(!SimCalls("DDSResetCounter").isEmpty());
        SimSetExternalCount(0, 42.0);
        QTRY_COMPARE(View()->CounterText(), QStringLiteral("00000000042"));
        Click(IDC_SW_COUNTER); // off: the reading shows zero
        QTRY_COMPARE(View()->CounterText(), QStringLiteral("00000000000"));
        for (int id : {IDC_SW_ATTEN, IDC_SW_SINGLE_WAVE, IDC_SW_EXT_TRIG})
            Click(id); // off again

        // Peak 1.75 V of 3.5 V full scale: codes reach about 2048 -/+ 1023.
        QCOMPARE(Type(IDC_AMPLITUDE, "1.75"), "1.75 -> 1.75");
        QTRY_VERIFY(qAbs(Codes()[0] - 1025) <= 2);
        QCOMPARE(Type(IDC_AMPLITUDE, "0"), "0 -> 0");
        QTRY_COMPARE(Codes().mid(0, 2), (QList<double>{2048, 2048}));

        auto* spin = static_cast<CSpinButton*>(View()->Control(IDC_SPIN_OFFSET));
        spin->UpButton()->click();
        QCOMPARE(Shows(IDC_OFFSET), "1.000 -> 1");
        QTRY_VERIFY(qAbs(Codes()[2] - (2048 - 2047 / 3.5)) < 1.0);
        QCOMPARE(Type(IDC_OFFSET, "0.1"), "0.1 -> 0.1"); // not rounded to a float
    }

    void waveSwitchesArbTableAndHiddenPanel() {
        Click(IDC_WAVE_SQUARE);
        QVERIFY(Device()->m_nWaveType == WAVE_SQUARE && !Switch(IDC_WAVE_SINE)->GetValue());
        Click(IDC_WAVE_SQUARE); // again: stays selected
        QVERIFY(Switch(IDC_WAVE_SQUARE)->GetValue());

        Field(IDC_PHASE)->setText(QStringLiteral("0.5"));
        View()->GetDocument()->m_strFileName = QStringLiteral("old.csv");
        Click(IDC_WAVE_ARB);
        QCOMPARE(std::tuple(int(Device()->m_nWaveType), View()->GetDocument()->m_strFileName,
                            Field(IDC_PHASE)->text()),
                 std::tuple(int(WAVE_ARB), QString("CSV File Empty"), QString("0.000")));
        QWidget* slider = View()->Control(IDC_VIEW_SLIDER);
        QVERIFY(slider->isVisible() && slider->isEnabled());
        Click(IDC_WAVE_SINE);
        QVERIFY(!slider->isVisible());

        // A table read from a file keeps its name (the table itself is the device control's).
        View()->GetDocument()->m_bArbFromFile = 1;
        View()->GetDocument()->m_strFileName = QStringLiteral("wave.csv");
        View()->SelectWaveType(WAVE_ARB);
        QCOMPARE(View()->GetDocument()->m_strFileName, QStringLiteral("wave.csv"));

        // Hiding the panel widens the display; the menu item shows it hidden.
        QTRY_VERIFY(View()->width() > 300);
        auto checked = [this] {
            CCmdUI ui(ID_SHOW_HIDE_CONTROL);
            return View()->OnUpdateCommand(ui) && ui.m_bChecked;
        };
        QVERIFY(checked() && View()->OnCommand(ID_SHOW_HIDE_CONTROL));
        QCOMPARE(View()->Display()->width(), View()->width() - 15);
        QVERIFY(!View()->Control(IDC_FREQUENCY)->isVisible() && !checked());
        static_cast<QToolButton*>(View()->Control(IDC_PANEL_BUTTON))->click();
        QVERIFY(View()->Control(IDC_FREQUENCY)->isVisible());
    }

    void eachWindowDrivesItsOwnUnitAndClosesCleanly() {
        m_pHarness.reset();
        m_pHarness = std::make_unique<CViewHarness>(2); // the Device List takes unit 0 first
        m_pHarness->Frame()->OnTimer();                 // the first tick loads the language
        m_pHarness->Open();
        CMultiDDSTarnView* second = View(1);
        // A new window is texted in the language ("Raise" in the form, "Rise" in the language)
        // but not its arrow button, whose id is another dialog's "Previous".
        QCOMPARE(qobject_cast<QLabel*>(second->Control(IDC_TXT_RAISE))->text(), "Rise");
        QVERIFY(static_cast<QToolButton*>(second->Control(IDC_PANEL_BUTTON))->text().isEmpty());
        QCOMPARE(int(m_pHarness->Device(1)->m_nDevice), 1);
        QTRY_VERIFY(second->Worker().IsRunning());
        static_cast<CStepEdit*>(second->Control(IDC_FREQUENCY))->setText(QStringLiteral("4321"));
        QTRY_COMPARE(SimGetUnit(1).frequency, 4321.0);
        QCOMPARE(SimGetUnit(0).frequency, 1000.0);
        // Closing the first window stops its worker before its record goes; the other runs on.
        CMainFrame::Get()->CloseDocumentAt(0);
        QVERIFY(m_pHarness->Count() == 1 && View(0) == second);
        static_cast<CStepEdit*>(second->Control(IDC_FREQUENCY))->setText(QStringLiteral("5000"));
        QTRY_COMPARE(SimGetUnit(1).frequency, 5000.0);
    }

private:
    CMultiDDSTarnView* View(int i = 0) const { return m_pHarness->View(i); }
    CDDSDevice* Device() const { return m_pHarness->Device(); }
    /// A field's text and what the record holds for it.
    QString Shows(int id) const {
        const double stored = id == IDC_FREQUENCY   ? double(Device()->m_dFrequency)
                              : id == IDC_AMPLITUDE ? double(Device()->m_fAmplitude)
                                                    : double(Device()->m_dOffset);
        return Field(id)->text() + " -> " + QString::number(stored, 'g', 12);
    }
    /// Sets a field's text as a paste would; what it then shows and stores.
    QString Type(int id, const char* text) {
        Field(id)->setText(text);
        return Shows(id);
    }
    CStepEdit* Field(int id) const { return static_cast<CStepEdit*>(View()->Control(id)); }
    COnOff* Switch(int id) const { return static_cast<COnOff*>(View()->Control(id)); }
    void Click(int id) const { QTest::mouseClick(View()->Control(id), Qt::LeftButton); }
    bool Led(int id) const { return static_cast<CLED*>(View()->Control(id))->GetValue(); }

    std::unique_ptr<CViewHarness> m_pHarness;
};

QTEST_MAIN(ViewPanelEntry)
#include "ViewPanelEntry.moc"
