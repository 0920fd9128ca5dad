#pragma once
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class CStepEdit;

/// What a screen reader learns of the painted panel controls (CLED, COnOff, CLeftRight,
/// CTurnButton, CPinButton, CSpinButton): the name their owner gave them, a role, and their
/// state. Switches and levers are check boxes (radio buttons where the owner sets that role);
/// lamps and read-only pins are read-only check boxes, as an on/off indicator has no role of
/// its own on the desktop's accessibility bus. They say their state with the words of their
/// "valueTexts" property ([off, on]; "off"/"on" without one), a pin its level "H" or "L".
///
/// A knob or spin button whose owner sets the "valueField" property (the CStepEdit it steps)
/// offers that field's value, limits and step through the value interface, and setting a value
/// steps the field as turning or pressing would: a knob turns by whole steps of
/// "stepsPerTurn" per turn, a spin button presses its arrows. A knob without a field offers its
/// angle. Switches, levers and editable pins can be pressed through the action interface. Any
/// other widget with an int "accessibleRole" property gets that role and its owner's name.
class CPanelAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    CPanelAccessible(QWidget* widget, QAccessible::Role role);

    /// Lets Qt ask this class for the panel controls; the controls call it when they are made.
    static void Install();
    /// Tells a screen reader that the value of a knob or spin button changed.
    static void NotifyValue(QWidget* control);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    /// A spin button is one control to a reader; its two arrows are not children.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    bool IsKnob() const;
    bool IsSpin() const;
    bool IsLamp() const;
    /// The two-state controls' state: lit, on, lever right, pin high.
    bool IsOn() const;
    bool IsPressable() const;
    CStepEdit* Field() const;
};
