#pragma once
#include <QDialog>

class CDeviceControl;
class CLanguageManager;
class QCheckBox;
class QLineEdit;
class QPushButton;

/// Editor of the modulated wave: carrier, AM depth, FM on/off and largest frequency offset.
/// Unlike the other wave dialogs it applies only on OK or Refresh; Esc stores nothing.
class CAmFmDlg : public QDialog {
    Q_OBJECT

public:
    CAmFmDlg(CDeviceControl& control, const CLanguageManager& language, QWidget* parent = nullptr);

    QCheckBox* FmCheck() const { return m_pFm; }
    QLineEdit* CarrierField() const { return m_pCarrier; }
    QLineEdit* DeviationField() const { return m_pDeviation; }
    QLineEdit* DepthField() const { return m_pDepth; }
    QPushButton* RefreshButton() const { return m_pRefresh; }
    QPushButton* OkButton() const { return m_pOk; }

private:
    /// Stores the controls into the device in the order FM, carrier, offset, depth, and asks
    /// for a download. A field that is not a number stops it there with a warning: what was
    /// read before it is stored, the rest is left as it was.
    void Apply();
    bool ReadInteger(QLineEdit* field, int& value);
    bool ReadNumber(QLineEdit* field, double& value);
    void Refuse(QLineEdit* field, int textId);

    CDeviceControl& m_control;
    const CLanguageManager& m_language;
    QCheckBox* m_pFm;
    QLineEdit* m_pCarrier;
    QLineEdit* m_pDeviation;
    QLineEdit* m_pDepth;
    QPushButton* m_pOk;
    QPushButton* m_pRefresh;
};
