#include "widgets/PanelAccessible.h"

#include "widgets/LED.h"
#include "widgets/PinButton.h"
#include "widgets/SpinButton.h"
#include "widgets/StepEdit.h"
#include "widgets/TurnButton.h"

#include <QAbstractButton>

#include <algorithm>
#include <cmath>

namespace {

QAccessibleInterface* PanelFactory(const QString& key, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    // An owner may give any widget of its own painting a role this way.
    bool hasRole = false;
    const int role = widget->property("accessibleRole").toInt(&hasRole);
    if (hasRole)
        return new CPanelAccessible(widget, QAccessible::Role(role));
    if (key == QLatin1String("CLED") || key == QLatin1String("COnOff") ||
        key == QLatin1String("CLeftRight") || key == QLatin1String("CPinButton"))
        return new CPanelAccessible(widget, QAccessible::CheckBox);
    if (key == QLatin1String("CTurnButton"))
        return new CPanelAccessible(widget, QAccessible::Dial);
    if (key == QLatin1String("CSpinButton"))
        return new CPanelAccessible(widget, QAccessible::SpinBox);
    return nullptr;
}

/// Steps a spin button sends at most for one value set through the bus.
constexpr long kMaxSpinPresses = 10000;

} // namespace

CPanelAccessible::CPanelAccessible(QWidget* widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role) {}

void CPanelAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(PanelFactory);
        return true;
    }();
    (void)installed;
}

void CPanelAccessible::NotifyValue(QWidget* control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    if (face == nullptr || face->valueInterface() == nullptr)
        return;
    QAccessibleValueChangeEvent event(control, face->valueInterface()->currentValue());
    QAccessible::updateAccessibility(&event);
}

QAccessible::Role CPanelAccessible::role() const {
    // An owner may give the role after the reader first asked.
    bool hasRole = false;
    const int role = widget()->property("accessibleRole").toInt(&hasRole);
    return hasRole ? QAccessible::Role(role) : QAccessibleWidget::role();
}

bool CPanelAccessible::IsKnob() const {
    return qobject_cast<const CTurnButton*>(widget()) != nullptr;
}

bool CPanelAccessible::IsSpin() const {
    return qobject_cast<const CSpinButton*>(widget()) != nullptr;
}

bool CPanelAccessible::IsLamp() const {
    if (auto* pin = qobject_cast<const CPinButton*>(widget()))
        return pin->m_bEditable == 0;
    return qobject_cast<const CLED*>(widget()) != nullptr;
}

CStepEdit* CPanelAccessible::Field() const {
    return qobject_cast<CStepEdit*>(widget()->property("valueField").value<QObject*>());
}

bool CPanelAccessible::IsOn() const {
    if (auto* pin = qobject_cast<const CPinButton*>(widget()))
        return pin->GetLevel() != 0;
    if (auto* led = qobject_cast<const CLED*>(widget()))
        return led->GetValue();
    auto* button = qobject_cast<const QAbstractButton*>(widget());
    return button != nullptr && button->isChecked();
}

bool CPanelAccessible::IsPressable() const {
    if (IsLamp())
        return false;
    if (auto* pin = qobject_cast<const CPinButton*>(widget()))
        return pin->isEnabled();
    return (role() == QAccessible::CheckBox || role() == QAccessible::RadioButton) &&
           widget()->isEnabled();
}

QString CPanelAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Value)
        return QAccessibleWidget::text(t);
    if (CStepEdit* field = Field(); field && (IsKnob() || IsSpin()))
        return field->text();
    if (IsKnob())
        return QString::number(currentValue().toDouble(), 'f', 2);
    if (qobject_cast<const CPinButton*>(widget()))
        return IsOn() ? QStringLiteral("H") : QStringLiteral("L");
    if (role() != QAccessible::CheckBox && role() != QAccessible::RadioButton)
        return QAccessibleWidget::text(t);
    const QStringList words = widget()->property("valueTexts").toStringList();
    if (words.size() == 2)
        return words[IsOn() ? 1 : 0];
    return IsOn() ? QStringLiteral("on") : QStringLiteral("off");
}

