#pragma once
#include <QAccessible>
#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class CCounterEdit;

/// The counter field of the panel: shows each reading in a font shrunk until it fits, and takes
/// a larger font back once that has fitted every reading for kGrowAfterMs. The reading is
/// offered at every tick of every open device, so a reading whose text did not change costs
/// nothing, a reading is measured once per pattern of digits, and a field that did not draw
/// its last reading (hidden, or behind another window) is brought up to date only when it is
/// drawn again. While a screen reader listens, the text changes at most once a second, so that
/// each change can be heard.
class CCounterField : public QObject {
public:
    /// Shortest time between two changes of the text while a screen reader listens.
    static constexpr int kReaderIntervalMs = 1000;
    /// How long a larger font must have fitted every reading before the field takes it.
    static constexpr int kGrowAfterMs = 1000;

    void Attach(CCounterEdit* field);
    /// How the field learns whether a screen reader listens (QAccessible::isActive).
    void SetReaderCheck(std::function<bool()> check) { m_readerListens = std::move(check); }
    /// Shows `text` now, or when the field is next drawn if no part of it can be seen.
    void Show(const QString& text, bool evenIfHidden = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Shows m_strText in the font that fits it; whether the field was asked to draw.
    bool Fit();
    /// Whether a screen reader is still speaking the last change.
    bool ReaderWaits() const;
    /// Index into m_shrunk of the largest font that fits the reading in `room`.
    std::size_t FittingSize(int room);
    /// The size the field takes for a reading that fits `size`: a larger font only after it
    /// has fitted for kGrowAfterMs.
    std::size_t Steady(std::size_t size);
    /// Whether every digit of the font is as wide as "0".
    static bool TabularDigits(const QFontMetrics& metrics);
    /// The text with each digit as "0" (empty where digits differ in width).
    static QString Pattern(const QString& text, bool tabular);

    CCounterEdit* m_pField = nullptr;
    QString m_strText;             ///< The newest reading.
    QString m_strShown;            ///< The reading the field holds.
    bool m_bBehind = false;        ///< m_strText waits for the field to be drawn.
    bool m_bAwaitingPaint = false; ///< The field has not drawn the last reading set.
    QElapsedTimer m_sinceShown;
    std::function<bool()> m_readerListens = &QAccessible::isActive;
    QFont m_baseFont;
    struct Shrunk {
        QFont font;
        QFontMetrics metrics;
        bool bTabular; ///< Its digits are all equally wide.
    };
    /// The starting font and each half point smaller tried so far, with their metrics.
    std::vector<Shrunk> m_shrunk;
    /// Patterns of readings seen, with the index into m_shrunk that fits each in the room.
    QHash<QString, std::size_t> m_fitted;
    static constexpr qsizetype kFittedPatterns = 16;
    int m_nFittedRoom = -1;                    ///< The room m_fitted was measured for.
    std::size_t m_nFontSize = std::size_t(-1); ///< Index into m_shrunk of the field's font.
    QElapsedTimer m_growing;   ///< Since a larger font first fitted; invalid while none does.
    std::size_t m_nGrowTo = 0; ///< The smallest of the larger fonts that fitted meanwhile.
};
