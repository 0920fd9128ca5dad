#pragma once
#include <QDialog>

class CLanguageManager;
class QSvgRenderer;

/// The About box: the program's picture with its version and notice lines; releasing the left
/// mouse button anywhere closes it. While the generators are simulated units it says so.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    CAboutDlg(const CLanguageManager& language, QWidget* parent, bool simulated = false);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSvgRenderer* m_pPicture;
    QString m_strNotice;
};
