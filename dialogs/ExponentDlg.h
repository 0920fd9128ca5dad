#pragma once
#include <QDialog>

class CDeviceControl;
class CLanguageManager;
class CNumEdit;
class QCheckBox;
class QLabel;
class QPixmap;

/// Live editor of the exponential wave: rising or falling, and its time constant in seconds.
/// Every change is stored in the device at once and downloaded; OK and Cancel keep it.
class CExponentDlg : public QDialog {
    Q_OBJECT

public:
    CExponentDlg(CDeviceControl& control, const CLanguageManager& language,
                 QWidget* parent = nullptr);

    QCheckBox* RiseCheck() const { return m_pRise; }
    CNumEdit* TauField() const { return m_pTau; }

    /// The small curve beside the field, rising or falling like the wave.
    static QPixmap CurvePicture(bool rising, qreal ratio = 1.0);

private:
    void OnRiseClicked();
    void OnTauChanged();

    CDeviceControl& m_control;
    QCheckBox* m_pRise;
    CNumEdit* m_pTau;
    QLabel* m_pPicture;
};
