#pragma once
#include <QAbstractButton>
#include <QColor>

/// Illuminated push switch: a press toggles it, and its cap is lit while it is on.
class COnOff : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool Value READ GetValue WRITE SetValue)
    Q_PROPERTY(QColor LampColor READ GetLampColor WRITE SetLampColor)

public:
    explicit COnOff(QWidget* parent = nullptr);

    bool GetValue() const { return isChecked(); }
    /// Shows the new state at once; emits nothing (not even toggled()).
    void SetValue(bool on);

    QColor GetLampColor() const { return m_lampColor; }
    void SetLampColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    /// The switch cap inside its bezel.
    static QRectF CapRect(const QRectF& area);

signals:
    /// The switch was pressed (mouse, Space or click()) and has already changed its state.
    /// button and shift follow PanelButtonCode/PanelShiftCode; x, y are widget pixels.
    void MouseDown(int button, int shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void EmitMouseDown();

    QColor m_lampColor;
    /// Arguments for the MouseDown that follows the toggle under way.
    int m_nPressButton = 0;
    int m_nPressShift = 0;
    QPoint m_ptPress;
};