QAccessible::State CPanelAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (role() == QAccessible::CheckBox || role() == QAccessible::RadioButton) {
        state.checkable = true;
        state.checked = IsOn();
    }
    if (IsLamp()) {
        state.readOnly = true;
        state.focusable = false;
    }
    return state;
}

void* CPanelAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface && (IsKnob() || (IsSpin() && Field())))
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QStringList CPanelAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (IsPressable())
        names.prepend(toggleAction());
    if (IsSpin())
        names << increaseAction() << decreaseAction();
    return names;
}

void CPanelAccessible::doAction(const QString& actionName) {
    // A click runs the same path as the mouse, so the owner hears of it.
    if (actionName == toggleAction() && IsPressable()) {
        if (auto* pin = qobject_cast<CPinButton*>(widget()))
            pin->SetLevel(pin->GetLevel() ? 0 : 1);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget()))
            button->click();
        return;
    }
    if (auto* spin = qobject_cast<CSpinButton*>(widget())) {
        // The up arrow reports -1, as the classic spin control does.
        if (actionName == increaseAction() || actionName == decreaseAction()) {
            emit spin->DeltaPos(actionName == increaseAction() ? -1 : 1);
            return;
        }
    }
    QAccessibleWidget::doAction(actionName);
}

int CPanelAccessible::childCount() const {
    return IsSpin() ? 0 : QAccessibleWidget::childCount();
}

QAccessibleInterface* CPanelAccessible::child(int index) const {
    return IsSpin() ? nullptr : QAccessibleWidget::child(index);
}

QVariant CPanelAccessible::currentValue() const {
    if (CStepEdit* field = Field())
        return double(field->GetValue());
    auto* knob = qobject_cast<const CTurnButton*>(widget());
    return knob ? QVariant(knob->GetValue()) : QVariant();
}

void CPanelAccessible::setCurrentValue(const QVariant& value) {
    if (!value.canConvert<double>())
        return;
    const double target = value.toDouble();
    auto* knob = qobject_cast<CTurnButton*>(widget());
    CStepEdit* field = Field();
    if (field == nullptr) {
        if (knob == nullptr)
            return;
        const double current = knob->GetValue();
        const double turn =
            knob->GetWrapping() ? CTurnButton::ShortestTurn(current, target) : target - current;
        if (const int steps = int(std::lround(turn / knob->GetStepAngle())); steps != 0)
            knob->StepTurn(steps);
        return;
    }
    const double step = field->EffectiveStep();
    if (!(step > 0.0))
        return;
    const double clamped = std::clamp(target, field->Minimum(), field->Maximum());
    long steps = std::lround((clamped - field->GetValue()) / step);
    if (auto* spin = qobject_cast<CSpinButton*>(widget())) {
        steps = std::clamp(steps, -kMaxSpinPresses, kMaxSpinPresses);
        for (long i = 0; i < std::labs(steps); ++i)
            emit spin->DeltaPos(steps > 0 ? -1 : 1);
        return;
    }
    const int perTurn = knob ? knob->property("stepsPerTurn").toInt() : 0;
    if (perTurn <= 0)
        return;
    // Turns of under half a revolution, each a little past its last whole step, so that the
    // owner, who counts whole steps the short way round, counts every one.
    const double stepAngle = CTurnButton::kTurn / perTurn;
    const long chunk = std::max(1, perTurn / 4);
    for (long left = steps; left != 0;) {
        const long now = std::clamp(left, -chunk, chunk);
        knob->TurnAngle((double(now) + (now > 0 ? 0.5 : -0.5)) * stepAngle);
        left -= now;
    }
}

QVariant CPanelAccessible::maximumValue() const {
    if (CStepEdit* field = Field())
        return field->Maximum();
    return CTurnButton::kTurn;
}

QVariant CPanelAccessible::minimumValue() const {
    if (CStepEdit* field = Field())
        return field->Minimum();
    return 0.0;
}

QVariant CPanelAccessible::minimumStepSize() const {
    if (CStepEdit* field = Field())
        return double(field->EffectiveStep());
    auto* knob = qobject_cast<const CTurnButton*>(widget());
    return knob ? QVariant(knob->GetStepAngle()) : QVariant();
}
