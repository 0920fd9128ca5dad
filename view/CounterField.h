#pragma once
#include <QFont>
#include <QFontMetrics>
#include <QObject>
#include <QString>

class QLineEdit;

/// The counter field of the panel: shows each reading in a font shrunk until it fits. The
/// reading changes at every tick of every open device, so the field keeps the metrics of its
/// starting font, and a field hidden behind another window is brought up to date only when it
/// is drawn again.
class CCounterField : public QObject {
public:
    void Attach(QLineEdit* field);
    /// Shows `text` now, or when the field is next drawn if no part of it can be seen.
    void Show(const QString& text, bool evenIfHidden = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fit();

    QLineEdit* m_pField = nullptr;
    QString m_strText;
    bool m_bBehind = false; ///< m_strText waits for the field to be drawn.
    QFont m_baseFont;
    QFontMetrics m_baseMetrics{QFont()};
};
