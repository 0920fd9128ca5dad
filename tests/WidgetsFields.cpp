// Numeric fields: what typing lets through, how text becomes a clamped value, how steps
// shrink near the bottom of a range, and which digit a double-click weighs.
#include "widgets/NumEdit.h"
#include "widgets/StepEdit.h"

#include <QtTest>
#include <QtWidgets>

namespace {

/// Double-clicks character index of the field's text in its right part, nearer to the gap
/// after it than to the one before it.
void DoubleClickCharacter(CStepEdit& field, int index) {
    auto gapX = [&](int position) {
        field.setCursorPosition(position);
        return field.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    const int left = gapX(index);
    const int x = left + (gapX(index + 1) - left) * 3 / 4;
    QTest::mouseDClick(&field, Qt::LeftButton, {}, {x, field.height() / 2});
}

} // namespace

class WidgetsFields : public QObject {
    Q_OBJECT

private slots:
    // The number rules themselves are the number text's; here: text that is no number reads
    // as 0, the result is clamped to the field's range (0 to 1 by default) and shown so when
    // the focus leaves.
    void NumEditTypingParsingAndClamping() {
        CNumEdit typed;
        QTest::keyClicks(&typed, "1a2 .,e5-+x");
        QCOMPARE(typed.text(), QString("12.5-+"));
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Delete})
            QTest::keyClick(&typed, key);
        QCOMPARE(typed.text(), QString("12.5"));

