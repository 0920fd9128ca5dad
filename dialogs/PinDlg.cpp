#include "dialogs/PinDlg.h"

#include "dialogs/DialogUnits.h"
#include "res/Resource.h"
#include "widgets/PinButton.h"
#include "widgets/WindowTexts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimerEvent>

namespace {
constexpr int kPinsPerRow = 6;
constexpr int kTimerInterval = 300; // ms
constexpr int kPointSize = 9;
} // namespace

CPinDlg::CPinDlg(CDDSDevice& device, const STemplate& frame, QWidget* parent)
    : QDialog(parent), m_device(device), m_size(frame.size) {
    setProperty("ctrlId", frame.nTemplate);
    auto* group = new QGroupBox(QString::fromLatin1(frame.szGroupTitle), this);
    group->setProperty("ctrlId", frame.nGroup);
    auto* grid = new QGridLayout(group);
    for (int k = 0; k < frame.nPins; ++k) {
        const int row = 2 * (k / kPinsPerRow);
        auto* label = new QLabel(QString::fromLatin1(frame.szPrefix) + QString::number(k), group);
        label->setAlignment(Qt::AlignCenter);
        auto* pin = new CPinButton(group);
        pin->setProperty("pinId", IDC_PIN_FIRST + k);
        pin->setAccessibleName(label->text());
        m_pins.push_back(pin);
        grid->addWidget(label, row, k % kPinsPerRow);
        grid->addWidget(pin, row + 1, k % kPinsPerRow);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setProperty("ctrlId", IDC_DLG_OK);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    // OK beside the group, at its foot: the template is wide and low.
    grid->setVerticalSpacing(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addWidget(ok, 0, Qt::AlignBottom);
}

void CPinDlg::Retext(const CLanguageManager& language) {
    CWindowTexts::ApplyToWindow(this, language);
    // A longer title may need more room.
    CDialogUnits::Apply(this, kPointSize, m_size);
}

void CPinDlg::StartTimer() {
    m_timer.start(kTimerInterval, this);
}

void CPinDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        OnTimer();
    else
        QDialog::timerEvent(event);
}
