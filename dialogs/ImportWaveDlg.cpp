#include "dialogs/ImportWaveDlg.h"

#include "control/DeviceControl.h"
#include "dialogs/IntegerEntry.h"
#include "i18n/LanguageManager.h"
#include "media/WaveResampler.h"
#include "res/Resource.h"
#include "widgets/CurvePreview.h"
#include "widgets/WindowTexts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

CImportWaveDlg::CImportWaveDlg(CWaveImport::Source source, double amplitude, double frequency,
                               const CLanguageManager& language, QWidget* parent)
    : QDialog(parent), m_language(language), m_source(std::move(source)), m_dAmplitude(amplitude),
      m_pPreview(new CCurvePreview(this)), m_pPoints(new QLineEdit(this)),
      m_pKeep(new QRadioButton(QStringLiteral("Keep volts"), this)),
      m_pFit(new QRadioButton(QStringLiteral("Fit to the amplitude"), this)),
      m_pClipped(new QLabel(this)), m_pFrequency(new QLabel(this)),
      m_pApply(new QPushButton(QStringLiteral("Apply"), this)) {
    const auto text = [&](int id) { return QString::fromUtf8(language.GetText(id).c_str()); };
    const double count = double(m_source.values.size());
    // The whole file is one period; without times the device keeps its frequency.
    m_dFrequency = CDeviceControl::ClampFrequency(
        m_source.dSampleRate > 0.0 ? m_source.dSampleRate / count : frequency, WAVE_ARB);
    m_nPoints = CWaveResampler::DefaultPoints(m_source.values.size());

    auto* samplesLabel = new QLabel(QStringLiteral("Samples in file:"), this);
    auto* samples = new QLabel(this);
    samples->setText(m_source.dSampleRate > 0.0
                         ? text(IDS_IMPORT_SAMPLES_AT)
                               .arg(m_source.values.size())
                               .arg(m_source.dSampleRate, 0, 'g', 9)
                         : text(IDS_IMPORT_SAMPLES).arg(m_source.values.size()));
    auto* pointsLabel = new QLabel(QStringLiteral("Table points:"), this);
    auto* clippedLabel = new QLabel(QStringLiteral("Points clipped at +/-3.5 V:"), this);
    auto* frequencyLabel = new QLabel(QStringLiteral("Frequency:"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    setProperty("ctrlId", IDD_IMPORT_WAVEFORM);
    m_pPreview->setProperty("ctrlId", IDC_IMPORT_PREVIEW);
    samplesLabel->setProperty("ctrlId", IDC_TXT_IMPORT_SAMPLES);
    samples->setProperty("ctrlId", IDC_IMPORT_SAMPLES);
    pointsLabel->setProperty("ctrlId", IDC_TXT_IMPORT_POINTS);
    m_pPoints->setProperty("ctrlId", IDC_IMPORT_POINTS);
    m_pKeep->setProperty("ctrlId", IDC_IMPORT_KEEP_VOLTS);
    m_pFit->setProperty("ctrlId", IDC_IMPORT_FIT);
    clippedLabel->setProperty("ctrlId", IDC_TXT_IMPORT_CLIPPED);
    m_pClipped->setProperty("ctrlId", IDC_IMPORT_CLIPPED);
    frequencyLabel->setProperty("ctrlId", IDC_TXT_IMPORT_FREQUENCY);
    m_pFrequency->setProperty("ctrlId", IDC_IMPORT_FREQUENCY);
    m_pApply->setProperty("ctrlId", IDC_IMPORT_APPLY);
    cancel->setProperty("ctrlId", IDC_IMPORT_CANCEL);

    auto* scaling = new QButtonGroup(this);
    scaling->addButton(m_pKeep, CWaveResampler::SCALE_KEEP_VOLTS);
    scaling->addButton(m_pFit, CWaveResampler::SCALE_FIT_AMPLITUDE);
    m_pKeep->setChecked(true);
    // Enter in the points field resamples; only the button applies.
    m_pApply->setAutoDefault(false);
    cancel->setAutoDefault(false);
    m_pPoints->setText(QString::number(m_nPoints));

    auto* grid = new QGridLayout;
    grid->addWidget(samplesLabel, 0, 0);
    grid->addWidget(samples, 0, 1, 1, 2);
    grid->addWidget(pointsLabel, 1, 0);
    grid->addWidget(m_pPoints, 1, 1);
    grid->addWidget(m_pKeep, 2, 0);
    grid->addWidget(m_pFit, 2, 1, 1, 2);
    grid->addWidget(clippedLabel, 3, 0);
    grid->addWidget(m_pClipped, 3, 1);
    grid->addWidget(frequencyLabel, 4, 0);
    grid->addWidget(m_pFrequency, 4, 1);
    grid->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pApply);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pPreview, 1);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    CWindowTexts::ApplyToWindow(this, language);
    setWindowTitle(text(IDD_IMPORT_WAVEFORM));

    connect(m_pPoints, &QLineEdit::editingFinished, this, [this] { ReadPoints(); });
    connect(scaling, &QButtonGroup::idClicked, this, [this](int id) {
        m_nScaling = id;
        ShowTable();
    });
    connect(m_pApply, &QPushButton::clicked, this, &CImportWaveDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CImportWaveDlg::reject);
    Resample();
}

bool CImportWaveDlg::ReadPoints() {
    int points = m_nPoints;
    if (!CIntegerEntry::ReadField(this, m_pPoints, 1, CWaveResampler::kMaxPoints, m_language,
                                  points))
        return false;
    if (points != m_nPoints) {
        m_nPoints = points;
        Resample();
    }
    return true;
}

void CImportWaveDlg::Resample() {
    std::string error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = CWaveResampler::Resample(m_source.values, m_nPoints, m_table, error);
    QApplication::restoreOverrideCursor();
    if (!done) {
        m_table.clear();
        QMessageBox::warning(this, QStringLiteral("DDS-Tarn USB"), QString::fromStdString(error));
    }
    ShowTable();
}

void CImportWaveDlg::ShowTable() {
    // The curve as scaled but before the limits, so what they clip shows in red.
    std::vector<float> curve = CWaveResampler::Scale(m_table, m_nScaling, m_dAmplitude, false);
    m_pPreview->SetCurve(std::move(curve), CWaveResampler::kOutputLimit);
    m_pClipped->setText(QString::number(Clipped()));
    m_pFrequency->setText(QStringLiteral("%1 Hz").arg(m_dFrequency, 0, 'f', 3));
    m_pApply->setEnabled(!m_table.empty());
}

int CImportWaveDlg::Clipped() const {
    return CWaveResampler::CountClipped(m_table, m_nScaling, m_dAmplitude);
}

std::vector<float> CImportWaveDlg::Points() const {
    return CWaveResampler::Scale(m_table, m_nScaling, m_dAmplitude);
}

void CImportWaveDlg::accept() {
    // A number typed but not yet confirmed is what the user sees, so it is what is applied.
    if (ReadPoints() && !m_table.empty())
        QDialog::accept();
}
