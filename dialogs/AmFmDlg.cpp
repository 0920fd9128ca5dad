#include "dialogs/AmFmDlg.h"

#include "control/DeviceControl.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/IntegerEntry.h"
#include "res/Resource.h"
#include "widgets/WindowTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CAmFmDlg::CAmFmDlg(CDeviceControl& control, const CLanguageManager& language, QWidget* parent)
    : QDialog(parent), m_control(control), m_language(language),
      m_pFm(new QCheckBox(QStringLiteral("FM"), this)), m_pCarrier(new QLineEdit(this)),
      m_pDeviation(new QLineEdit(this)), m_pDepth(new QLineEdit(this)),
      m_pOk(new QPushButton(QStringLiteral("OK"), this)),
      m_pRefresh(new QPushButton(QStringLiteral("Refresh"), this)) {
    auto* carrierLabel = new QLabel(QStringLiteral("Fo:"), this);
    auto* carrierUnit = new QLabel(QStringLiteral("Hz"), this);
    auto* depthLabel = new QLabel(QStringLiteral("Depth:"), this);
    auto* rangeLabel = new QLabel(QStringLiteral("Range:0.0-1.0"), this);
    auto* deviationLabel = new QLabel(QStringLiteral("Maxim Frequency Offset:"), this);
    auto* deviationUnit = new QLabel(QStringLiteral("Hz"), this);
    setProperty("ctrlId", IDD_AMFM);
    m_pOk->setProperty("ctrlId", IDC_DLG_OK);
    m_pRefresh->setProperty("ctrlId", IDC_AMFM_REFRESH);
    carrierLabel->setProperty("ctrlId", IDC_TXT_AM_CARRIER);
    m_pCarrier->setProperty("ctrlId", IDC_AM_CARRIER);
    depthLabel->setProperty("ctrlId", IDC_TXT_AM_DEPTH);
    m_pDepth->setProperty("ctrlId", IDC_AM_DEPTH);
    rangeLabel->setProperty("ctrlId", IDC_TXT_RANGE);
    m_pFm->setProperty("ctrlId", IDC_FM_CHECK);
    deviationLabel->setProperty("ctrlId", IDC_TXT_FM_DEVIATION);
    m_pDeviation->setProperty("ctrlId", IDC_FM_DEVIATION);
    m_pOk->setDefault(true);
    m_pRefresh->setAutoDefault(false);

    // The long offset label has a row of its own, so the fields above keep their width.
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(carrierLabel, 0, 0);
    grid->addWidget(m_pCarrier, 0, 1);
    grid->addWidget(carrierUnit, 0, 2);
    grid->addWidget(depthLabel, 1, 0);
    grid->addWidget(m_pDepth, 1, 1);
    grid->addWidget(rangeLabel, 1, 2);
    grid->addWidget(m_pFm, 2, 0, 1, 2);
    grid->addWidget(m_pOk, 0, 3);
    grid->addWidget(m_pRefresh, 1, 3);
    grid->setColumnStretch(1, 1);
    auto* deviation = new QHBoxLayout;
    deviation->addWidget(deviationLabel);
    deviation->addWidget(m_pDeviation, 1);
    deviation->addWidget(deviationUnit);
    layout->addLayout(grid);
    layout->addLayout(deviation);

    // Tab goes down the rows as they are laid out, starting at Fo.
    setTabOrder(m_pCarrier, m_pDepth);
    setTabOrder(m_pDepth, m_pFm);
    setTabOrder(m_pFm, m_pDeviation);
    setTabOrder(m_pDeviation, m_pOk);
    setTabOrder(m_pOk, m_pRefresh);
    m_pCarrier->setFocus();

    CWindowTexts::ApplyToWindow(this, language);
    CDialogUnits::Apply(this, CDialogUnits::kWaveDialogPoints, QSize(187, 94));

    const CDeviceControl::Modulation modulation = m_control.GetModulation();
    m_pFm->setChecked(modulation.bFM != 0);
    m_pCarrier->setText(QString::number(modulation.nCarrier));
    m_pDeviation->setText(QString::number(modulation.nDeviation));
    // The stored float widened, as many digits as a double holds: 0.3 reads 0.300000011920929.
    m_pDepth->setText(QString::asprintf("%.15g", double(modulation.fDepth)));

    connect(m_pRefresh, &QPushButton::clicked, this, &CAmFmDlg::Apply);
    connect(m_pOk, &QPushButton::clicked, this, [this] {
        Apply();
        accept();
    });
}

void CAmFmDlg::Apply() {
    CDeviceControl::Modulation modulation = m_control.GetModulation();
    modulation.bFM = m_pFm->isChecked() ? 1 : 0;
    int carrier = 0;
    int deviation = 0;
    double depth = 0.0;
    if (ReadInteger(m_pCarrier, carrier)) {
        modulation.nCarrier = carrier;
        if (ReadInteger(m_pDeviation, deviation)) {
            modulation.nDeviation = deviation;
            if (ReadNumber(m_pDepth, depth))
                modulation.fDepth = static_cast<float>(depth);
        }
    }
    m_control.SetModulation(modulation);
}

bool CAmFmDlg::ReadInteger(QLineEdit* field, int& value) {
    bool ok = false;
    value = field->text().trimmed().toInt(&ok);
    if (!ok)
        Refuse(field, IDS_INTEGER_REQUIRED);
    return ok;
}

bool CAmFmDlg::ReadNumber(QLineEdit* field, double& value) {
    bool ok = false;
    value = field->text().trimmed().toDouble(&ok);
    if (!ok)
        Refuse(field, IDS_NUMBER_REQUIRED);
    return ok;
}

void CAmFmDlg::Refuse(QLineEdit* field, int textId) {
    CIntegerEntry::Warn(this, m_language, textId);
    field->setFocus();
    field->selectAll();
}
