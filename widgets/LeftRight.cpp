#include "widgets/LeftRight.h"

#include "widgets/PanelAccessible.h"
#include "widgets/PanelPaint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

CLeftRight::CLeftRight(QWidget* parent) : QAbstractButton(parent) {
    CPanelAccessible::Install();
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
    const qreal side = std::min(area.height(), area.width() / 2.0) * 0.42;
    QRectF rc(0, 0, side, side);
    rc.moveCenter(area.center());
    return rc;
}

QPointF CLeftRight::TipCentre(const QRectF& area, bool right) {
    const qreal inset = area.height() * 0.33 + 1.0;
    return {right ? area.right() - inset : area.left() + inset, area.center().y()};
}

void CLeftRight::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPalette& pal = palette();
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool right = isChecked();
    const QColor shadow = PanelInk(pal, group, 0.3);
    const QColor light = pal.color(group, QPalette::Light);
    const QColor midlight = pal.color(group, QPalette::Midlight);
    const QColor dark = pal.color(group, QPalette::Dark);

    // Recessed slot the lever is thrown along.
    QLinearGradient slot(area.topLeft(), area.bottomLeft());
    slot.setColorAt(0.0, shadow);
    slot.setColorAt(1.0, MixColor(shadow, dark, 0.45));
    painter.setPen(hasFocus() ? QPen(pal.color(group, QPalette::Highlight), 1.0)
                              : QPen(pal.color(group, QPalette::Mid), 0.8));
    painter.setBrush(slot);
    const qreal corner = area.height() / 2.0;
    painter.drawRoundedRect(area, corner, corner);

    // Lever: a tapered chrome shaft from the pivot to a ball tip, thrown to one side.
    const QRectF bushing = BushingRect(area);
    const QPointF pivot = bushing.center();
    const QPointF tip = TipCentre(area, right);
    const qreal tipRadius = area.height() * 0.33;
    const qreal rootHalf = bushing.height() * 0.25;
    const qreal tipHalf = tipRadius * 0.7;
    QPainterPath shaft;
    shaft.moveTo(pivot.x(), pivot.y() - rootHalf);
    shaft.lineTo(tip.x(), tip.y() - tipHalf);
    shaft.lineTo(tip.x(), tip.y() + tipHalf);
    shaft.lineTo(pivot.x(), pivot.y() + rootHalf);
    shaft.closeSubpath();
    QLinearGradient chrome(QPointF(0, tip.y() - tipHalf), QPointF(0, tip.y() + tipHalf));
    chrome.setColorAt(0.0, light);
    chrome.setColorAt(0.5, light);
    chrome.setColorAt(1.0, midlight);
    painter.setPen(QPen(shadow, 0.6));
    painter.setBrush(chrome);
    painter.drawPath(shaft);

    // Bushing: the nut the lever pivots in.
    QRadialGradient nut(pivot, bushing.width() * 0.6);
    nut.setColorAt(0.0, dark);
    nut.setColorAt(1.0, midlight);
    painter.setBrush(nut);
    painter.drawEllipse(bushing);

    QRadialGradient ball(tip - QPointF(tipRadius * 0.35, tipRadius * 0.4), tipRadius * 1.3);
    ball.setColorAt(0.0, QColor(255, 255, 255));
    ball.setColorAt(0.35, light);
    ball.setColorAt(1.0, dark);
    painter.setPen(QPen(shadow, 0.8));
    painter.setBrush(ball);
    painter.drawEllipse(tip, tipRadius, tipRadius);
}
