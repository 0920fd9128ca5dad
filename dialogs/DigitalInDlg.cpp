#include "dialogs/DigitalInDlg.h"

#include "dialogs/PinGrid.h"
#include "engine/DDSDevice.h"
#include "i18n/LanguageManager.h"
#include "res/Resource.h"
#include "widgets/PinButton.h"
#include "widgets/WindowTexts.h"

#include <QTimerEvent>

namespace {
constexpr int kTimerInterval = 300; // ms
constexpr int kLineMask = 0x3F;

int InputLines(const CDDSDevice& device) {
    return (device.m_wDigitalIn & 0xFF) & kLineMask;
}
} // namespace

CDigitalInDlg::CDigitalInDlg(CDDSDevice& device, const CLanguageManager& language, QWidget* parent)
    : QDialog(parent), m_device(device) {
    setProperty("ctrlId", IDD_DIGITAL_IN);
    CPinGrid::Build(this, IDC_GROUP_DIGITAL_IN, QStringLiteral("I"), m_pins.data(), kPins);
    Retext(language);
    for (CPinButton* pin : m_pins) {
        pin->m_bEditable = 0;
        pin->setFocusPolicy(Qt::NoFocus);
    }
    ShowLines(InputLines(m_device));
    m_timer.start(kTimerInterval, this);
}

void CDigitalInDlg::Retext(const CLanguageManager& language) {
    CWindowTexts::ApplyToWindow(this, language);
}

void CDigitalInDlg::ShowLines(int lines) {
    for (int k = 0; k < kPins; ++k)
        m_pins[k]->SetLevel((lines >> k) & 1);
}

void CDigitalInDlg::OnTimer() {
    const int lines = InputLines(m_device);
    if (lines == m_nLastShown)
        return;
    m_nLastShown = lines;
    ShowLines(lines);
}

void CDigitalInDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        OnTimer();
    else
        QDialog::timerEvent(event);
}
