// What a screen reader learns of the program, asked in its own process: the names, roles,
// states and values of the panel's controls, the events a reader hears when they change, the
// Tab order, and that every control of the window has a name.
#include "AppTestSupport.h"

#include "view/CounterField.h"
#include "widgets/CounterEdit.h"

#include <QAccessible>
#include <QLineEdit>
#include <QToolBar>

namespace {

/// The accessibility events the program sends while it lives: object, type, value.
struct Heard {
    QObject* pObject;
    QAccessible::Event type;
    QVariant value;
};
std::vector<Heard> s_heard;

void Listen(QAccessibleEvent* event) {
    QVariant value;
    if (event->type() == QAccessible::ValueChanged)
        value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
    s_heard.push_back({event->object(), event->type(), value});
}

int HeardCount(QObject* object, QAccessible::Event type) {
    return int(std::count_if(s_heard.begin(), s_heard.end(), [&](const Heard& heard) {
        return heard.pObject == object && heard.type == type;
    }));
}

QAccessibleInterface* Face(CProgram& program, int id) {
    return QAccessible::queryAccessibleInterface(program.View()->Control(id));
}

/// Roles a user acts on or reads, which must have a name.
bool NeedsName(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::Dial:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::Slider:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::ComboBox:
    case QAccessible::Chart:
    case QAccessible::Indicator:
        return true;
    default:
        return false;
    }
}

/// "role name" of every visible control below face with no name or a name with spaces at its
/// ends.
void Unnamed(QAccessibleInterface* face, QStringList& found, int depth = 0) {
    if (face == nullptr || depth > 30 || face->state().invisible)
        return;
    const QString name = face->text(QAccessible::Name);
    if (NeedsName(face->role()) && (name.isEmpty() || name != name.trimmed()))
        found << QStringLiteral("%1 '%2' %3")
                     .arg(QString::number(int(face->role())), name,
                          face->object() ? face->object()->metaObject()->className() : "?");
    for (int i = 0; i < face->childCount(); ++i)
        Unnamed(face->child(i), found, depth + 1);
}

} // namespace

class DesktopAccess : public QObject {
    Q_OBJECT

private slots:
    void init() {
        s_heard.clear();
        QAccessible::installUpdateHandler(Listen);
    }
    void cleanup() { QAccessible::installUpdateHandler(nullptr); }

    // Names come from the captions with their units, roles say what a control is (the wave
    // switches one group of radio buttons, lamps read-only), and the state is spoken.
    void panelControlsSayWhatTheyAreAndHold() {
        CProgram program(1);
        // Control, name, role, value, checked.
        const std::tuple<int, QString, QAccessible::Role, QString, bool> rows[] = {
            {IDC_KNOB_FREQUENCY, "Frequency knob", QAccessible::Dial, "1000.000", false},
            {IDC_KNOB_AMPLITUDE, "Amplitude knob", QAccessible::Dial, "2.000", false},
            {IDC_WAVE_SINE, "Sine switch", QAccessible::RadioButton, "ON", true},
            {IDC_WAVE_SQUARE, "Square switch", QAccessible::RadioButton, "OFF", false},
            {IDC_SW_ATTEN, "-20dB switch", QAccessible::CheckBox, "OFF", false},
            {IDC_LED_OUTPUT, "Wave ON/OFF lamp", QAccessible::CheckBox, "ON", true},
            {IDC_LED_ATTEN, "-20dB lamp", QAccessible::CheckBox, "OFF", false},
            {IDC_MEASURE_MODE, "F/C lever: F", QAccessible::CheckBox, "F", false},
            {IDC_TRIG_EDGE, "Ext Trig Mode lever: Fall", QAccessible::CheckBox, "Fall", false},
            {IDC_FREQUENCY, "Frequency, Hz", QAccessible::EditableText, "1000.000", false},
            {IDC_AMPLITUDE, "Amplitude, V", QAccessible::EditableText, "2.000", false},
            {IDC_OFFSET, "Y Offset, V", QAccessible::EditableText, "0.000", false},
            {IDC_PHASE, "Phase, share of a period", QAccessible::EditableText, "0.000", false},
            {IDC_SPIN_OFFSET, "Y Offset, V", QAccessible::SpinBox, "0.000", false},
            {IDC_SPIN_PHASE, "Phase, share of a period", QAccessible::SpinBox, "0.000", false},
            {IDC_COUNTER, "Frequency measure", QAccessible::EditableText, "", false},
            {IDC_PANEL_BUTTON, "Hide the control panel", QAccessible::Button, "", false},
            {IDC_VIEW_SLIDER, "Waveform position", QAccessible::Slider, "0", false},
            {IDC_WAVE_DISPLAY, "Waveform display", QAccessible::Chart, "", false},
        };
        for (const auto& [id, name, role, value, checked] : rows) {
            QAccessibleInterface* face = Face(program, id);
            QVERIFY2(face, qPrintable(name));
            const QString shown = role == QAccessible::EditableText && id == IDC_COUNTER
                                      ? QString()
                                      : face->text(QAccessible::Value);
            QCOMPARE(std::tuple(face->text(QAccessible::Name), face->role(), shown,
                                bool(face->state().checked)),
                     std::tuple(name, role, value, checked));
        }
        // Lamps show a state and take no input; the spin buttons are one control each.
        QVERIFY(Face(program, IDC_LED_OUTPUT)->state().readOnly);
        QVERIFY(Face(program, IDC_LED_OUTPUT)->actionInterface() == nullptr ||
                Face(program, IDC_LED_OUTPUT)->actionInterface()->actionNames().isEmpty());
        QCOMPARE(Face(program, IDC_SPIN_PHASE)->childCount(), 0);
        QVERIFY(Face(program, IDC_COUNTER)->state().focusable);
        // The counter's name says what it shows; the toggles' names where they point.
        program.View()->Control(IDC_MEASURE_MODE)->setFocus();
        QTest::keyClick(program.View()->Control(IDC_MEASURE_MODE), Qt::Key_Space);
        QCOMPARE(Face(program, IDC_COUNTER)->text(QAccessible::Name), QString("Count"));
        QCOMPARE(Face(program, IDC_MEASURE_MODE)->text(QAccessible::Name), QString("F/C lever: C"));
    }

