#pragma once
#include <QLineEdit>

/// Numeric field of the control panel: a value clamped by the field's kind, and a step that
/// spin buttons and knobs add (StepBy) and that a double-click on a digit sets to that digit's
/// weight. Setting the value leaves the text alone; ShowValue writes it ("%.3f").
class CStepEdit : public QLineEdit {
    Q_OBJECT

public:
    /// What the field holds; decides the limits SetValue applies.
    enum FieldKind {
        KIND_FREQUENCY = 0, ///< Hz, 1.0 up to GetMaxFrequency()
        KIND_AMPLITUDE = 1, ///< V, 0.0 to 3.5
        KIND_OFFSET = 2,    ///< V, -7.0 to 7.0
        KIND_PHASE = 3,     ///< fraction of a period, 0.0 to 1.0
    };

    explicit CStepEdit(QWidget* parent = nullptr);

    void SetKind(int kind) { m_nKind = kind; }
    int GetKind() const { return m_nKind; }
    /// Emits StepChanged when the step becomes another.
    void SetStep(float step);
    float GetStep() const { return m_fStep; }
    /// The step the next StepBy adds (a phase step of 1 is taken as 0.1).
    float EffectiveStep() const;

    /// Highest frequency a frequency field takes. It depends on the wave type the device plays,
    /// which the field does not know: the owner sets 75000000.0 for Sine and 25000000.0 for
    /// every other wave type whenever the type changes. A value above it is not lowered until
    /// the next SetValue.
    void SetMaxFrequency(double maxHz) { m_dMaxFrequency = maxHz; }
    double GetMaxFrequency() const { return m_dMaxFrequency; }

    /// Stores v clamped by the kind's limits; the text is not changed.
    void SetValue(float v);
    float GetValue() const { return m_fValue; }
    /// The limits SetValue holds the value within, for the field's kind.
    double Minimum() const;
    double Maximum() const;
    /// The text becomes the value, "%.3f"; the owner hears it as a text change.
    void ShowValue();
    /// Adds steps × step (a spin arrow is ±1, a knob any count), then sets and shows the value.
    /// A phase step of 1 is taken as 0.1; a frequency or amplitude step that would take the
    /// value below one step becomes ten times smaller first, and stays so.
    void StepBy(int steps);

    /// Weight of the character at index in text: 10^n left of the last ".", 0.1^n right of it;
    /// without a point the text is taken as ending in one.
    static float DigitWeight(const QString& text, int index);

signals:
    /// The step changed: set by the owner, by a double-click on a digit, or made finer near
    /// the bottom of the range.
    void StepChanged();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    /// Index of the character under pos, or of the last one when pos is after the text.
    int CharacterAt(const QPoint& pos);

    float m_fValue = 1000.0f;
    int m_nKind = KIND_FREQUENCY;
    float m_fStep = 1.0f;
    double m_dMaxFrequency = 75000000.0;
};
