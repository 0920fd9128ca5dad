#pragma once
#include <QAbstractButton>

/// Two-position lever toggle: the lever points left (off) or right (on); a click flips it.
class CLeftRight : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool Value READ GetValue WRITE SetValue)

public:
    explicit CLeftRight(QWidget* parent = nullptr);

    /// false: lever to the left; true: lever to the right.
    bool GetValue() const { return isChecked(); }
    /// Moves the lever at once; emits nothing (not even toggled()).
    void SetValue(bool right);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    /// The round bushing the lever pivots in, at the centre of the area.
    static QRectF BushingRect(const QRectF& area);
    /// Centre of the lever's ball tip for a position.
    static QPointF TipCentre(const QRectF& area, bool right);

signals:
    /// The lever has moved to its other position (mouse, Space or click()).
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
};
