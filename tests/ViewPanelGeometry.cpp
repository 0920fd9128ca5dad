// Rules of the device view: counter text and field, knob steps, form template and panel layout.
#include "res/Resource.h"
#include "view/CounterField.h"
#include "view/CounterText.h"
#include "view/KnobEncoder.h"
#include "view/PanelControls.h"
#include "view/PanelLayout.h"
#include "view/PanelTemplate.h"
#include "widgets/CounterEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <set>

class ViewPanelGeometry : public QObject {
    Q_OBJECT

private slots:
    // Frequencies change unit at a thousand and a million; the count register is unsigned, so
    // the all-ones pattern is the largest count, not -1.
    void CounterTextAndKnobSteps() {
        const std::tuple<int, double, int, const char*> cases[] = {
            {1, 0.0, 7, "0.000000 Hz"},        {1, 999.5, 7, "999.500000 Hz"},
            {1, 1000.0, 7, "1.000000 KHz"},    {1, 999999.9, 7, "999.999900 KHz"},
            {1, 1000000.0, 7, "1.000000 MHz"}, {1, 75000000.0, 7, "75.000000 MHz"},
            {0, 123.0, 42, "00000000042"},     {0, 0.0, -1, "04294967295"}};
        for (const auto& [mode, hz, count, text] : cases)
            QCOMPARE(CCounterText::Format(mode, hz, count), QString(text));

        // 200 knob steps a turn; the fraction is dropped; half a turn or more is the short way
        // back; each role remembers its own angle.
        double previous = 0.0;
        QCOMPARE(CKnobEncoder::Steps(3.13, previous), 99); // just short of half a turn
        QCOMPARE(previous, 3.13);
        CKnobEncoder::Reset();
        QCOMPARE(CKnobEncoder::Turn(CKnobEncoder::ROLE_FREQUENCY, 0.05), 1); // 1.59 steps
        QCOMPARE(CKnobEncoder::Turn(CKnobEncoder::ROLE_FREQUENCY, 0.10), 1); // not 2
        QCOMPARE(CKnobEncoder::Turn(CKnobEncoder::ROLE_AMPLITUDE, 0.10), 3); // from its own 0
        CKnobEncoder::Reset();
    }

    // A reading too wide for the field shrinks the font until it fits; the panel's font comes
    // back once it has fitted the readings for a while, not at a single narrow reading. A field
    // that did not draw its last reading (covered) takes no new one until it is drawn, and then
    // the newest; what it draws is the reading, in the field's place for a centred line.
    void CounterFieldFitsAndCatchesUpWhenDrawn() {
        QWidget panel;
        panel.resize(200, 60);
        auto* field = new CCounterEdit(&panel);
        field->setGeometry(0, 0, 90, 24);
        field->setFocusPolicy(Qt::NoFocus);
        CCounterField counter;
        counter.Attach(field);
        counter.SetReaderCheck([] { return false; });
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const qreal base = panel.font().pointSizeF();
        counter.Show(QStringLiteral("999.999999 KHz"));
        QVERIFY(field->font().pointSizeF() < base);
        QVERIFY(QFontMetrics(field->font()).horizontalAdvance(field->Reading()) <= 90 - 6);
        const qreal shrunk = field->font().pointSizeF();
        const auto drawn = [] { QTest::qWait(30); };
        for (const char* reading : {"1.0 Hz", "999.999999 KHz", "1.5 Hz"}) {
            drawn();
            counter.Show(QString::fromLatin1(reading));
        }
        QCOMPARE(field->font().pointSizeF(), shrunk);
        QTest::qWait(CCounterField::kGrowAfterMs + 50);
        QCOMPARE(field->font().pointSizeF(), shrunk);
        counter.Show(QStringLiteral("1.5 Hz"));
        QCOMPARE(field->font().pointSizeF(), base);
        QCOMPARE(field->Reading(), QStringLiteral("1.5 Hz"));

        // Drawn as an edit of the same font and text draws itself, a line too long showing its end.
        auto* edit = new QLineEdit(&panel);
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignCenter);
        edit->setGeometry(0, 30, 90, 24);
        edit->show();
        for (const char* reading : {"1.5 Hz", "0.000000 Hz", "00000000042", "12.345678 MHz"}) {
            field->SetReading(QString::fromLatin1(reading), false);
            edit->setText(QString::fromLatin1(reading));
            edit->setFont(field->font());
            drawn();
            QVERIFY2(panel.grab(field->geometry()).toImage() ==
                         panel.grab(edit->geometry()).toImage(),
                     reading);
        }
        delete edit;
        field->SetReading(QStringLiteral("1.5 Hz"), false);

