#pragma once
#include <QLineEdit>
#include <QPixmap>

#include <array>

/// The read-only edit that shows a reading ten times a second. Unfocused and with nothing
/// selected it draws its frame from a picture kept per size, palette and state, and the reading
/// straight onto it: the edit would lay out its text at every reading and its frame, clip and
/// cursor at every paint. The edit's own text follows the reading once someone can reach it
/// (focus, a click, a context menu, a screen reader); focused or selected, the field is drawn
/// as any edit, so selecting and copying look as they do elsewhere.
class CCounterEdit : public QLineEdit {
public:
    explicit CCounterEdit(QWidget* parent = nullptr);

    /// Shows `reading`: drawn before returning where the field can be seen, or with `asText`
    /// made the edit's text at once and drawn later, as a screen reader needs. Whether the
    /// reading was new.
    bool SetReading(const QString& reading, bool asText);
    /// The reading shown.
    const QString& Reading() const { return m_strReading; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool DrawnAsEdit() const;
    /// Makes the reading the edit's text if it is not yet.
    void TakeReading();
    const QPixmap& Face();
    /// Where the reading's baseline starts, as the edit itself would place it; `overflow`: the
    /// reading is longer than the line.
    QPointF TextOrigin(bool& overflow);
    /// The reading's width from per-character advances: digits, a point and a unit.
    qreal TextWidth();

    /// Where the line of text lies, for the size it was worked out for.
    struct Line {
        QSize size;
        QRect contents;
        qreal baseline = 0.0;
        int nCursor = 0;
    };
    Line m_line;
    QString m_strReading;
    bool m_bTextBehind = false; ///< The edit's text is an older reading.
    QPixmap m_face;
    qint64 m_nFaceKey = 0; ///< The palette the face was drawn with.
    bool m_bFaceActive = false;
    bool m_bFaceEnabled = false;
    /// Advances of the Latin-1 characters in the current font; negative until measured.
    std::array<qreal, 256> m_advances;
};
