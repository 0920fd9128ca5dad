#pragma once
#include "dialogs/PinDlg.h"

class CDeviceControl;

/// Sets the twelve digital output lines by hand. Once created it keeps writing its boxes into
/// the device's output word every 300 ms, shown or hidden; OK and the close box only hide it.
class CDigitalOutDlg : public CPinDlg {
    Q_OBJECT

public:
    static constexpr int kPins = 12;

    CDigitalOutDlg(CDeviceControl& control, const CLanguageManager& language,
                   QWidget* parent = nullptr);

    /// The boxes become the output word (lines 12 to 15 low).
    void OnTimer() override;

private:
    CDeviceControl& m_control;
};
