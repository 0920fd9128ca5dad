#include "widgets/SpinButton.h"

#include "widgets/PanelAccessible.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QWheelEvent>

CSpinButton::CSpinButton(QWidget* parent)
    : QWidget(parent), m_pUp(new QToolButton(this)), m_pDown(new QToolButton(this)) {
    CPanelAccessible::Install();
    for (QToolButton* button : {m_pUp, m_pDown}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    m_pUp->setArrowType(Qt::UpArrow);
    m_pDown->setArrowType(Qt::DownArrow);
    setFocusPolicy(Qt::TabFocus);
    // A step on the press and on every auto-repeat while held; the release adds none.
    connect(m_pUp, &QToolButton::pressed, this, [this] { emit DeltaPos(-1); });
    connect(m_pDown, &QToolButton::pressed, this, [this] { emit DeltaPos(1); });
}

void CSpinButton::resizeEvent(QResizeEvent*) {
    const int upHeight = height() / 2;
    m_pUp->setGeometry(0, 0, width(), upHeight);
    m_pDown->setGeometry(0, upHeight, width(), height() - upHeight);
}

void CSpinButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up)
        emit DeltaPos(-1);
    else if (event->key() == Qt::Key_Down)
        emit DeltaPos(1);
    else
        QWidget::keyPressEvent(event);
}

void CSpinButton::wheelEvent(QWheelEvent* event) {
    const int dy = event->angleDelta().y();
    if (dy != 0)
        emit DeltaPos(dy > 0 ? -1 : 1);
    event->accept();
}
