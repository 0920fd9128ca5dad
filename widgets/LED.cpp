#include "widgets/LED.h"

#include "widgets/PanelAccessible.h"
#include "widgets/PanelPaint.h"

#include <QAccessible>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

CLED::CLED(QWidget* parent) : QWidget(parent), m_lampColor(255, 48, 32) {
    CPanelAccessible::Install();
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CLED::SetValue(bool lit) {
    if (m_bValue == lit)
        return;
    m_bValue = lit;
    update();
    // A screen reader hears the lamp go on or off as it hears a check box.
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void CLED::SetLampColor(const QColor& color) {
    m_lampColor = color;
    update();
}

QSize CLED::sizeHint() const {
    return {12, 12};
}

QSize CLED::minimumSizeHint() const {
    return {6, 6};
}

QRectF CLED::GlassRect(const QRectF& area) {
    const qreal side = std::min(area.width(), area.height());
    // The rim of the square is left for the glow.
    const qreal glass = side * 0.7;
    QRectF rc(0, 0, glass, glass);
    rc.moveCenter(area.center());
    return rc;
}

void CLED::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QRectF area = QRectF(rect());
    const QRectF glass = GlassRect(area);
    const QPointF centre = glass.center();
    const qreal radius = glass.width() / 2.0;

    const QColor lamp = LampShown(m_lampColor, isEnabled());
    const bool lit = m_bValue;

    if (lit) {
        // Glow: light spilling onto the panel round the glass.
        const qreal glowRadius = std::min(area.width(), area.height()) / 2.0;
        QRadialGradient glow(centre, glowRadius);
        QColor inner = lamp;
        inner.setAlpha(220);
        QColor outer = lamp;
        outer.setAlpha(0);
        glow.setColorAt(radius / glowRadius, inner);
        glow.setColorAt(1.0, outer);
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(centre, glowRadius, glowRadius);
    }

    // Bezel ring.
    painter.setPen(Qt::NoPen);
    painter.setBrush(PanelInk(palette(), group, 0.4));
    painter.drawEllipse(centre, radius + 0.8, radius + 0.8);

    // Glass: bright core when lit, the lamp's own colour gone dark when off.
    QRadialGradient body(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.3);
    if (lit) {
        body.setColorAt(0.0, QColor(255, 255, 255));
        body.setColorAt(0.25, lamp.lighter(150));
        body.setColorAt(0.7, lamp);
        body.setColorAt(1.0, lamp.darker(160));
    } else {
        body.setColorAt(0.0, lamp.darker(220));
        body.setColorAt(0.6, lamp.darker(420));
        body.setColorAt(1.0, lamp.darker(700));
    }
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);

    // Reflection on the glass, dimmer when the lamp is off.
    QColor spot(255, 255, 255, lit ? 200 : 90);
    painter.setBrush(spot);
    const qreal spotRadius = std::max<qreal>(radius * 0.28, 0.8);
    painter.drawEllipse(centre - QPointF(radius * 0.35, radius * 0.4), spotRadius, spotRadius);
}
