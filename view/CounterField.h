#pragma once
#include <QAccessible>
#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QLineEdit;

/// The counter field of the panel: shows each reading in a font shrunk until it fits. The
/// reading is offered at every tick of every open device, so a reading whose text did not
/// change costs nothing, the field keeps the metrics of its starting font, and a field hidden
/// behind another window is brought up to date only when it is drawn again. While a screen
/// reader listens, the text changes at most once a second, so that each change can be heard.
class CCounterField : public QObject {
public:
    /// Shortest time between two changes of the text while a screen reader listens.
    static constexpr int kReaderIntervalMs = 1000;

    void Attach(QLineEdit* field);
    /// How the field learns whether a screen reader listens (QAccessible::isActive).
    void SetReaderCheck(std::function<bool()> check) { m_readerListens = std::move(check); }
    /// Shows `text` now, or when the field is next drawn if no part of it can be seen.
    void Show(const QString& text, bool evenIfHidden = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fit();

    QLineEdit* m_pField = nullptr;
    QString m_strText;      ///< The newest reading.
    QString m_strShown;     ///< The reading the field holds.
    bool m_bBehind = false; ///< m_strText waits for the field to be drawn.
    QElapsedTimer m_sinceShown;
    std::function<bool()> m_readerListens = &QAccessible::isActive;
    QFont m_baseFont;
    struct Shrunk {
        QFont font;
        QFontMetrics metrics;
    };
    /// The starting font and each half point smaller tried so far, with their metrics.
    std::vector<Shrunk> m_shrunk;
};
