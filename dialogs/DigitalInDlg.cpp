#include "dialogs/DigitalInDlg.h"

#include "engine/DDSDevice.h"
#include "res/Resource.h"
#include "widgets/PinButton.h"

namespace {
constexpr int kLineMask = 0x3F;

int InputLines(const CDDSDevice& device) {
    return (device.m_wDigitalIn & 0xFF) & kLineMask;
}
} // namespace

CDigitalInDlg::CDigitalInDlg(CDDSDevice& device, const CLanguageManager& language, QWidget* parent)
    : CPinDlg(device,
              {IDD_DIGITAL_IN, IDC_GROUP_DIGITAL_IN, "Digital In Pin", "I", kPins, QSize(187, 64)},
              parent) {
    Retext(language);
    for (CPinButton* pin : m_pins) {
        pin->m_bEditable = 0;
        pin->setFocusPolicy(Qt::NoFocus);
    }
    ShowLines(InputLines(m_device));
    StartTimer();
}

void CDigitalInDlg::ShowLines(int lines) {
    for (int k = 0; k < kPins; ++k)
        Pin(k)->SetLevel((lines >> k) & 1);
}

void CDigitalInDlg::OnTimer() {
    const int lines = InputLines(m_device);
    if (lines == m_nLastShown)
        return;
    m_nLastShown = lines;
    ShowLines(lines);
}
