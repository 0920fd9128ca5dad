#include "dialogs/PinDlg.h"

#include "res/Resource.h"
#include "widgets/PinButton.h"
#include "widgets/WindowTexts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace {
constexpr int kPinsPerRow = 6;
constexpr int kTimerInterval = 300; // ms
} // namespace

CPinDlg::CPinDlg(CDDSDevice& device, int templateId, int groupId, const QString& prefix, int pins,
                 QWidget* parent)
    : QDialog(parent), m_device(device) {
    setProperty("ctrlId", templateId);
    setFont(QFont(QStringLiteral("Arial"), 9));
    auto* group = new QGroupBox(this);
    group->setProperty("ctrlId", groupId);
    auto* grid = new QGridLayout(group);
    for (int k = 0; k < pins; ++k) {
        const int row = 2 * (k / kPinsPerRow);
        auto* label = new QLabel(prefix + QString::number(k), group);
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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

void CPinDlg::Retext(const CLanguageManager& language) {
    CWindowTexts::ApplyToWindow(this, language);
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