    // A knob's and a spin button's value, limits and step are those of the field they step,
    // in its unit; a value set through the reader steps the field as turning or pressing does,
    // and the device follows.
    void knobsAndSpinsOfferTheirFieldsValue() {
        CProgram program(1);
        // Control, minimum, maximum, step, value to set, value reached, device value.
        const auto frequency = [&] { return program.Device()->m_dFrequency; };
        const auto amplitude = [&] { return double(program.Device()->m_fAmplitude); };
        const auto phase = [&] { return double(program.Device()->m_fPhase); };
        const auto offset = [&] { return program.Device()->m_dOffset; };
        const std::tuple<int, double, double, double, double, std::function<double()>> rows[] = {
            {IDC_KNOB_FREQUENCY, 1.0, 75e6, 1.0, 1234.0, frequency},
            {IDC_KNOB_AMPLITUDE, 0.0, 3.5, 0.001, 1.25, amplitude},
            {IDC_SPIN_OFFSET, -7.0, 7.0, 1.0, -3.0, offset},
            {IDC_SPIN_PHASE, 0.0, 1.0, 0.1, 0.3, phase},
        };
        for (const auto& [id, low, high, step, target, device] : rows) {
            QAccessibleValueInterface* value = Face(program, id)->valueInterface();
            QVERIFY(value);
            QCOMPARE(std::tuple(value->minimumValue().toDouble(), value->maximumValue().toDouble(),
                                value->minimumStepSize().toDouble()),
                     std::tuple(low, high, double(float(step))));
            value->setCurrentValue(target);
            QVERIFY2(
                std::fabs(value->currentValue().toDouble() - target) < 1e-4,
                qPrintable(QStringLiteral("%1: %2").arg(id).arg(value->currentValue().toDouble())));
            QTRY_VERIFY2(std::fabs(device() - target) < 1e-4,
                         qPrintable(QString::number(device())));
        }
    }

    // Turning a knob, pressing a spin arrow and a lamp going on or off are heard.
    void changesAreHeard() {
        // Qt hands events on only while a reader is connected, which the offscreen platform
        // never is; the AT-SPI test hears them from outside.
        if (!QAccessible::isActive())
            QSKIP("no screen reader connected: accessibility events are not delivered");
        CProgram program(1);
        QWidget* knob = program.View()->Control(IDC_KNOB_FREQUENCY);
        QWidget* spin = program.View()->Control(IDC_SPIN_OFFSET);
        QWidget* lamp = program.View()->Control(IDC_LED_ATTEN);
        s_heard.clear();
        QTest::keyClick(knob, Qt::Key_Up);
        QTest::keyClick(spin, Qt::Key_Up);
        QTest::mouseClick(program.View()->Control(IDC_SW_ATTEN), Qt::LeftButton);
        QCOMPARE(std::tuple(HeardCount(knob, QAccessible::ValueChanged),
                            HeardCount(spin, QAccessible::ValueChanged),
                            HeardCount(lamp, QAccessible::StateChanged)),
                 std::tuple(1, 1, 1));
        const auto last = [&](QObject* object) {
            for (auto it = s_heard.rbegin(); it != s_heard.rend(); ++it)
                if (it->pObject == object && it->type == QAccessible::ValueChanged)
                    return it->value.toDouble();
            return -1.0;
        };
        QCOMPARE(std::tuple(last(knob), last(spin)),
                 std::tuple(double(program.Device()->m_dFrequency), 1.0));
        QVERIFY(Face(program, IDC_LED_ATTEN)->state().checked);
    }

