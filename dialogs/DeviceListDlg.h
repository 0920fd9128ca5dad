#pragma once
#include <QDialog>

#include <vector>

class CLanguageManager;
class QKeyEvent;
class QPushButton;
class QTreeWidget;

/// Lets the user pick which of several free generators a new device window drives. Rows show
/// the generators numbered from 1; OK, Enter or a double click takes the selected row (row 0
/// when none is selected), Esc or the close box leaves the choice to the caller's default. Offered
/// units of the simulated bank say so in a second column.
class CDeviceListDlg : public QDialog {
    Q_OBJECT

public:
    /// At most this many generators are offered.
    static constexpr int kMaxDevices = 20;

    CDeviceListDlg(const std::vector<int>& offered, const CLanguageManager& language,
                   QWidget* parent = nullptr, bool simulated = false);

    /// The offered index of the chosen row; 0 until the dialog sets it.
    int m_nResult = 0;

    QTreeWidget* List() const { return m_pList; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnOk();

    std::vector<int> m_offered;
    QTreeWidget* m_pList;
    QPushButton* m_pOk;
};
