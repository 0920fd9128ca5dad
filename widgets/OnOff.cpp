#include "widgets/OnOff.h"

#include "widgets/PanelAccessible.h"
#include "widgets/PanelEvent.h"
#include "widgets/PanelPaint.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

COnOff::COnOff(QWidget* parent) : QAbstractButton(parent), m_lampColor(80, 235, 90) {
    CPanelAccessible::Install();
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &COnOff::EmitMouseDown);
}

void COnOff::SetValue(bool on) {
    {
        const QSignalBlocker blocker(this);
        setChecked(on);
    }
    update();
}

void COnOff::SetLampColor(const QColor& color) {
    m_lampColor = color;
    update();
}

QSize COnOff::sizeHint() const {
    return {32, 19};
}

QSize COnOff::minimumSizeHint() const {
    return {12, 8};
}

QRectF COnOff::CapRect(const QRectF& area) {
    const qreal bezel = std::max<qreal>(2.0, std::min(area.width(), area.height()) * 0.14);
    return area.adjusted(bezel, bezel, -bezel, -bezel);
}

void COnOff::EmitMouseDown() {
    emit MouseDown(m_nPressButton, m_nPressShift, m_ptPress.x(), m_ptPress.y());
    // A later click() from code or accessibility reports the centre without a button.
    m_nPressButton = 0;
    m_nPressShift = 0;
    m_ptPress = rect().center();
}

void COnOff::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mousePressEvent(event);
        return;
    }
    // A push switch acts when pressed, not when let go.
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    m_nPressButton = PanelButtonCode(event->button());
    m_nPressShift = PanelShiftCode(event->modifiers());
    m_ptPress = event->position().toPoint();
    click();
    event->accept();
}

void COnOff::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QAbstractButton::mouseReleaseEvent(event);
}

void COnOff::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void COnOff::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        QAbstractButton::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        m_nPressButton = 0;
        m_nPressShift = PanelShiftCode(event->modifiers());
        m_ptPress = rect().center();
        click();
    }
    event->accept();
}

void COnOff::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space)
        event->accept();
    else
        QAbstractButton::keyReleaseEvent(event);
}

void COnOff::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPalette& pal = palette();
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QRectF cap = CapRect(area);
    const bool on = isChecked();
    // A disabled switch still shows its state, in grey.
    const bool lit = on;

    const QColor lamp = LampShown(m_lampColor, isEnabled());
    const QColor ink = PanelInk(pal, group, 0.25);

    // Bezel: a dark frame bevelled like a panel cut-out.
    QLinearGradient bezel(area.topLeft(), area.bottomLeft());
    bezel.setColorAt(0.0, MixColor(ink, pal.color(group, QPalette::Mid), 0.35));
    bezel.setColorAt(1.0, ink);
    painter.setPen(hasFocus() ? QPen(pal.color(group, QPalette::Highlight), 1.0)
                              : QPen(pal.color(group, QPalette::Dark), 1.0));
    painter.setBrush(bezel);
    painter.drawRoundedRect(area, 3.0, 3.0);

    // Cap: pressed in slightly while on, so the state reads without colour too.
    const QRectF face = on ? cap.adjusted(0.5, 1.0, -0.5, 0.0) : cap.adjusted(0, 0, 0, -0.5);
    if (lit) {
        QRadialGradient glow(face.center(), face.width() * 0.6);
        glow.setColorAt(0.0, QColor(255, 255, 255));
        glow.setColorAt(0.15, lamp.lighter(160));
        glow.setColorAt(0.65, lamp);
        glow.setColorAt(1.0, lamp.darker(170));
        painter.setBrush(glow);
    } else {
        QLinearGradient dark(face.topLeft(), face.bottomLeft());
        // Frosted cap over an unlit lamp: dark, with a trace of the lamp's colour.
        const QColor body = MixColor(ink, lamp, 0.12);
        dark.setColorAt(0.0, MixColor(body, pal.color(group, QPalette::Light), 0.3));
        dark.setColorAt(0.45, body);
        dark.setColorAt(1.0, MixColor(body, lamp, 0.1));
        painter.setBrush(dark);
    }
    painter.setPen(QPen(ink, 0.8));
    painter.drawRoundedRect(face, 2.0, 2.0);

    // Top edge highlight of the cap.
    QColor edge(255, 255, 255, lit ? 150 : 60);
    painter.setPen(QPen(edge, 1.0));
    painter.drawLine(QPointF(face.left() + 2, face.top() + 1),
                     QPointF(face.right() - 2, face.top() + 1));
}