    // The counter's reading: one that did not change is not set again; while a reader
    // listens a new one waits until a second has passed since the last.
    void counterChangesNoFasterThanAReaderFollows() {
        QWidget window;
        auto* field = new CCounterEdit(&window);
        field->resize(120, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CCounterField counter;
        counter.Attach(field);
        bool listening = true;
        counter.SetReaderCheck([&] { return listening; });
        int changes = 0;
        connect(field, &QLineEdit::textChanged, field, [&] { ++changes; });
        counter.Show("00000000001");
        for (int tick = 0; tick < 3; ++tick) {
            QTest::qWait(50);
            counter.Show("00000000002");
        }
        QCOMPARE(std::tuple(field->text(), changes), std::tuple(QString("00000000001"), 1));
        QTest::qWait(CCounterField::kReaderIntervalMs);
        counter.Show("00000000002");
        QCOMPARE(std::tuple(field->text(), changes), std::tuple(QString("00000000002"), 2));
        // Without a reader every new reading shows at once.
        listening = false;
        QTest::qWait(50);
        counter.Show("00000000003");
        QCOMPARE(field->Reading(), QString("00000000003"));
    }

    // Tab walks the panel row by row as it is seen, and comes round to the first control.
    void tabFollowsThePanel() {
        CProgram program(1);
        QVERIFY(program.Shown());
        const QList<int> order = {IDC_MEASURE_MODE,     IDC_COUNTER,          IDC_SW_COUNTER,
                                  IDC_WAVE_RAMP,        IDC_WAVE_TRAPEZIA,    IDC_WAVE_EXPONENT,
                                  IDC_SW_SINGLE_WAVE,   IDC_WAVE_SQUARE,      IDC_WAVE_ARB,
                                  IDC_WAVE_GAUSS_NOISE, IDC_SW_ATTEN,         IDC_WAVE_SINE,
                                  IDC_WAVE_AMFM,        IDC_WAVE_WHITE_NOISE, IDC_SW_EXT_TRIG,
                                  IDC_TRIG_EDGE,        IDC_SW_OUTPUT,        IDC_PHASE,
                                  IDC_SPIN_PHASE,       IDC_OFFSET,           IDC_SPIN_OFFSET,
                                  IDC_FREQUENCY,        IDC_AMPLITUDE,        IDC_KNOB_FREQUENCY,
                                  IDC_KNOB_AMPLITUDE};
        const auto idOf = [&](QWidget* widget) {
            for (int id : order)
                if (program.View()->Control(id) == widget)
                    return id;
            return -1;
        };
        program.View()->Control(order[0])->setFocus();
        QTRY_COMPARE(idOf(QApplication::focusWidget()), order[0]);
        QList<int> forward, backward;
        for (int i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            forward << idOf(QApplication::focusWidget());
        }
        for (int i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            backward.prepend(idOf(QApplication::focusWidget()));
        }
        QCOMPARE(forward, order.mid(1) + order.mid(0, 1));
        QCOMPARE(backward, order);
    }

    // Every control of the window, its toolbar and its panel has a name without spaces at its
    // ends; the names follow a language switch; the fields tell their step.
    void everyControlIsNamedInTheUsersLanguage() {
        CProgram program(1, 0, [](const QString& f) { InstallLanguage(f, "German.lug"); });
        QVERIFY(program.Shown());
        QStringList unnamed;
        Unnamed(QAccessible::queryAccessibleInterface(program.Frame()), unnamed);
        QCOMPARE(unnamed.join(QLatin1Char(';')), QString());
        QCOMPARE(program.View()->Control(IDC_AMPLITUDE)->accessibleDescription(),
                 QString("Step: 0.001 V"));
        // A double-click on the thousands digit of "1000.000" makes the step 1000 Hz, shown in
        // the tooltip below the played frequency.
        auto* frequency = static_cast<QLineEdit*>(program.View()->Control(IDC_FREQUENCY));
        frequency->setCursorPosition(0);
        const int left = frequency->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        frequency->setCursorPosition(1);
        const int right = frequency->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        QTest::mouseDClick(frequency, Qt::LeftButton, {},
                           {left + (right - left) * 3 / 4, frequency->height() / 2});
        QCOMPARE(frequency->accessibleDescription(), QString("Step: 1000 Hz"));
        QVERIFY2(frequency->toolTip().startsWith("Played Frequency=") &&
                     frequency->toolTip().endsWith("\nStep: 1000 Hz"),
                 qPrintable(frequency->toolTip()));
        program.Frame()->OnTimer();
        program.Frame()->Action(ID_LANGUAGE_FIRST)->trigger();
        QCOMPARE((QStringList{Face(program, IDC_KNOB_FREQUENCY)->text(QAccessible::Name),
                              Face(program, IDC_COUNTER)->text(QAccessible::Name),
                              program.View()->Control(IDC_AMPLITUDE)->accessibleDescription()}),
                 (QStringList{"Drehknopf Frequenz", "Frequenzmessung", "Schritt: 0.001 V"}));
    }
};

QTEST_MAIN(DesktopAccess)
#include "DesktopAccess.moc"
