// Pure rules of the device view: counter text, knob steps, form template and panel layout.
#include "res/Resource.h"
#include "view/CounterText.h"
#include "view/KnobEncoder.h"
#include "view/PanelLayout.h"
#include "view/PanelTemplate.h"

#include <QSet>
#include <QTest>

class ViewPanelGeometry : public QObject {
    Q_OBJECT

private slots:
    void CounterModeShowsElevenDigitsUnsigned();
    void FrequencyModeChoosesUnitAtThousandAndMillion_data();
    void FrequencyModeChoosesUnitAtThousandAndMillion();
    void KnobCrossingZeroMarkTakesShortWay();
    void KnobDropsFractionAndRemembersAnglePerRole();
    void DialogUnitsScaleEachEdge();
    void TemplateIdsAreUniqueAndPanelLiesRightOfDisplay();
    void ShownPanelSitsAtRightWithGaps();
    void ArbPutsSliderUnderDisplay();
    void PlacementKeepsPlaceRelativeToGroup();
};

void ViewPanelGeometry::CounterModeShowsElevenDigitsUnsigned() {
    QCOMPARE(CCounterText::Format(0, 123.0, 42), QStringLiteral("00000000042"));
    // The count register is unsigned: the all-ones pattern is the largest count, not -1.
    QCOMPARE(CCounterText::Format(0, 0.0, -1), QStringLiteral("04294967295"));
}

void ViewPanelGeometry::FrequencyModeChoosesUnitAtThousandAndMillion_data() {
    QTest::addColumn<double>("hz");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0.000000 Hz";
    QTest::newRow("below 1 kHz") << 999.5 << "999.500000 Hz";
    QTest::newRow("1 kHz") << 1000.0 << "1.000000 KHz";
    QTest::newRow("just below 1 MHz") << 999999.9 << "999.999900 KHz";
    QTest::newRow("1 MHz") << 1000000.0 << "1.000000 MHz";
    QTest::newRow("75 MHz") << 75000000.0 << "75.000000 MHz";
}

void ViewPanelGeometry::FrequencyModeChoosesUnitAtThousandAndMillion() {
    QFETCH(double, hz);
    QFETCH(QString, text);
    QCOMPARE(CCounterText::Format(1, hz, 7), text);
}

void ViewPanelGeometry::KnobCrossingZeroMarkTakesShortWay() {
    double previous = 6.2;
    // 6.2 -> 0.1 is 0.18 rad forward across the mark: 5.7 steps, the fraction dropped.
    QCOMPARE(CKnobEncoder::Steps(0.1, previous), 5);
    QCOMPARE(previous, 0.1);
    QCOMPARE(CKnobEncoder::Steps(6.2, previous), -5);
    // Just short of half a turn is no crossing.
    previous = 0.0;
    QCOMPARE(CKnobEncoder::Steps(3.13, previous), 99);
}

void ViewPanelGeometry::KnobDropsFractionAndRemembersAnglePerRole() {
    CKnobEncoder::Reset();
    QCOMPARE(CKnobEncoder::Turn(CKnobEncoder::ROLE_FREQUENCY, 0.05), 1); // 1.59 steps
    QCOMPARE(CKnobEncoder::Turn(CKnobEncoder::ROLE_FREQUENCY, 0.10), 1); // not 2: fraction lost
    // The amplitude knob still counts from its own starting angle.
    QCOMPARE(CKnobEncoder::Turn(CKnobEncoder::ROLE_AMPLITUDE, 0.10), 3);
    CKnobEncoder::Reset();
}

void ViewPanelGeometry::DialogUnitsScaleEachEdge() {
    const QSize base(6, 13);
    const CPanelTemplate::Control* group = CPanelTemplate::Find(IDC_GROUP_TOP);
    QVERIFY(group);
    // Edges are scaled one by one, so the width is 892 - 675, not 145 * 6 / 4.
    QCOMPARE(CPanelTemplate::ToPixels(*group, base), QRect(675, 71, 217, 59));
    QCOMPARE(CPanelTemplate::ToPixels(1, 1, 1, 1, base), QRect(1, 1, 2, 2));
}

void ViewPanelGeometry::TemplateIdsAreUniqueAndPanelLiesRightOfDisplay() {
    QSet<int> ids;
    const CPanelTemplate::Control* display = CPanelTemplate::Find(IDC_WAVE_DISPLAY);
    for (const CPanelTemplate::Control& control : CPanelTemplate::Controls()) {
        QVERIFY2(!ids.contains(control.nId), qPrintable(QString::number(control.nId)));
        ids.insert(control.nId);
        if (control.kind != CPanelTemplate::KIND_DISPLAY &&
            control.kind != CPanelTemplate::KIND_SLIDER)
            QVERIFY(control.x > display->x + display->cx);
    }
}

void ViewPanelGeometry::ShownPanelSitsAtRightWithGaps() {
    const auto r = CPanelLayout::Compute(QRect(0, 0, 1000, 600), 217, QSize(9, 71), true, false);
    QCOMPARE(r.rcPanel, QRect(778, 0, 217, 600));
    QCOMPARE(r.rcDisplay, QRect(0, 0, 768, 600));
    QVERIFY(!r.bSliderVisible);
    // Button: right edge on the panel's left edge, centred vertically.
    QCOMPARE(r.rcButton, QRect(769, 264, 9, 71));
    QCOMPARE(r.rcFill, QRect(767, 0, 233, 600));
}

void ViewPanelGeometry::ArbPutsSliderUnderDisplay() {
    const auto r = CPanelLayout::Compute(QRect(0, 0, 1000, 600), 217, QSize(9, 71), true, true);
    QVERIFY(r.bSliderVisible);
    QCOMPARE(r.rcDisplay, QRect(0, 0, 768, 580));
    QCOMPARE(r.rcSlider, QRect(0, 580, 768, 20));
}

void ViewPanelGeometry::PlacementKeepsPlaceRelativeToGroup() {
    // A control left of the group box stays left of it after the move.
    QCOMPARE(CPanelLayout::PlaceControl(QRect(673, 193, 43, 14), QPoint(675, 71), QPoint(778, 0),
                                        QSize(43, 14)),
             QRect(776, 122, 43, 14));
}

QTEST_MAIN(ViewPanelGeometry)
#include "ViewPanelGeometry.moc"
