#include "widgets/CounterEdit.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>

namespace {
// The edit's own margins round its line of text.
constexpr int kHorizontalMargin = 2;
} // namespace

CCounterEdit::CCounterEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
    // The field draws its whole face: a new reading need not draw the panel beneath it too.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_advances.fill(-1.0);
}

bool CCounterEdit::SetReading(const QString& reading, bool asText) {
    if (reading == m_strReading) {
        if (asText)
            TakeReading(); // a screen reader that has just come hears the reading shown
        return false;
    }
    m_strReading = reading;
    m_bTextBehind = true;
    if (asText || DrawnAsEdit())
        TakeReading();
    else
        repaint(); // now: a posted update would cost the event loop another round
    return true;
}

void CCounterEdit::TakeReading() {
    if (!m_bTextBehind)
        return;
    m_bTextBehind = false;
    setText(m_strReading);
}

void CCounterEdit::focusInEvent(QFocusEvent* event) {
    TakeReading();
    QLineEdit::focusInEvent(event);
}

void CCounterEdit::mousePressEvent(QMouseEvent* event) {
    TakeReading();
    QLineEdit::mousePressEvent(event);
}

void CCounterEdit::contextMenuEvent(QContextMenuEvent* event) {
    TakeReading();
    QLineEdit::contextMenuEvent(event);
}

bool CCounterEdit::DrawnAsEdit() const {
    return hasFocus() || hasSelectedText() || !isReadOnly() ||
           layoutDirection() != Qt::LeftToRight || alignment() != Qt::AlignCenter;
}

void CCounterEdit::paintEvent(QPaintEvent* event) {
    if (DrawnAsEdit()) {
        TakeReading();
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, Face());
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    bool overflow = false;
    const QPointF origin = TextOrigin(overflow);
    if (overflow)
        painter.setClipRect(m_line.contents);
    painter.drawText(origin, m_strReading);
}

void CCounterEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        m_advances.fill(-1.0);
        m_line.size = QSize();
    }
    if (event->type() == QEvent::StyleChange) {
        m_face = QPixmap();
        m_line.size = QSize();
    }
    QLineEdit::changeEvent(event);
}

QPointF CCounterEdit::TextOrigin(bool& overflow) {
    // What does not depend on the text is worked out once per size, font and style.
    if (m_line.size != size()) {
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        m_line.size = size();
        m_line.contents =
            style()->subElementRect(QStyle::SE_LineEditContents, &panel, this) - textMargins();
        m_line.nCursor = style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this);
        const QFontMetricsF metrics(font());
        m_line.baseline = m_line.contents.y() +
                          std::floor((m_line.contents.height() - metrics.height() + 1) / 2.0) +
                          metrics.ascent();
    }
    // Centred as the edit centres a line that fits: half the room left of the line's width,
    // which counts one pixel after the text and the cursor's width. A longer line shows its
    // end, where the edit's cursor stands.
    const qreal line = m_line.contents.width() - 2 * kHorizontalMargin;
    const qreal width = qRound(TextWidth());
    const qreal used = width + 1 + m_line.nCursor;
    overflow = used > line;
    const qreal scroll = overflow ? width - line + 1 : std::trunc((used - line) / 2.0);
    return {m_line.contents.x() + kHorizontalMargin - scroll, m_line.baseline};
}

const QPixmap& CCounterEdit::Face() {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_face.size() != pixels || m_face.devicePixelRatio() != ratio ||
        m_nFaceKey != palette().cacheKey() || m_bFaceActive != isActiveWindow() ||
        m_bFaceEnabled != isEnabled()) {
        m_face = QPixmap(pixels);
        m_face.setDevicePixelRatio(ratio);
        // The corners outside a rounded frame show the panel.
        m_face.fill(palette().color(QPalette::Window));
        QPainter painter(&m_face);
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        panel.state &= ~QStyle::State_HasFocus;
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
        m_nFaceKey = palette().cacheKey();
        m_bFaceActive = isActiveWindow();
        m_bFaceEnabled = isEnabled();
    }
    return m_face;
}

qreal CCounterEdit::TextWidth() {
    qreal width = 0.0;
    for (const QChar ch : m_strReading) {
        if (ch.unicode() > 0xFF)
            return QFontMetricsF(font()).horizontalAdvance(m_strReading);
        qreal& advance = m_advances[ch.unicode()];
        if (advance < 0.0)
            advance = QFontMetricsF(font()).horizontalAdvance(ch);
        width += advance;
    }
    return width;
}
