#pragma once
#include <QLineEdit>

/// Numeric field of the dialogs: reads its text strictly, clamps it into [m_fMin, m_fMax] and
/// shows the clamped value again with m_nDecimals decimals when the user leaves it.
/// Owners call ParseText when the text changes (textChanged) and then read GetValue.
class CNumEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CNumEdit(QWidget* parent = nullptr);

    /// Range and decimals, set by the owner after creating the field.
    float m_fMax = 1.0f;
    float m_fMin = 0.0f;
    int m_nDecimals = 3;

    /// Reads the text (text that is not exactly a number reads 0.0), stores it clamped.
    void ParseText();
    /// Stores v as it is; with show, the text becomes v with the field's decimals, which the
    /// owner hears as a text change, just like typing, even when the text was already that.
    void SetValue(float v, bool show);
    float GetValue() const { return m_fValue; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    float m_fValue = 0.0f;
};
