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
    if (m_shrunk.empty() || base != m_baseFont) {
        m_baseFont = base;
        m_shrunk.clear();
        m_shrunk.push_back({base, QFontMetrics(base)});
    }
    // Each smaller size's metrics are made once: a meter's reading changes at every tick.
    std::size_t size = 0;
    bool tooWide = m_shrunk[0].metrics.horizontalAdvance(m_strText) > room;
    while (tooWide && m_shrunk[size].font.pointSizeF() > 5.0) {
        if (++size == m_shrunk.size()) {
            QFont smaller = m_shrunk[size - 1].font;
            smaller.setPointSizeF(smaller.pointSizeF() - 0.5);
            m_shrunk.push_back({smaller, QFontMetrics(smaller)});
        }
        tooWide = m_shrunk[size].metrics.horizontalAdvance(m_strText) > room;
    }
    const QFont& font = m_shrunk[size].font;
    if (font != m_pField->font())
        m_pField->setFont(font);
    m_pField->setText(m_strText);
    m_strShown = m_strText;
    m_sinceShown.start();
}
