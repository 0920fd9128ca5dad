#include "dialogs/TrapeziaDlg.h"

#include "control/DeviceControl.h"
#include "dialogs/DialogUnits.h"
#include "res/Resource.h"
#include "widgets/NumEdit.h"
#include "widgets/WindowTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CTrapeziaDlg::CTrapeziaDlg(CDeviceControl& control, const CLanguageManager& language,
                           QWidget* parent)
    : QDialog(parent), m_control(control), m_pRise(new CNumEdit(this)), m_pHigh(new CNumEdit(this)),
      m_pFall(new CNumEdit(this)) {
    auto* riseLabel = new QLabel(QStringLiteral("Raise Duty:"), this);
    auto* highLabel = new QLabel(QStringLiteral("High Duty:"), this);
    auto* fallLabel = new QLabel(QStringLiteral("Fall Duty:"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    setProperty("ctrlId", IDD_TRAPEZIA);
    riseLabel->setProperty("ctrlId", IDC_TXT_TRAP_RISE);
    highLabel->setProperty("ctrlId", IDC_TXT_TRAP_HIGH);
    fallLabel->setProperty("ctrlId", IDC_TXT_TRAP_FALL);
    m_pRise->setProperty("ctrlId", IDC_TRAP_RISE);
    m_pHigh->setProperty("ctrlId", IDC_TRAP_HIGH);
    m_pFall->setProperty("ctrlId", IDC_TRAP_FALL);
    ok->setProperty("ctrlId", IDC_DLG_OK);
    ok->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(riseLabel, 0, 0);
    layout->addWidget(m_pRise, 0, 1);
    layout->addWidget(highLabel, 1, 0);
    layout->addWidget(m_pHigh, 1, 1);
    layout->addWidget(fallLabel, 2, 0);
    layout->addWidget(m_pFall, 2, 1);
    layout->addWidget(ok, 0, 2);

    CWindowTexts::ApplyToWindow(this, language);
    CDialogUnits::Apply(this, CDialogUnits::kWaveDialogPoints, QSize(175, 55));

    using Rules = CWaveParameterRules;
    connect(m_pRise, &QLineEdit::textChanged, this, [this] { OnPartChanged(Rules::TRAP_RISE); });
    connect(m_pHigh, &QLineEdit::textChanged, this, [this] { OnPartChanged(Rules::TRAP_HIGH); });
    connect(m_pFall, &QLineEdit::textChanged, this, [this] { OnPartChanged(Rules::TRAP_FALL); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Each part is limited by those shown before it, so the order decides what gives way.
    const std::array<float, 3> parts = m_control.TrapeziaParts();
    m_pFall->SetValue(parts[CWaveParameterRules::TRAP_FALL], true);
    m_pHigh->SetValue(parts[CWaveParameterRules::TRAP_HIGH], true);
    m_pRise->SetValue(parts[CWaveParameterRules::TRAP_RISE], true);
}

CNumEdit* CTrapeziaDlg::Field(CWaveParameterRules::TrapeziaPart part) const {
    switch (part) {
    case CWaveParameterRules::TRAP_RISE:
        return m_pRise;
    case CWaveParameterRules::TRAP_HIGH:
        return m_pHigh;
    case CWaveParameterRules::TRAP_FALL:
        break;
    }
    return m_pFall;
}

// The limited value stays in the field while its text keeps what was typed; the field shows
// the limited value when it loses the focus. The limit counts the parts as the fields hold
// them, so a part not shown yet counts as 0.
void CTrapeziaDlg::OnPartChanged(CWaveParameterRules::TrapeziaPart part) {
    CNumEdit* field = Field(part);
    field->ParseText();
    field->SetValue(
        m_control.SetTrapezia(part, field->GetValue(),
                              {m_pRise->GetValue(), m_pHigh->GetValue(), m_pFall->GetValue()}),
        false);
}
