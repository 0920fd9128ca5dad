#pragma once
#include <QPointF>
#include <QRectF>
#include <QWidget>

/// Rotary knob. Its Value is the angle in radians, one turn being 6.28, 0 at the top and
/// growing clockwise. Dragging round the centre turns it by the angle the pointer sweeps;
/// the wheel and the arrow keys turn it by a small angle.
class CTurnButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double Value READ GetValue WRITE SetValue)
    Q_PROPERTY(bool Wrapping READ GetWrapping WRITE SetWrapping)
    Q_PROPERTY(double StepAngle READ GetStepAngle WRITE SetStepAngle)

public:
    /// One turn of the knob in Value units.
    static constexpr double kTurn = 6.28;

    explicit CTurnButton(QWidget* parent = nullptr);

    double GetValue() const { return m_dValue; }
    /// Turns the knob at once; emits nothing. Wrapping knobs take the angle modulo one turn,
    /// others clamp it to [0, 6.28].
    void SetValue(double angle);

    /// true (default): endless turning, Value in [0, 6.28). false: end stops at 0 and 6.28.
    bool GetWrapping() const { return m_bWrapping; }
    void SetWrapping(bool wrapping);

    /// Angle of one wheel notch or arrow key press (Page Up/Down turn ten times as far).
    double GetStepAngle() const { return m_dStepAngle; }
    void SetStepAngle(double angle) { m_dStepAngle = angle; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    /// The square knob face, centred in the widget's area.
    static QRectF FaceRect(const QRectF& area);
    /// Pointer angle of pos about centre in Value units, [0, 6.28), 0 straight up, clockwise.
    static double PointerAngle(const QPointF& centre, const QPointF& pos);
    /// Shortest turn from one pointer angle to another, in (-3.14, 3.14]: a pointer that
    /// crosses the top mark moves by a little, not by almost a whole turn.
    static double ShortestTurn(double from, double to);
    /// value turned by delta: modulo one turn when wrapping, else held at the end stops.
    static double TurnBy(double value, double delta, bool wrapping);
    /// Centre of the grip mark (the finger dimple) on the face for a knob angle.
    static QPointF GripPoint(const QRectF& face, double value);

    /// Turns by steps of StepAngle and reports it as one complete move, as the arrow keys do.
    void StepTurn(int steps, int shift = 0);
    /// Turns by angle (Value units) and reports it as one complete move.
    void TurnAngle(double angle, int shift = 0);

signals:
    /// button and shift follow PanelButtonCode/PanelShiftCode; x, y are widget pixels.
    void MouseDown(int button, int shift, int x, int y);
    /// The knob was turned: by a drag, or by the wheel or a key (then MouseUp follows at once).
    void MouseMove(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double m_dValue = 0.0;
    bool m_bWrapping = true;
    double m_dStepAngle = 0.04;
    bool m_bDragging = false;
    /// Pointer angle at the last drag position.
    double m_dLastPointer = 0.0;
    /// Wheel eighths of a degree not yet turned into steps (high-resolution wheels).
    int m_nWheelRest = 0;
};
