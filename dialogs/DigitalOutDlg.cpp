#include "dialogs/DigitalOutDlg.h"

#include "control/DeviceControl.h"
#include "res/Resource.h"
#include "widgets/PinButton.h"

CDigitalOutDlg::CDigitalOutDlg(CDeviceControl& control, const CLanguageManager& language,
                               QWidget* parent)
    : CPinDlg(
          control.Device(),
          {IDD_DIGITAL_OUT, IDC_GROUP_DIGITAL_OUT, "Digital Out Pin", "O", kPins, QSize(187, 79)},
          parent),
      m_control(control) {
    Retext(language);
    const unsigned word = m_control.GetDigitalOut();
    for (int k = 0; k < kPins; ++k)
        Pin(k)->SetLevel((word >> k) & 1u);
    StartTimer();
}

void CDigitalOutDlg::OnTimer() {
    unsigned word = 0;
    for (int k = 0; k < kPins; ++k)
        word |= (static_cast<unsigned>(Pin(k)->GetLevel()) & 1u) << k;
    m_control.SetDigitalOut(word);
}
