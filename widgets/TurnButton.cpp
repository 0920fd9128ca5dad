#include "widgets/TurnButton.h"

#include "widgets/PanelAccessible.h"
#include "widgets/PanelEvent.h"
#include "widgets/PanelPaint.h"

#include <QConicalGradient>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi2 = 2.0 * std::numbers::pi;
/// Ticks on the scale ring.
constexpr int kScaleTicks = 40;
/// Ribs on the knob's skirt.
constexpr int kRibs = 36;
/// Pointer positions this close to the centre give no usable angle.
constexpr double kDeadRadius = 3.0;

/// Knob angle in Value units to screen radians (0 up, clockwise).
double ToRadians(double value) {
    return value * kPi2 / CTurnButton::kTurn;
}

QPointF Polar(const QPointF& centre, double radius, double radians) {
    return {centre.x() + radius * std::sin(radians), centre.y() - radius * std::cos(radians)};
}

} // namespace

CTurnButton::CTurnButton(QWidget* parent) : QWidget(parent) {
    CPanelAccessible::Install();
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CTurnButton::SetValue(double angle) {
    m_dValue = TurnBy(angle, 0.0, m_bWrapping);
    update();
}

void CTurnButton::SetWrapping(bool wrapping) {
    m_bWrapping = wrapping;
    SetValue(m_dValue);
}

QSize CTurnButton::sizeHint() const {
    return {82, 83};
}

QSize CTurnButton::minimumSizeHint() const {
    return {24, 24};
}

QRectF CTurnButton::FaceRect(const QRectF& area) {
    const qreal side = std::min(area.width(), area.height());
    QRectF rc(0, 0, side, side);
    rc.moveCenter(area.center());
    return rc;
}

double CTurnButton::PointerAngle(const QPointF& centre, const QPointF& pos) {
    double radians = std::atan2(pos.x() - centre.x(), centre.y() - pos.y());
    if (radians < 0.0)
        radians += kPi2;
    const double angle = radians * kTurn / kPi2;
    return angle >= kTurn ? 0.0 : angle;
}

double CTurnButton::ShortestTurn(double from, double to) {
    double delta = std::fmod(to - from, kTurn);
    if (delta > kTurn / 2.0)
        delta -= kTurn;
    else if (delta <= -kTurn / 2.0)
        delta += kTurn;
    return delta;
}

double CTurnButton::TurnBy(double value, double delta, bool wrapping) {
    const double turned = value + delta;
    if (!wrapping)
        return std::clamp(turned, 0.0, kTurn);
    double angle = std::fmod(turned, kTurn);
    if (angle < 0.0)
        angle += kTurn;
    // fmod of a tiny negative number plus a turn can round up to a full turn.
    return angle >= kTurn ? 0.0 : angle;
}

QPointF CTurnButton::GripPoint(const QRectF& face, double value) {
    return Polar(face.center(), face.width() * 0.5 * 0.42, ToRadians(value));
}

void CTurnButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_bDragging = true;
    const QPointF pos = event->position();
    m_dLastPointer = PointerAngle(FaceRect(QRectF(rect())).center(), pos);
    emit MouseDown(PanelButtonCode(event->button()), PanelShiftCode(event->modifiers()),
                   qRound(pos.x()), qRound(pos.y()));
    event->accept();
}

void CTurnButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPointF pos = event->position();
    const QPointF centre = FaceRect(QRectF(rect())).center();
    if (std::hypot(pos.x() - centre.x(), pos.y() - centre.y()) >= kDeadRadius) {
        const double pointer = PointerAngle(centre, pos);
        // Follow the pointer step by step so that a drag across the top mark keeps its sense.
        m_dValue = TurnBy(m_dValue, ShortestTurn(m_dLastPointer, pointer), m_bWrapping);
        m_dLastPointer = pointer;
        update();
    }
    emit MouseMove(PanelButtonCode(event->buttons()), PanelShiftCode(event->modifiers()),
                   qRound(pos.x()), qRound(pos.y()));
    event->accept();
}

void CTurnButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bDragging) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_bDragging = false;
    const QPointF pos = event->position();
    emit MouseUp(PanelButtonCode(event->button()), PanelShiftCode(event->modifiers()),
                 qRound(pos.x()), qRound(pos.y()));
    event->accept();
}

void CTurnButton::wheelEvent(QWheelEvent* event) {
    // One notch is 120 eighths of a degree; finer wheels add up to a notch first.
    m_nWheelRest += event->angleDelta().y();
    const int steps = m_nWheelRest / 120;
    m_nWheelRest -= steps * 120;
    if (steps != 0)
        StepTurn(steps, PanelShiftCode(event->modifiers()));
    event->accept();
}

void CTurnButton::keyPressEvent(QKeyEvent* event) {
    int steps = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        steps = 1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        steps = -1;
        break;
    case Qt::Key_PageUp:
        steps = 10;
        break;
    case Qt::Key_PageDown:
        steps = -10;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    StepTurn(steps, PanelShiftCode(event->modifiers()));
    event->accept();
}

