#include "dialogs/PeriodNumberDlg.h"

#include "dialogs/AccessName.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/IntegerEntry.h"
#include "engine/WaveParameterRules.h"
#include "res/Resource.h"
#include "widgets/SpinButton.h"
#include "widgets/WindowTexts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CPeriodNumberDlg::CPeriodNumberDlg(int number, const CLanguageManager& language, QWidget* parent)
    : QDialog(parent), m_nNumber(number), m_language(language), m_pNumber(new QLineEdit(this)),
      m_pSpin(new CSpinButton(this)) {
    auto* numberLabel = new QLabel(QStringLiteral("Wave Number:"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    setProperty("ctrlId", IDD_PERIOD_NUMBER);
    numberLabel->setProperty("ctrlId", IDC_TXT_PERIOD_NUMBER);
    m_pNumber->setProperty("ctrlId", IDC_PERIOD_NUMBER);
    m_pSpin->setProperty("ctrlId", IDC_SPIN_PERIOD_NUMBER);
    ok->setProperty("ctrlId", IDC_DLG_OK);
    cancel->setProperty("ctrlId", IDC_DLG_CANCEL);
    ok->setDefault(true);
    cancel->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    auto* field = new QHBoxLayout;
    field->setSpacing(1);
    field->addWidget(m_pNumber, 1);
    field->addWidget(m_pSpin);
    layout->addWidget(numberLabel, 0, 0, 2, 1);
    layout->addLayout(field, 0, 1, 2, 1);
    layout->addWidget(ok, 0, 2);
    layout->addWidget(cancel, 1, 2);
    layout->setColumnStretch(1, 1);

    CWindowTexts::ApplyToWindow(this, language);
    CDialogUnits::Apply(this, CDialogUnits::kWaveDialogPoints, QSize(187, 46));
    m_pSpin->setFixedSize(18, m_pNumber->sizeHint().height());
    // The arrows step the number of the field beside them.
    CAccessName::Apply(m_pSpin, 0, CAccessName::Caption(numberLabel->text()), language);

    ShowNumber();
    connect(m_pNumber, &QLineEdit::textChanged, this, &CPeriodNumberDlg::OnNumberChanged);
    connect(m_pSpin, &CSpinButton::DeltaPos, this, &CPeriodNumberDlg::OnSpin);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CPeriodNumberDlg::ShowNumber() {
    m_pNumber->setText(QString::number(m_nNumber));
}

// Text that is no whole number (an empty field and a lone sign too) is refused with a warning
// and keeps the last good number; the field keeps what was typed.
void CPeriodNumberDlg::OnNumberChanged() {
    long long typed = 0;
    if (CIntegerEntry::Read(m_pNumber->text(), typed) != CIntegerEntry::READ_NUMBER) {
        CIntegerEntry::Warn(this, m_language, IDS_INTEGER_REQUIRED);
        return;
    }
    m_nNumber = CWaveParameterRules::ClampPeriodNumber(typed);
    if (QString::number(m_nNumber) != m_pNumber->text())
        ShowNumber();
}

void CPeriodNumberDlg::OnSpin(int delta) {
    m_nNumber = CWaveParameterRules::ClampPeriodNumber(static_cast<long long>(m_nNumber) - delta);
    ShowNumber();
}
