#include "dialogs/ExportWaveDlg.h"

#include "dialogs/IntegerEntry.h"
#include "engine/DDSDevice.h"
#include "i18n/LanguageManager.h"
#include "media/WaveExport.h"
#include "res/Resource.h"
#include "widgets/NumEdit.h"
#include "widgets/WindowTexts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

CExportWaveDlg::Last CExportWaveDlg::s_last;

CExportWaveDlg::CExportWaveDlg(const CDDSDevice& device, const CLanguageManager& language,
                               QWidget* parent)
    : QDialog(parent), m_device(device), m_language(language),
      m_pWav(new QRadioButton(QStringLiteral("WAV sound file"), this)),
      m_pCsv(new QRadioButton(QStringLiteral("CSV file (time, volts)"), this)),
      m_pPeriods(new QLineEdit(this)), m_pRate(new CNumEdit(this)), m_pSamples(new QLabel(this)),
      m_pSave(new QPushButton(QStringLiteral("Save..."), this)), m_pLimit(new QLabel(this)) {
    auto* periodsLabel = new QLabel(QStringLiteral("Periods:"), this);
    auto* rateLabel = new QLabel(QStringLiteral("Sample rate (Hz):"), this);
    auto* samplesLabel = new QLabel(QStringLiteral("Samples:"), this);
    QPushButton* save = m_pSave;
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    setProperty("ctrlId", IDD_EXPORT_WAVEFORM);
    m_pWav->setProperty("ctrlId", IDC_EXPORT_WAV);
    m_pCsv->setProperty("ctrlId", IDC_EXPORT_CSV);
    periodsLabel->setProperty("ctrlId", IDC_TXT_EXPORT_PERIODS);
    m_pPeriods->setProperty("ctrlId", IDC_EXPORT_PERIODS);
    rateLabel->setProperty("ctrlId", IDC_TXT_EXPORT_RATE);
    m_pRate->setProperty("ctrlId", IDC_EXPORT_RATE);
    samplesLabel->setProperty("ctrlId", IDC_TXT_EXPORT_SAMPLES);
    m_pSamples->setProperty("ctrlId", IDC_EXPORT_SAMPLES);
    save->setProperty("ctrlId", IDC_EXPORT_SAVE);
    cancel->setProperty("ctrlId", IDC_EXPORT_CANCEL);

    auto* format = new QButtonGroup(this);
    format->addButton(m_pWav, CWaveExport::FORMAT_WAV);
    format->addButton(m_pCsv, CWaveExport::FORMAT_CSV);
    m_pRate->m_fMin = static_cast<float>(CWaveExport::kMinSampleRate);
    m_pRate->m_fMax = static_cast<float>(CWaveExport::kMaxSampleRate);
    m_pRate->m_nDecimals = 0;
    m_dSampleRate = CWaveExport::DefaultSampleRate(device);
    // The choices of the last export saved in this run, the device's own rate the first time.
    if (s_last.bValid) {
        m_nFormat = s_last.nFormat;
        m_nPeriods = s_last.nPeriods;
        m_dSampleRate = s_last.dSampleRate;
    }
    (m_nFormat == CWaveExport::FORMAT_CSV ? m_pCsv : m_pWav)->setChecked(true);
    m_pRate->SetValue(static_cast<float>(m_dSampleRate), true);
    m_pPeriods->setText(QString::number(m_nPeriods));
    save->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(m_pWav, 0, 0, 1, 2);
    grid->addWidget(m_pCsv, 1, 0, 1, 2);
    grid->addWidget(periodsLabel, 2, 0);
    grid->addWidget(m_pPeriods, 2, 1);
    grid->addWidget(rateLabel, 3, 0);
    grid->addWidget(m_pRate, 3, 1);
    grid->addWidget(samplesLabel, 4, 0);
    grid->addWidget(m_pSamples, 4, 1);
    auto* buttons = new QHBoxLayout;
    m_pLimit->setObjectName(QStringLiteral("exportLimit"));
    buttons->addWidget(m_pLimit, 1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    CWindowTexts::ApplyToWindow(this, language);
    setWindowTitle(QString::fromUtf8(language.GetText(IDD_EXPORT_WAVEFORM).c_str()));

    connect(format, &QButtonGroup::idClicked, this, [this](int id) { m_nFormat = id; });
    connect(m_pPeriods, &QLineEdit::editingFinished, this, [this] { ReadPeriods(); });
    // The count follows each key; text that is no number yet leaves it as it was.
    connect(m_pPeriods, &QLineEdit::textChanged, this, [this](const QString& text) {
        long long periods = 0;
        if (CIntegerEntry::Read(text, periods) == CIntegerEntry::READ_NUMBER) {
            m_nPeriods = int(std::clamp<long long>(periods, 1, CWaveExport::kMaxPeriods));
            ShowSamples();
        }
    });
    connect(m_pRate, &QLineEdit::textChanged, this, [this] {
        m_pRate->ParseText();
        m_dSampleRate = m_pRate->GetValue();
        ShowSamples();
    });
    connect(save, &QPushButton::clicked, this, &CExportWaveDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CExportWaveDlg::reject);
    ShowSamples();
}

bool CExportWaveDlg::ReadPeriods() {
    if (!CIntegerEntry::ReadField(this, m_pPeriods, 1, CWaveExport::kMaxPeriods, m_language,
                                  m_nPeriods))
        return false;
    ShowSamples();
    return true;
}

void CExportWaveDlg::ShowSamples() {
    const double count = CWaveExport::SampleCount(m_device, m_nPeriods, m_dSampleRate);
    m_pSamples->setText(QString::number(count, 'f', 0));
    const bool fits = count <= double(CWaveExport::kMaxSamples);
    m_pSave->setEnabled(fits);
    QString reason;
    if (!fits) {
        reason = QString::fromUtf8(m_language.GetText(IDS_EXPORT_TOO_MANY).c_str());
        if (reason.isEmpty())
            reason = QStringLiteral("More than %1 samples: choose fewer periods or a lower rate.");
        reason = reason.arg(CWaveExport::kMaxSamples);
    }
    m_pLimit->setText(reason);
}

void CExportWaveDlg::accept() {
    if (!ReadPeriods() || !m_pSave->isEnabled())
        return;
    s_last = {true, m_nFormat, m_nPeriods, m_dSampleRate};
    QDialog::accept();
}