        // The clipboard and select-all keys work as in any field; pasted text passes the same
        // filter as typed text (a cell copied from a spreadsheet brings blanks and a line end).
        // The control characters a desktop sends with them type nothing.
        CStepEdit step;
        CNumEdit dialogField;
        for (QLineEdit* field : std::initializer_list<QLineEdit*>{&step, &dialogField}) {
            field->setText("1.5");
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(), QString("1.5"));
            QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
            QCOMPARE(field->text(), QString());
            QGuiApplication::clipboard()->setText(" 5 000,25 Hz\t\n");
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(field->text(), QString("500025"));
            QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
            QCOMPARE(std::pair(field->text(), field->isModified()),
                     std::pair(QString("500025500025"), true));
            QKeyEvent paste(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier, QString(QChar(0x16)));
            QCoreApplication::sendEvent(field, &paste);
            QCOMPARE(field->text(), QString("500025500025"));
        }
        step.clear();
        QTest::keyClicks(&step, "-3");
        QCOMPARE(step.text(), QString("-3"));

        QWidget dialog;
        auto* field = new CNumEdit(&dialog);
        auto* other = new CNumEdit(&dialog);
        const std::pair<const char*, float> cases[] = {
            {"1.5", 1.0f}, {"0.25", 0.25f}, {"-0.5", 0.0f}, {"1e0", 0.0f}, {"0.5.1", 0.0f}};
        for (const auto& [text, expected] : cases) {
            field->setText(text);
            field->ParseText();
            QVERIFY2(field->GetValue() == expected, text);
        }
        QObject::connect(field, &QLineEdit::textChanged, field, &CNumEdit::ParseText);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, "1.5");
        QCOMPARE(field->text(), QString("1.5"));
        other->setFocus();
        QCOMPARE(field->text(), QString("1.000"));

        field->m_nDecimals = 8;
        QSignalSpy changed(field, &QLineEdit::textChanged);
        field->SetValue(0.125f, true);
        QCOMPARE(std::tuple(field->text(), changed.count()), std::tuple(QString("0.12500000"), 1));
        // Without show the value is taken as it is, even out of range, and the text stays.
        field->SetValue(4.0f, false);
        QCOMPARE(std::tuple(field->GetValue(), changed.count()), std::tuple(4.0f, 1));
        field->m_fMin = -10.0f;
        field->setText("-12");
        QCOMPARE(field->GetValue(), -10.0f);
    }

    // Turning down near the bottom of frequency and amplitude shrinks the step tenfold and
    // keeps the value; a phase step of 1 is used as 0.1; offset steps never shrink; every kind
    // holds at its limits (the frequency at the wave type's maximum, here 25 MHz).
    void StepEditLimitsAndStepRules() {
        using K = CStepEdit;
        CStepEdit limited;
        limited.setText("keep");
        // Each kind clamps what it is given, the text untouched; a field of no kind takes anything.
        const std::tuple<int, float, float> limits[] = {
            {K::KIND_FREQUENCY, 0.5f, 1.0f}, {K::KIND_FREQUENCY, 8e7f, 7.5e7f},
            {K::KIND_FREQUENCY, 3e7f, 3e7f}, {K::KIND_AMPLITUDE, -0.1f, 0.0f},
            {K::KIND_AMPLITUDE, 3.6f, 3.5f}, {K::KIND_OFFSET, -7.5f, -7.0f},
            {K::KIND_OFFSET, 7.5f, 7.0f},    {K::KIND_PHASE, -0.2f, 0.0f},
            {K::KIND_PHASE, 1.2f, 1.0f},     {7, -1e9f, -1e9f}};
        for (const auto& [kind, in, out] : limits) {
            limited.SetKind(kind);
            limited.SetValue(in);
            QCOMPARE(limited.GetValue(), out);
        }
        QCOMPARE(limited.text(), QString("keep"));
        // The lower frequency maximum of the other wave types is the device control's rule.

        // Kind, step, value, steps taken, text, value and step after.
        const std::tuple<int, float, float, int, const char*, float, float> cases[] = {
            {K::KIND_FREQUENCY, 1.0f, 1.0f, -1, "1.000", 1.0f, 0.1f},
            {K::KIND_FREQUENCY, 1e7f, 2e7f, 6, "25000000.000", 2.5e7f, 1e7f},
            {K::KIND_AMPLITUDE, 1.0f, 0.5f, -1, "0.400", 0.4f, 0.1f},
            {K::KIND_AMPLITUDE, 0.001f, 0.0f, -1, "0.000", 0.0f, float(0.001f * 0.1)},
            {K::KIND_PHASE, 1.0f, 0.0f, 1, "0.100", 0.1f, 0.1f},
            {K::KIND_PHASE, 1.0f, 0.95f, 1, "1.000", 1.0f, 0.1f},
            {K::KIND_OFFSET, 1.0f, 6.5f, 1, "7.000", 7.0f, 1.0f},
            {K::KIND_OFFSET, 1.0f, -6.5f, -1, "-7.000", -7.0f, 1.0f}};
        for (const auto& [kind, step, value, by, text, valueAfter, stepAfter] : cases) {
            CStepEdit field;
            field.SetKind(kind);
            field.SetMaxFrequency(25000000.0);
            field.SetStep(step);
            field.SetValue(value);
            field.StepBy(by);
            QCOMPARE(field.text(), QString(text));
            QVERIFY2(qAbs(field.GetValue() - valueAfter) < 1e-6f * qMax(1.0f, valueAfter), text);
            QCOMPARE(field.GetStep(), stepAfter);
            // A step shrunk at the bottom stays so.
            if (stepAfter < step && by < 0) {
                field.StepBy(3);
                QVERIFY(qAbs(field.GetValue() - (valueAfter + 3 * stepAfter)) < 1e-6f);
            }
        }
    }

    void DoubleClickMakesTheDigitTheStep() {
        CStepEdit field;
        field.resize(120, 24);
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        field.setText("12.345");
        const auto seen = [&field] { return std::pair(field.selectedText(), field.GetStep()); };
        DoubleClickCharacter(field, 2);
        QCOMPARE(seen(), std::pair(QString("3"), float(1.0 * 0.1f)));
        DoubleClickCharacter(field, 0);
        QCOMPARE(seen(), std::pair(QString("1"), 10.0f));
        // After the end of the text: the last digit.
        const float thousandth = float(1.0 * 0.1f * 0.1f * 0.1f);
        QTest::mouseDClick(&field, Qt::LeftButton, {}, {115, 12});
        QCOMPARE(seen(), std::pair(QString("5"), thousandth));
        // An empty field keeps its step.
        field.clear();
        QTest::mouseDClick(&field, Qt::LeftButton, {}, {10, 12});
        QCOMPARE(field.GetStep(), thousandth);
    }
};

QTEST_MAIN(WidgetsFields)
#include "WidgetsFields.moc"
