#pragma once
#include <QDialog>

#include <functional>

class CDDSDevice;
class CLanguageManager;
class CNumEdit;
class QLineEdit;
class QPushButton;

/// Edits the Arb point table one point at a time: shows a point's index and voltage, steps
/// with Previous and Next, and writes a typed voltage straight into the table. Every index or
/// value change is reported to the owner, whose display cursor follows the dialog.
class CPointsEditDlg : public QDialog {
    Q_OBJECT

public:
    CPointsEditDlg(CDDSDevice& device, int startIndex, std::function<void(int)> cursorUpdate,
                   const CLanguageManager& language, QWidget* parent = nullptr);

    int m_nIndex = 0; ///< Point shown, counted from 0.

    QLineEdit* IndexField() const { return m_pIndex; }
    CNumEdit* VoltField() const { return m_pVolt; }
    QPushButton* PreviousButton() const { return m_pPrevious; }
    QPushButton* NextButton() const { return m_pNext; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CursorUpdate();
    int LastIndex() const;
    float PointValue(int index) const;
    void ShowIndex();
    void ShowVoltage();
    void OnIndexEdited();
    void OnVoltChanged();
    void OnPrevious();
    void OnNext();

    CDDSDevice& m_device;
    const CLanguageManager& m_language;
    std::function<void(int)> m_cursorUpdate;
    QLineEdit* m_pIndex;
    CNumEdit* m_pVolt;
    QPushButton* m_pPrevious;
    QPushButton* m_pNext;
    QPushButton* m_pRefresh;
};
