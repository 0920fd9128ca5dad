#include "widgets/PinButton.h"

#include "widgets/PanelAccessible.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

CPinButton::CPinButton(QWidget* parent) : QPushButton(parent) {
    CPanelAccessible::Install();
    setCheckable(true);
    setAutoDefault(false);
    setFont(QFont(QStringLiteral("Arial"), 9));
    Refresh();
}

void CPinButton::SetLevel(int level) {
    m_nLevel = level;
    Refresh();
}

void CPinButton::Refresh() {
    setText(m_nLevel == 1 ? QStringLiteral("H") : QStringLiteral("L"));
    setChecked(m_nLevel == 1);
    update();
}

QSize CPinButton::sizeHint() const {
    return {24, 22};
}

void CPinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_bEditable == 1 &&
        hitButton(event->position().toPoint()))
        SetLevel(m_nLevel == 0 ? 1 : 0);
    QPushButton::mouseReleaseEvent(event);
}

void CPinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool low = m_nLevel == 0;
    qDrawShadePanel(&painter, rect(), palette(), low, 2);
    painter.setFont(font());
    painter.setPen(low ? QColor(Qt::black) : QColor(255, 0, 0));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine,
                     low ? QStringLiteral("L") : QStringLiteral("H"));
}
