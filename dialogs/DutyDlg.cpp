#include "dialogs/DutyDlg.h"

#include "dialogs/AccessName.h"
#include "dialogs/DialogUnits.h"
#include "engine/WaveParameterRules.h"
#include "res/Resource.h"
#include "widgets/NumEdit.h"
#include "widgets/TurnButton.h"
#include "widgets/WindowTexts.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>

namespace {
constexpr int kKnobSide = 64;
}

CDutyDlg::CDutyDlg(CDeviceControl& control, int waveType, const Ids& ids,
                   const CLanguageManager& language, QWidget* parent)
    : QDialog(parent), m_control(control), m_nWaveType(waveType), m_pDuty(new CNumEdit(this)),
      m_pKnob(new CTurnButton(this)) {
    auto* dutyLabel = new QLabel(QStringLiteral("Duty:"), this);
    auto* rangeLabel = new QLabel(QString::fromLatin1(ids.szRange), this);
    setProperty("ctrlId", ids.nTemplate);
    dutyLabel->setProperty("ctrlId", IDC_TXT_DUTY);
    rangeLabel->setProperty("ctrlId", IDC_TXT_RANGE);
    m_pDuty->setProperty("ctrlId", ids.nDuty);
    m_pKnob->setProperty("ctrlId", ids.nKnob);

    // A wrapping knob would read its full turn as 0: duty 1.0 must stay 1.0.
    m_pKnob->SetWrapping(false);
    m_pKnob->setFixedSize(kKnobSide, kKnobSide);

    auto* layout = new QGridLayout(this);
    layout->addWidget(dutyLabel, 0, 0);
    layout->addWidget(m_pDuty, 0, 1);
    layout->addWidget(rangeLabel, 1, 1);
    layout->addWidget(m_pKnob, 0, 2, 2, 1);
    layout->setColumnStretch(1, 1);

    CWindowTexts::ApplyToWindow(this, language);
    CDialogUnits::Apply(this, CDialogUnits::kWaveDialogPoints, ids.size);
    // The knob turns the duty of the field beside it.
    CAccessName::Apply(m_pKnob, IDS_ACCESS_KNOB, CAccessName::Caption(dutyLabel->text()), language);

    connect(m_pDuty, &QLineEdit::textChanged, this, &CDutyDlg::OnDutyChanged);
    for (auto signal : {&CTurnButton::MouseDown, &CTurnButton::MouseMove, &CTurnButton::MouseUp})
        connect(m_pKnob, signal, this, &CDutyDlg::OnKnobTurned);

    m_pDuty->SetValue(m_control.GetDuty(m_nWaveType), true);
}

void CDutyDlg::OnDutyChanged() {
    m_pDuty->ParseText();
    const float duty = m_control.SetDuty(m_nWaveType, m_pDuty->GetValue());
    m_pKnob->SetValue(CWaveParameterRules::DutyToKnob(duty));
}

// Showing the duty runs the change path, so the device gets the shown, rounded duty.
void CDutyDlg::OnKnobTurned() {
    m_pDuty->SetValue(CWaveParameterRules::KnobToDuty(m_pKnob->GetValue()), true);
}

void CDutyDlg::keyPressEvent(QKeyEvent* event) {
    // There is no OK button: Enter closes, like Esc, keeping what was applied.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
