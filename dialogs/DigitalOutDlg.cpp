#include "dialogs/DigitalOutDlg.h"

#include "dialogs/PinGrid.h"
#include "engine/DDSDevice.h"
#include "i18n/LanguageManager.h"
#include "res/Resource.h"
#include "widgets/PinButton.h"
#include "widgets/WindowTexts.h"

#include <QTimerEvent>

#include <cstdint>

namespace {
constexpr int kTimerInterval = 300; // ms
}

CDigitalOutDlg::CDigitalOutDlg(CDDSDevice& device, const CLanguageManager& language,
                               QWidget* parent)
    : QDialog(parent), m_device(device) {
    setProperty("ctrlId", IDD_DIGITAL_OUT);
    CPinGrid::Build(this, IDC_GROUP_DIGITAL_OUT, QStringLiteral("O"), m_pins.data(), kPins);
    Retext(language);
    const unsigned word = m_device.m_wDigitalOut;
    for (int k = 0; k < kPins; ++k)
        m_pins[k]->SetLevel((word >> k) & 1u);
    m_timer.start(kTimerInterval, this);
}

void CDigitalOutDlg::Retext(const CLanguageManager& language) {
    CWindowTexts::ApplyToWindow(this, language);
}

void CDigitalOutDlg::OnTimer() {
    unsigned word = 0;
    for (int k = 0; k < kPins; ++k)
        word |= (static_cast<unsigned>(m_pins[k]->GetLevel()) & 1u) << k;
    m_device.m_wDigitalOut = static_cast<std::uint16_t>(word);
}

void CDigitalOutDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        OnTimer();
    else
        QDialog::timerEvent(event);
}
