#include "app/TabStrip.h"

#include "app/TabRenameEdit.h"
#include "res/Resource.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

CTabStrip::CTabStrip(QWidget* parent) : QTabBar(parent), m_pRenameEdit(new CTabRenameEdit(this)) {
    setObjectName(QStringLiteral("deviceTabs"));
    setProperty("ctrlId", IDC_TAB_CONTROL);
    setExpanding(false);
    setDrawBase(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    connect(this, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_bQuiet && index >= 0)
            emit TabChosen(index);
    });
}

void CTabStrip::SelectQuietly(int i) {
    m_bQuiet = true;
    setCurrentIndex(i);
    m_bQuiet = false;
}

void CTabStrip::StartRename(int i, const QString& text) {
    QRect rc = tabRect(i).adjusted(3, 3, -3, -3);
    m_pRenameEdit->m_nTab = i;
    m_pRenameEdit->setGeometry(rc);
    m_pRenameEdit->setText(text);
    m_pRenameEdit->selectAll();
    m_pRenameEdit->show();
    m_pRenameEdit->raise();
    m_pRenameEdit->setFocus(Qt::OtherFocusReason);
}

void CTabStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        // A right click first makes its tab the current device (the menu follows the press).
        const int i = tabAt(event->position().toPoint());
        if (i >= 0) {
            SelectQuietly(i);
            emit TabChosen(i);
        }
    }
    QTabBar::mousePressEvent(event);
}

void CTabStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit RenameRequested();
        return;
    }
    QTabBar::mouseDoubleClickEvent(event);
}

void CTabStrip::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard)
        emit MenuRequested(mapToGlobal(QPoint(5, 5)));
    else
        emit MenuRequested(event->globalPos());
}
