#include "app/WaveFileCommands.h"

#include "app/DialogFolder.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnDoc.h"
#include "dialogs/ExportWaveDlg.h"
#include "dialogs/ImportWaveDlg.h"
#include "engine/DDSDevice.h"
#include "formats/CsvFile.h"
#include "i18n/LanguageManager.h"
#include "media/WaveExport.h"
#include "media/WaveImport.h"
#include "res/Resource.h"

#include <QFileDialog>
#include <QMessageBox>

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
    wave.nPointsPerPeriod = static_cast<int>(wave.points.size());
    wave.fSampleRate = static_cast<float>(dialog.Frequency() * wave.nPointsPerPeriod);
    doc.ApplyArbWave(wave);
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
