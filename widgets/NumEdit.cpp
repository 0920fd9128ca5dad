#include "widgets/NumEdit.h"

#include "i18n/NumberText.h"
#include "widgets/NumberKeys.h"

#include <QFocusEvent>
#include <QKeyEvent>

CNumEdit::CNumEdit(QWidget* parent) : QLineEdit(parent) {}

void CNumEdit::ParseText() {
    m_fValue = static_cast<float>(CNumberText::ToDouble(text().toStdString()));
    if (m_fValue < m_fMin)
        m_fValue = m_fMin;
    if (m_fValue > m_fMax)
        m_fValue = m_fMax;
}

void CNumEdit::SetValue(float v, bool show) {
    m_fValue = v;
    if (!show)
        return;
    const QString shown = QString::asprintf("%.*f", m_nDecimals, static_cast<double>(v));
    // Owners store and clamp in their change path: it must run even when the text stays.
    if (shown == text())
        emit textChanged(shown);
    else
        setText(shown);
}

void CNumEdit::keyPressEvent(QKeyEvent* event) {
    if (HandleNumberClipboardKey(*this, event))
        return;
    if (IsNumberKey(event->key(), event->text()))
        QLineEdit::keyPressEvent(event);
    else
        event->accept();
}

void CNumEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The field's own context menu does not count as leaving it.
    if (event->reason() != Qt::PopupFocusReason)
        SetValue(m_fValue, true);
}
