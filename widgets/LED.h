#pragma once
#include <QColor>
#include <QWidget>

/// Round indicator lamp: lit with a glow, or dark. Shows a state; takes no input.
class CLED : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Value READ GetValue WRITE SetValue)
    Q_PROPERTY(QColor LampColor READ GetLampColor WRITE SetLampColor)

public:
    explicit CLED(QWidget* parent = nullptr);

    bool GetValue() const { return m_bValue; }
    /// Lights or darkens the lamp at once; raises no event.
    void SetValue(bool lit);

    QColor GetLampColor() const { return m_lampColor; }
    void SetLampColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    /// The lamp's glass inside the widget; the glow fills the rest of the square.
    static QRectF GlassRect(const QRectF& area);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_bValue = false;
    QColor m_lampColor;
};