        auto* cover = new QWidget(&panel);
        cover->setAutoFillBackground(true);
        cover->setGeometry(panel.rect());
        cover->show();
        drawn();
        counter.Show(QStringLiteral("2.0 Hz")); // asked to draw, but covered
        drawn();
        counter.Show(QStringLiteral("2.5 Hz"));
        QCOMPARE(field->Reading(), QStringLiteral("2.0 Hz"));
        counter.Show(QStringLiteral("3.0 Hz"), true);
        QCOMPARE(field->Reading(), QStringLiteral("3.0 Hz"));
        counter.Show(QStringLiteral("4.0 Hz"));
        delete cover;
        QTRY_COMPARE(field->Reading(), QStringLiteral("4.0 Hz"));
        QCOMPARE(field->font().pointSizeF(), base);
    }

    // Template ids are unique, and dialog units are scaled edge by edge.
    void TemplateAndPanelLayout() {
        std::set<int> ids;
        for (const CPanelTemplate::Control& control : CPanelTemplate::Controls())
            QVERIFY2(ids.insert(control.nId).second, qPrintable(QString::number(control.nId)));
        const QSize base(6, 13);
        const CPanelTemplate::Control* group = CPanelTemplate::Find(IDC_GROUP_TOP);
        QVERIFY(group);
        // The width is 892 - 675, not 145 * 6 / 4.
        QCOMPARE(CPanelTemplate::ToPixels(*group, base), QRect(675, 71, 217, 59));
        QCOMPARE(CPanelTemplate::ToPixels(1, 1, 1, 1, base), QRect(1, 1, 2, 2));

        // The panel sits at the right with gaps, its button centred on its left edge; Arb puts
        // the slider under the display.
        const QRect client(0, 0, 1000, 600);
        const auto r = CPanelLayout::Compute(client, 217, QSize(9, 71), true, false);
        QCOMPARE((QList<QRect>{r.rcPanel, r.rcDisplay, r.rcButton, r.rcFill}),
                 (QList<QRect>{
                     {778, 0, 217, 600}, {0, 0, 768, 600}, {769, 264, 9, 71}, {767, 0, 233, 600}}));
        const auto arb = CPanelLayout::Compute(client, 217, QSize(9, 71), true, true);
        QVERIFY(!r.bSliderVisible && arb.bSliderVisible);
        QCOMPARE((QList<QRect>{arb.rcDisplay, arb.rcSlider}),
                 (QList<QRect>{{0, 0, 768, 580}, {0, 580, 768, 20}}));
        // A control left of the group box stays left of it after the move.
        QCOMPARE(CPanelLayout::PlaceControl(QRect(673, 193, 43, 14), QPoint(675, 71),
                                            QPoint(778, 0), QSize(43, 14)),
                 QRect(776, 122, 43, 14));
    }

    // Captions stay inside the frame round them in this platform's font, shrinking when a
    // language's word is wider than its place; the smallest client shows the whole panel.
    void CaptionsFitTheirFramesAndTheMinimumHoldsThePanel() {
        QCOMPARE(CPanelLayout::MinimumClient(QRect(-3, 0, 230, 500), 217, QSize(9, 71)),
                 QSize(120 + 10 + 9 + 217 + 10, 504));
        QCOMPARE(CPanelLayout::MinimumClient(QRect(0, 0, 217, 300), 217, QSize(9, 71)),
                 QSize(120 + 10 + 9 + 217 + 5, 304));

        QWidget view;
        CPanelControls panel(&view);
        const std::pair<int, const char*> texts[] = {{IDC_TXT_SQUARE, "Rechteck"},
                                                     {IDC_TXT_GAUSS_NOISE, "Gaußsches Rauschen"},
                                                     {IDC_TXT_ARB, "任意波"},
                                                     {IDC_TXT_EXPONENT, "Exponent"}};
        for (const auto& [id, text] : texts)
            panel.Get<QLabel>(id)->setText(QString::fromUtf8(text));
        const QRect extent = panel.PanelExtent();
        const int groupWidth = panel.TemplateRect(IDC_GROUP_TOP).width();
        const QSize minimum = CPanelLayout::MinimumClient(extent, groupWidth, QSize(9, 71));
        const auto layout = CPanelLayout::Compute(QRect(QPoint(0, 0), minimum), groupWidth,
                                                  QSize(9, 71), true, false);
        panel.PlacePanel(layout.rcPanel.topLeft(), true);
        const QRect entry = panel.Control(IDC_GROUP_ENTRY)->geometry();
        QVERIFY(QRect(QPoint(0, 0), minimum).contains(entry));
        const QRect functions = panel.Control(IDC_GROUP_FUNCTIONS)->geometry();
        for (const auto& [id, text] : texts) {
            const QLabel* label = panel.Get<QLabel>(id);
            QVERIFY2(functions.adjusted(2, 0, -2, 0).contains(label->geometry()), text);
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width() ||
                         label->font().pointSizeF() <= 6.0,
                     text);
        }
    }
};

QTEST_MAIN(ViewPanelGeometry)
#include "ViewPanelGeometry.moc"
