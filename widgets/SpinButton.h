#pragma once
#include <QWidget>

class QToolButton;

/// Up/down arrow pair beside a numeric field. Like the classic spin control it reports a delta
/// of -1 for the up arrow and +1 for the down arrow; the owner steps its field by -delta.
/// An arrow steps when pressed and again at the auto-repeat rate while it is held.
class CSpinButton : public QWidget {
    Q_OBJECT

public:
    explicit CSpinButton(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return m_pUp; }
    QToolButton* DownButton() const { return m_pDown; }

signals:
    void DeltaPos(int delta);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QToolButton* m_pUp;
    QToolButton* m_pDown;
};
