#pragma once
#include <QPushButton>

/// The level of one digital line as a box: "L" in black in a sunken edge, or "H" in red in a
/// raised edge. An editable box toggles its level when the left button is released over it.
class CPinButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(int Level READ GetLevel WRITE SetLevel)

public:
    explicit CPinButton(QWidget* parent = nullptr);

    /// 1 (default): a click toggles the level; 0: the box only shows it.
    int m_bEditable = 1;

    int GetLevel() const { return m_nLevel; }
    /// Stores the level and refreshes the box.
    void SetLevel(int level);
    /// Text "H" or "L" and check state from the level, then a repaint.
    void Refresh();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// The level alone decides the check state, never a click.
    void nextCheckState() override {}

private:
    int m_nLevel = 0;
};
