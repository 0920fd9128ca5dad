#include "widgets/LeftRight.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

CLeftRight::CLeftRight(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &CLeftRight::Click);
}

void CLeftRight::SetValue(bool right) {
    {
        const QSignalBlocker blocker(this);
        setChecked(right);
    }
    update();
}

QSize CLeftRight::sizeHint() const {
    return {29, 14};
}

QSize CLeftRight::minimumSizeHint() const {
    return {14, 7};
}

QRectF CLeftRight::BushingRect(const QRectF& area) {
    const qreal side = std::min(area.height(), area.width() / 2.0) * 0.8;
    QRectF rc(0, 0, side, side);
    rc.moveCenter(area.center());
    return rc;
}

QPointF CLeftRight::TipCentre(const QRectF& area, bool right) {
    const qreal tipRadius = area.height() * 0.32;
    const qreal x = right ? area.right() - tipRadius - 1.0 : area.left() + tipRadius + 1.0;
    return {x, area.center().y()};
}

void CLeftRight::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPalette& pal = palette();
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool right = isChecked();

    // Mounting plate: a slot that shows which way the lever can go.
    QLinearGradient plate(area.topLeft(), area.bottomLeft());
    plate.setColorAt(0.0, pal.color(group, QPalette::Dark));
    plate.setColorAt(1.0, pal.color(group, QPalette::Mid));
    painter.setPen(hasFocus() ? QPen(pal.color(group, QPalette::Highlight), 1.0)
                              : QPen(pal.color(group, QPalette::Shadow), 0.8));
    painter.setBrush(plate);
    const qreal corner = area.height() / 2.0;
    painter.drawRoundedRect(area, corner, corner);

    // Bushing: a metal ring the lever comes out of.
    const QRectF bushing = BushingRect(area);
    QRadialGradient ring(bushing.center() - QPointF(bushing.width() * 0.2, bushing.height() * 0.2),
                         bushing.width() * 0.7);
    ring.setColorAt(0.0, pal.color(group, QPalette::Light));
    ring.setColorAt(0.6, pal.color(group, QPalette::Midlight));
    ring.setColorAt(1.0, pal.color(group, QPalette::Mid));
    painter.setPen(QPen(pal.color(group, QPalette::Shadow), 0.8));
    painter.setBrush(ring);
    painter.drawEllipse(bushing);

    // Lever: a tapered shaft from the pivot to a ball tip, thrown to one side.
    const QPointF pivot = bushing.center();
    const QPointF tip = TipCentre(area, right);
    const qreal tipRadius = area.height() * 0.32;
    const qreal rootHalf = bushing.height() * 0.18;
    const qreal tipHalf = tipRadius * 0.75;
    QPainterPath shaft;
    shaft.moveTo(pivot.x(), pivot.y() - rootHalf);
    shaft.lineTo(tip.x(), tip.y() - tipHalf);
    shaft.lineTo(tip.x(), tip.y() + tipHalf);
    shaft.lineTo(pivot.x(), pivot.y() + rootHalf);
    shaft.closeSubpath();
    QLinearGradient chrome(QPointF(0, tip.y() - tipHalf), QPointF(0, tip.y() + tipHalf));
    chrome.setColorAt(0.0, pal.color(group, QPalette::Light));
    chrome.setColorAt(0.45, pal.color(group, QPalette::Midlight));
    chrome.setColorAt(1.0, pal.color(group, QPalette::Dark));
    painter.setPen(QPen(pal.color(group, QPalette::Shadow), 0.6));
    painter.setBrush(chrome);
    painter.drawPath(shaft);

    QRadialGradient ball(tip - QPointF(tipRadius * 0.35, tipRadius * 0.4), tipRadius * 1.2);
    ball.setColorAt(0.0, pal.color(group, QPalette::Light));
    ball.setColorAt(0.5, pal.color(group, QPalette::Midlight));
    ball.setColorAt(1.0, pal.color(group, QPalette::Dark));
    painter.setBrush(ball);
    painter.drawEllipse(tip, tipRadius, tipRadius);
}
