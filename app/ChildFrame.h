#pragma once
#include <QMdiSubWindow>

class CMultiDDSTarnDoc;

/// A device window inside the main frame: opens maximised, shows its own window buttons only
/// while restored, and closing it closes its device.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    CChildFrame(CMultiDDSTarnDoc* doc, QWidget* view);

    CMultiDDSTarnDoc* m_pDocument; ///< Cleared by the document when it closes the frame.

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateSystemMenu();
};
