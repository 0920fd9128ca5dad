#pragma once
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

/// What a screen reader learns of the painted panel controls (CLED, COnOff, CLeftRight,
/// CTurnButton, CPinButton): the name their owner gave them, a role, and their state. Lamps,
/// switches and levers say their state with the words of their "valueTexts" property
/// ([off, on]; "off"/"on" without one), a pin its level "H" or "L", and a knob its angle, which
/// it also offers through the value interface. Switches, levers and editable pins can be
/// pressed through the action interface. Any other widget with an int "accessibleRole"
/// property gets that role and its owner's name.
class CPanelAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    CPanelAccessible(QWidget* widget, QAccessible::Role role);

    /// Lets Qt ask this class for the panel controls; the controls call it when they are made.
    static void Install();

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    QVariant currentValue() const override;
    /// Turns a knob the shorter way to the angle, in whole steps as its arrow keys do, so that
    /// its owner hears of the turn.
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    bool IsKnob() const;
    /// The two-state controls' state: lit, on, lever right, pin high.
    bool IsOn() const;
    bool IsPressable() const;
};
