#include "dialogs/DigitalOutDlg.h"

#include "engine/DDSDevice.h"
#include "res/Resource.h"
#include "widgets/PinButton.h"

#include <cstdint>

CDigitalOutDlg::CDigitalOutDlg(CDDSDevice& device, const CLanguageManager& language,
                               QWidget* parent)
    : CPinDlg(device, IDD_DIGITAL_OUT, IDC_GROUP_DIGITAL_OUT, QStringLiteral("O"), kPins, parent) {
    Retext(language);
    const unsigned word = m_device.m_wDigitalOut;
    for (int k = 0; k < kPins; ++k)
        Pin(k)->SetLevel((word >> k) & 1u);
    StartTimer();
}

void CDigitalOutDlg::OnTimer() {
    unsigned word = 0;
    for (int k = 0; k < kPins; ++k)
        word |= (static_cast<unsigned>(Pin(k)->GetLevel()) & 1u) << k;
    m_device.m_wDigitalOut = static_cast<std::uint16_t>(word);
}
