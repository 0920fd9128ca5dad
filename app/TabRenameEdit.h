#pragma once
#include <QLineEdit>

/// The in-place editor over a device tab: one line, no frame, hidden while idle. It commits on
/// the release of Enter and on the loss of focus; there is no cancel.
class CTabRenameEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CTabRenameEdit(QWidget* parent);

    int m_nTab = -1; ///< Index of the tab being renamed.

    /// Longest name a device can get.
    static constexpr int kMaxName = 20;

signals:
    void Commit(int tab, const QString& name);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Finish();
};