void CTurnButton::StepTurn(int steps, int shift) {
    TurnAngle(steps * m_dStepAngle, shift);
}

void CTurnButton::TurnAngle(double angle, int shift) {
    m_dValue = TurnBy(m_dValue, angle, m_bWrapping);
    update();
    const QPoint grip = GripPoint(FaceRect(QRectF(rect())), m_dValue).toPoint();
    emit MouseMove(0, shift, grip.x(), grip.y());
    emit MouseUp(0, shift, grip.x(), grip.y());
}

void CTurnButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPalette& pal = palette();
    const QRectF face = FaceRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    const QPointF centre = face.center();
    const double outer = face.width() / 2.0;
    const double turn = ToRadians(m_dValue);

    // Scale ring printed on the panel; every fifth tick longer.
    QColor tickColor = pal.color(group, QPalette::WindowText);
    for (int i = 0; i < kScaleTicks; ++i) {
        const double radians = i * kPi2 / kScaleTicks;
        const bool major = i % 5 == 0;
        tickColor.setAlpha(major ? 230 : 140);
        painter.setPen(QPen(tickColor, major ? 1.4 : 0.9, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(Polar(centre, outer * (major ? 0.86 : 0.9), radians),
                         Polar(centre, outer * 0.98, radians));
    }

    // Shadow the knob casts on the panel.
    const double skirt = outer * 0.8;
    QRadialGradient shadow(centre + QPointF(outer * 0.03, outer * 0.05), skirt * 1.08);
    QColor shade = PanelInk(pal, group, 0.5);
    shade.setAlpha(120);
    shadow.setColorAt(0.88, shade);
    shade.setAlpha(0);
    shadow.setColorAt(1.0, shade);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(centre + QPointF(outer * 0.03, outer * 0.05), skirt * 1.08, skirt * 1.08);

    // Skirt: dark ribbed collar that turns with the knob.
    const QColor body = PanelInk(pal, group, 0.15);
    QRadialGradient collar(centre - QPointF(skirt * 0.3, skirt * 0.35), skirt * 1.4);
    collar.setColorAt(0.0, MixColor(body, pal.color(group, QPalette::Mid), 0.6));
    collar.setColorAt(0.6, MixColor(body, pal.color(group, QPalette::Dark), 0.25));
    collar.setColorAt(1.0, body);
    painter.setBrush(collar);
    painter.setPen(QPen(body, 1.0));
    painter.drawEllipse(centre, skirt, skirt);
    QColor rib = pal.color(group, QPalette::Light);
    const double cap = outer * 0.62;
    for (int i = 0; i < kRibs; ++i) {
        const double radians = turn + i * kPi2 / kRibs;
        // Ribs catch the light on the upper left and fade round the other side.
        const double light = 0.5 + 0.5 * std::cos(radians + std::numbers::pi / 4.0);
        rib.setAlpha(static_cast<int>(30 + 90 * light));
        painter.setPen(QPen(rib, 1.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(Polar(centre, cap + 1.5, radians), Polar(centre, skirt - 1.5, radians));
    }

    // Cap: brushed metal, lit from the upper left.
    QConicalGradient metal(centre, 135.0);
    const QColor light = pal.color(group, QPalette::Light);
    const QColor mid = pal.color(group, QPalette::Midlight);
    const QColor dark = pal.color(group, QPalette::Mid);
    metal.setColorAt(0.0, light);
    metal.setColorAt(0.25, dark);
    metal.setColorAt(0.5, light);
    metal.setColorAt(0.75, dark);
    metal.setColorAt(1.0, light);
    painter.setPen(QPen(pal.color(group, QPalette::Dark), 1.0));
    painter.setBrush(metal);
    painter.drawEllipse(centre, cap, cap);
    QRadialGradient sheen(centre - QPointF(cap * 0.35, cap * 0.4), cap * 1.2);
    QColor gloss = mid;
    gloss.setAlpha(0);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 90));
    sheen.setColorAt(1.0, gloss);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sheen);
    painter.drawEllipse(centre, cap, cap);

    // Grip mark: an indicator line out to the skirt's edge and a finger dimple on it.
    const QColor mark = pal.color(group, QPalette::Highlight);
    painter.setPen(QPen(mark, std::max(2.0, outer * 0.07), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(Polar(centre, outer * 0.5, turn), Polar(centre, skirt - 1.0, turn));
    const QPointF grip = GripPoint(face, m_dValue);
    const double dimple = outer * 0.12;
    QRadialGradient hollow(grip + QPointF(dimple * 0.3, dimple * 0.35), dimple * 1.2);
    hollow.setColorAt(0.0, light);
    hollow.setColorAt(0.7, dark);
    hollow.setColorAt(1.0, pal.color(group, QPalette::Dark));
    painter.setPen(QPen(pal.color(group, QPalette::Dark), 0.8));
    painter.setBrush(hollow);
    painter.drawEllipse(grip, dimple, dimple);

    if (hasFocus()) {
        QColor ring = pal.color(group, QPalette::Highlight);
        ring.setAlpha(200);
        painter.setPen(QPen(ring, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, outer * 0.83, outer * 0.83);
    }
}
