#include "view/CounterField.h"

#include "widgets/CounterEdit.h"

#include <QEvent>

#include <algorithm>

void CCounterField::Attach(CCounterEdit* field) {
    m_pField = field;
    field->installEventFilter(this);
}

void CCounterField::Show(const QString& text, bool evenIfHidden) {
    m_strText = text;
    if (text == m_strShown && m_pField->parentWidget()->font() == m_baseFont && !m_bBehind &&
        !m_growing.isValid())
        return;
    // A field that has not drawn the last reading by the next one is hidden or covered: asking
    // where it can be seen costs more than drawing it.
    m_bBehind = !evenIfHidden && m_bAwaitingPaint;
    if (m_bBehind || ReaderWaits())
        return;
    // A field that can be seen draws a new reading before SetReading returns.
    m_bAwaitingPaint = true;
    if (!Fit())
        m_bAwaitingPaint = false;
}

bool CCounterField::ReaderWaits() const {
    // A reader speaks each change of a focused field: a reading a tick would flood it.
    return m_readerListens() && m_sinceShown.isValid() &&
           m_sinceShown.elapsed() < kReaderIntervalMs && !m_strShown.isEmpty();
}

bool CCounterField::eventFilter(QObject* watched, QEvent* event) {
    // The paint that follows shows the reading set here.
    if (watched == m_pField && event->type() == QEvent::Paint) {
        m_bAwaitingPaint = false;
        if (m_bBehind && !ReaderWaits()) {
            m_bBehind = false;
            Fit();
        }
    }
    return QObject::eventFilter(watched, event);
}

bool CCounterField::Fit() {
    // The meter's longest readings ("999.999999 KHz") are wider than the field in most fonts.
    const int room = m_pField->contentsRect().width() - 6;
    const QFont& base = m_pField->parentWidget()->font();
    if (m_shrunk.empty() || base != m_baseFont) {
        m_baseFont = base;
        m_shrunk.clear();
        // Readings are digits and Latin unit letters: shaping them changes nothing but costs
        // most of a new reading's layout.
        QFont plain = base;
        plain.setStyleStrategy(
            QFont::StyleStrategy(plain.styleStrategy() | QFont::PreferNoShaping));
        m_shrunk.push_back({plain, QFontMetrics(plain), TabularDigits(QFontMetrics(plain))});
        m_fitted.clear();
        m_nFontSize = std::size_t(-1);
        m_growing.invalidate();
        m_nGrowTo = 0;
    }
    const std::size_t size = Steady(FittingSize(room));
    // Set by size, not compared: the field's font is resolved against its parent's and would
    // never compare equal, costing a new layout at every reading.
    const bool newFont = size != m_nFontSize;
    if (newFont) {
        m_nFontSize = size;
        m_pField->setFont(m_shrunk[size].font);
    }
    const bool newReading = m_pField->SetReading(m_strText, m_readerListens());
    m_strShown = m_strText;
    m_sinceShown.start();
    return newFont || newReading;
}

std::size_t CCounterField::FittingSize(int room) {
    // A reading's width is measured once per pattern and room: where every digit is as wide
    // as "0", the readings of one pattern are all equally wide. A meter near a decade swaps
    // between two or three patterns, so the few last seen are kept.
    const QString pattern = Pattern(m_strText, m_shrunk[0].bTabular);
    if (room != m_nFittedRoom) {
        m_nFittedRoom = room;
        m_fitted.clear();
    }
    if (const auto known = m_fitted.constFind(pattern);
        !pattern.isEmpty() && known != m_fitted.cend())
        return *known;
    std::size_t size = 0;
    bool tooWide = m_shrunk[0].metrics.horizontalAdvance(m_strText) > room;
    while (tooWide && m_shrunk[size].font.pointSizeF() > 5.0) {
        if (++size == m_shrunk.size()) {
            QFont smaller = m_shrunk[size - 1].font;
            smaller.setPointSizeF(smaller.pointSizeF() - 0.5);
            const QFontMetrics metrics(smaller);
            m_shrunk.push_back({smaller, metrics, TabularDigits(metrics)});
        }
        tooWide = m_shrunk[size].metrics.horizontalAdvance(m_strText) > room;
    }
    // The pattern stands for its readings only if every size tried has tabular digits.
    const bool tabular = std::all_of(m_shrunk.begin(), m_shrunk.begin() + long(size) + 1,
                                     [](const Shrunk& s) { return s.bTabular; });
    if (tabular && !pattern.isEmpty()) {
        if (m_fitted.size() >= kFittedPatterns)
            m_fitted.clear();
        m_fitted.insert(pattern, size);
    }
    return size;
}

std::size_t CCounterField::Steady(std::size_t size) {
    // A larger font comes back only once it has fitted every reading for a while: a meter
    // near a decade would otherwise change the text's size at every tick.
    const bool larger = m_nFontSize != std::size_t(-1) && size < m_nFontSize;
    if (larger && !m_growing.isValid())
        m_growing.start();
    if (larger && m_growing.elapsed() < kGrowAfterMs) {
        m_nGrowTo = std::max(m_nGrowTo, size);
        return m_nFontSize;
    }
    if (larger)
        size = std::max(m_nGrowTo, size);
    m_growing.invalidate();
    m_nGrowTo = 0;
    return size;
}

bool CCounterField::TabularDigits(const QFontMetrics& metrics) {
    const int zero = metrics.horizontalAdvance(QLatin1Char('0'));
    for (char digit = '1'; digit <= '9'; ++digit)
        if (metrics.horizontalAdvance(QLatin1Char(digit)) != zero)
            return false;
    return true;
}

QString CCounterField::Pattern(const QString& text, bool tabular) {
    if (!tabular)
        return QString();
    QString pattern = text;
    for (QChar& ch : pattern)
        if (ch >= QLatin1Char('1') && ch <= QLatin1Char('9'))
            ch = QLatin1Char('0');
    return pattern;
}
