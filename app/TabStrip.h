#pragma once
#include <QTabBar>

class CTabRenameEdit;

/// The device tab strip on the second toolbar: one tab per open device, in device-list order.
/// Selection, the context menu and renaming are reported to the main frame by signals.
class CTabStrip : public QTabBar {
    Q_OBJECT

public:
    explicit CTabStrip(QWidget* parent);

    CTabRenameEdit* RenameEdit() const { return m_pRenameEdit; }
    /// Opens the rename edit over tab i, filled with text and all of it selected.
    void StartRename(int i, const QString& text);
    /// Changes the selection without reporting it as the user's choice.
    void SelectQuietly(int i);

signals:
    void TabChosen(int index);      ///< A click or an arrow key selected a tab.
    void MenuRequested(QPoint pos); ///< Global position for the tab menu.
    void RenameRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CTabRenameEdit* m_pRenameEdit;
    bool m_bQuiet = false;
};
