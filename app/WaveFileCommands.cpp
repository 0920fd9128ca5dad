#include "app/WaveFileCommands.h"

#include "app/DialogFolder.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnDoc.h"
#include "control/DeviceControl.h"
#include "dialogs/ExportWaveDlg.h"
#include "dialogs/ImportWaveDlg.h"
#include "engine/DDSDevice.h"
#include "formats/CsvFile.h"
#include "i18n/LanguageManager.h"
#include "media/WaveExport.h"
#include "media/WaveImport.h"
#include "media/WaveResampler.h"
#include "res/Resource.h"

#include <QFileDialog>
#include <QMessageBox>

#include <chrono>

namespace {

QString Text(const CLanguageManager& language, int id) {
    return QString::fromUtf8(language.GetText(id).c_str());
}

bool Warn(const CMultiDDSTarnDoc& doc, const std::string& message) {
    QMessageBox::warning(doc.DialogParent(), QStringLiteral("DDS-Tarn USB"),
                         QString::fromLocal8Bit(message.c_str()));
    return false;
}

QString AskPath(const CMultiDDSTarnDoc& doc, const CLanguageManager& language, bool save,
                int format) {
    QFileDialog dialog(doc.DialogParent(),
                       Text(language, save ? IDS_EXPORT_TITLE : IDS_IMPORT_TITLE));
    const bool csv = format == CWaveExport::FORMAT_CSV;
    const QString filter =
        save ? (csv ? Text(language, IDS_EXPORT_CSV_FILTER) + QStringLiteral(" (*.csv)")
                    : Text(language, IDS_EXPORT_WAV_FILTER) + QStringLiteral(" (*.wav)"))
             : Text(language, IDS_IMPORT_FILTER) +
                   QStringLiteral(" (*.wav *.flac *.aif *.aiff *.aifc *.csv *.txt *.dat)");
    dialog.setNameFilters({filter, QStringLiteral("All Files(*)")});
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setDefaultSuffix(csv ? QStringLiteral("csv") : QStringLiteral("wav"));
    if (CDialogFolder::Exec(dialog, save ? CDialogFolder::kExport : CDialogFolder::kImport) !=
            QDialog::Accepted ||
        dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

/// How long an import waits for the unit to report its plan for the frequency chosen.
constexpr std::chrono::milliseconds kPlanPatience{500};

/// The table (volts) resampled as one period to `points`, held within the output's limits.
bool FitToPlan(std::vector<float>& table, int points, std::string& error) {
    const std::vector<double> values(table.begin(), table.end());
    std::vector<double> fitted;
    if (!CWaveResampler::Resample(values, points, fitted, error))
        return false;
    table = CWaveResampler::Scale(fitted, CWaveResampler::SCALE_KEEP_VOLTS, 0.0);
    return true;
}

} // namespace

bool CWaveFileCommands::Import(CMultiDDSTarnDoc& doc, const QString& path) {
    if (!doc.m_pDevice)
        return false;
    const CLanguageManager& language = CMainFrame::Get()->Language();
    const QString file = path.isEmpty() ? AskPath(doc, language, false, 0) : path;
    if (file.isEmpty())
        return false;
    CWaveImport::Source source;
    std::string error;
    if (!CWaveImport::Load(file.toLocal8Bit().toStdString(), source, error))
        return Warn(doc, error);
    const CDDSDevice& device = *doc.m_pDevice;
    CImportWaveDlg dialog(std::move(source), device.m_fAmplitude, device.m_dFrequency, language,
                          doc.DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    CCsvFile::Wave wave;
    wave.points = dialog.Points();
    // The unit walks as many table points in a period as its plan for the frequency holds:
    // the table is cut to that many, so that the wave plays as one period at that frequency.
    const double frequency = dialog.Frequency();
    if (doc.m_pControl) {
        const int plan = doc.m_pControl->PlanPointsFor(frequency, kPlanPatience);
        if (plan > 0 && plan != static_cast<int>(wave.points.size()) &&
            !FitToPlan(wave.points, plan, error))
            return Warn(doc, error);
    }
    wave.nPointsPerPeriod = static_cast<int>(wave.points.size());
    wave.fSampleRate = static_cast<float>(frequency * wave.nPointsPerPeriod);
    doc.ApplyArbWave(wave);
    // The rate held as a float must not move the frequency chosen.
    if (doc.m_pControl && doc.m_pDevice->m_dFrequency != frequency)
        doc.m_pControl->SetFrequency(frequency);
    // The wave came from no CSV file: Save must not write over the file it came from.
    doc.m_strFileName = QString::fromLatin1(CMultiDDSTarnDoc::kNoFile);
    return true;
}

bool CWaveFileCommands::Export(CMultiDDSTarnDoc& doc, const QString& path) {
    if (!doc.m_pDevice)
        return false;
    const CLanguageManager& language = CMainFrame::Get()->Language();
    CExportWaveDlg dialog(*doc.m_pDevice, language, doc.DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QString file = path.isEmpty() ? AskPath(doc, language, true, dialog.m_nFormat) : path;
    if (file.isEmpty())
        return false;
    std::string error;
    if (!CWaveExport::Write(*doc.m_pDevice, dialog.m_nFormat, dialog.m_nPeriods,
                            dialog.m_dSampleRate, file.toLocal8Bit().toStdString(), error))
        return Warn(doc, error);
    return true;
}
