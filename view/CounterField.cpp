#include "view/CounterField.h"

#include <QEvent>
#include <QLineEdit>

void CCounterField::Attach(QLineEdit* field) {
    m_pField = field;
    field->installEventFilter(this);
}

void CCounterField::Show(const QString& text, bool evenIfHidden) {
    m_strText = text;
    if (text == m_strShown && m_pField->parentWidget()->font() == m_baseFont && !m_bBehind)
        return;
    m_bBehind = !evenIfHidden && m_pField->visibleRegion().isEmpty();
    if (m_bBehind)
        return;
    // A reader speaks each change of a focused field: a reading a tick would flood it.
    if (m_readerListens() && m_sinceShown.isValid() && m_sinceShown.elapsed() < kReaderIntervalMs &&
        !m_strShown.isEmpty())
        return;
    Fit();
}

bool CCounterField::eventFilter(QObject* watched, QEvent* event) {
    // The paint that follows reads the text set here.
    if (watched == m_pField && event->type() == QEvent::Paint && m_bBehind) {
        m_bBehind = false;
        Fit();
    }
    return QObject::eventFilter(watched, event);
}

void CCounterField::Fit() {
    // The meter's longest readings ("999.999999 KHz") are wider than the field in most fonts.
    const int room = m_pField->contentsRect().width() - 6;
    const QFont& base = m_pField->parentWidget()->font();
    if (base != m_baseFont) {
        m_baseFont = base;
        m_baseMetrics = QFontMetrics(base);
    }
    QFont font = base;
    bool tooWide = m_baseMetrics.horizontalAdvance(m_strText) > room;
    while (tooWide && font.pointSizeF() > 5.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        tooWide = QFontMetrics(font).horizontalAdvance(m_strText) > room;
    }
    if (font != m_pField->font())
        m_pField->setFont(font);
    m_pField->setText(m_strText);
    m_strShown = m_strText;
    m_sinceShown.start();
}
