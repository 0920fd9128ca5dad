#include "app/TabRenameEdit.h"

#include "res/Resource.h"

#include <QKeyEvent>

CTabRenameEdit::CTabRenameEdit(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("tabRenameEdit"));
    setProperty("ctrlId", IDC_TAB_RENAME_EDIT);
    setFrame(false);
    hide();
}

void CTabRenameEdit::keyPressEvent(QKeyEvent* event) {
    // Enter commits on its release; the press must not reach the dialog-like default handling.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CTabRenameEdit::keyReleaseEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isVisible()) {
        Finish();
        return;
    }
    QLineEdit::keyReleaseEvent(event);
}

void CTabRenameEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The edit's own context menu takes the focus only for a moment; the edit keeps going.
    if (isVisible() && event->reason() != Qt::PopupFocusReason)
        Finish();
}

void CTabRenameEdit::Finish() {
    const QString name = text().left(kMaxName);
    const int tab = m_nTab;
    // Hiding a focused edit passes the focus on, possibly into another device's window, which
    // would make that device current; the tab strip keeps it instead.
    if (hasFocus() && parentWidget())
        parentWidget()->setFocus(Qt::OtherFocusReason);
    hide();
    emit Commit(tab, name);
}
