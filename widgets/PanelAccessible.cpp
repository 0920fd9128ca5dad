#include "widgets/PanelAccessible.h"

#include "widgets/LED.h"
#include "widgets/PinButton.h"
#include "widgets/TurnButton.h"

#include <QAbstractButton>

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
    if (key == QLatin1String("CLED"))
        return new CPanelAccessible(widget, QAccessible::Indicator);
    if (key == QLatin1String("COnOff") || key == QLatin1String("CLeftRight"))
        return new CPanelAccessible(widget, QAccessible::CheckBox);
    if (key == QLatin1String("CTurnButton"))
        return new CPanelAccessible(widget, QAccessible::Dial);
    if (auto* pin = qobject_cast<CPinButton*>(widget); pin && key == QLatin1String("CPinButton"))
        return new CPanelAccessible(widget, pin->m_bEditable ? QAccessible::CheckBox
                                                             : QAccessible::Indicator);
    return nullptr;
}

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

bool CPanelAccessible::IsKnob() const {
    return qobject_cast<const CTurnButton*>(widget()) != nullptr;
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
    if (auto* pin = qobject_cast<const CPinButton*>(widget()))
        return pin->m_bEditable != 0 && pin->isEnabled();
    return role() == QAccessible::CheckBox && widget()->isEnabled();
}

QString CPanelAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Value)
        return QAccessibleWidget::text(t);
    if (IsKnob())
        return QString::number(currentValue().toDouble(), 'f', 2);
    if (qobject_cast<const CPinButton*>(widget()))
        return IsOn() ? QStringLiteral("H") : QStringLiteral("L");
    if (role() != QAccessible::CheckBox && role() != QAccessible::Indicator)
        return QAccessibleWidget::text(t);
    const QStringList words = widget()->property("valueTexts").toStringList();
    if (words.size() == 2)
        return words[IsOn() ? 1 : 0];
    return IsOn() ? QStringLiteral("on") : QStringLiteral("off");
}

QAccessible::State CPanelAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (role() == QAccessible::CheckBox) {
        state.checkable = true;
        state.checked = IsOn();
    }
    return state;
}

void* CPanelAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface && IsKnob())
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QStringList CPanelAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (IsPressable())
        names.prepend(toggleAction());
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
    QAccessibleWidget::doAction(actionName);
}

QVariant CPanelAccessible::currentValue() const {
    auto* knob = qobject_cast<const CTurnButton*>(widget());
    return knob ? QVariant(knob->GetValue()) : QVariant();
}

void CPanelAccessible::setCurrentValue(const QVariant& value) {
    auto* knob = qobject_cast<CTurnButton*>(widget());
    if (!knob || !value.canConvert<double>())
        return;
    const double target = value.toDouble(), current = knob->GetValue();
    const double turn =
        knob->GetWrapping() ? CTurnButton::ShortestTurn(current, target) : target - current;
    if (const int steps = int(std::lround(turn / knob->GetStepAngle())); steps != 0)
        knob->StepTurn(steps);
}

QVariant CPanelAccessible::maximumValue() const {
    return CTurnButton::kTurn;
}

QVariant CPanelAccessible::minimumValue() const {
    return 0.0;
}

QVariant CPanelAccessible::minimumStepSize() const {
    auto* knob = qobject_cast<const CTurnButton*>(widget());
    return knob ? QVariant(knob->GetStepAngle()) : QVariant();
}
