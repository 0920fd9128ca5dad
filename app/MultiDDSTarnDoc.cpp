#include "app/MultiDDSTarnDoc.h"

#include "app/ArbHistory.h"
#include "app/ChildFrame.h"
#include "app/CmdUI.h"
#include "app/DeviceView.h"
#include "app/DialogFolder.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnApp.h"
#include "app/SetupCommands.h"
#include "app/WaveFileCommands.h"
#include "control/DeviceControl.h"
#include "dialogs/AmFmDlg.h"
#include "dialogs/ExponentDlg.h"
#include "dialogs/PeriodNumberDlg.h"
#include "dialogs/RampDlg.h"
#include "dialogs/SquareDlg.h"
#include "dialogs/TrapeziaDlg.h"
#include "engine/DDSDevice.h"
#include "i18n/LanguageManager.h"
#include "i18n/ParseNumber.h"
#include "res/Resource.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>

#include <memory>

const char* const CMultiDDSTarnDoc::kNoFile = "CSV File Empty";

namespace {

// "*" and not "*.*": here a name needs no dot, and files without one must be listed too.
const char* const kCsvFilter = "Data File(*.csv);;All Files(*)";

QString AskCsvPath(QWidget* parent, bool save) {
    QFileDialog dialog(parent, save ? QStringLiteral("Save DDS-Tarn CSV file")
                                    : QStringLiteral("Open DDS-Tarn CSV file"));
    dialog.setNameFilter(QString::fromLatin1(kCsvFilter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A typed name without extension becomes a .csv file (the overwrite question sees it too).
    if (save)
        dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (CDialogFolder::Exec(dialog, CDialogFolder::kCsv) != QDialog::Accepted ||
        dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

/// True when the widget lies inside a device window other than `frame`.
bool InOtherDeviceWindow(QWidget* widget, QMdiSubWindow* frame) {
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* window = qobject_cast<QMdiSubWindow*>(w))
            return window != frame;
    return false;
}

/// The Wave Parameter items and the wave type whose dialog each opens; an item is enabled only
/// while its wave is selected.
struct WaveParameterItem {
    int nCommand;
    int nWaveType;
};
constexpr WaveParameterItem kWaveParameterItems[] = {
    {ID_WAVE_SQUARE, WAVE_SQUARE},     {ID_WAVE_RAMP, WAVE_RAMP}, {ID_WAVE_TRAPEZIA, WAVE_TRAPEZIA},
    {ID_WAVE_EXPONENT, WAVE_EXPONENT}, {ID_WAVE_AMFM, WAVE_AMFM},
};

/// The items whose work another class does on the document (waveform files, setups); those
/// that go through its device control are not taken without one.
struct DelegatedItem {
    int nCommand;
    bool bNeedsControl;
    void (*pRun)(CMultiDDSTarnDoc& doc);
};
constexpr DelegatedItem kDelegatedItems[] = {
    {ID_IMPORT_WAVEFORM, false, [](CMultiDDSTarnDoc& doc) { CWaveFileCommands::Import(doc); }},
    {ID_EXPORT_WAVEFORM, false, [](CMultiDDSTarnDoc& doc) { CWaveFileCommands::Export(doc); }},
    {ID_SAVE_SETUP, true, &CSetupCommands::OnSaveSetup},
    {ID_OPEN_SETUP, true, &CSetupCommands::OnOpenSetup},
};

} // namespace

CMultiDDSTarnDoc::CMultiDDSTarnDoc() : m_strFileName(kNoFile) {}

CMultiDDSTarnDoc::~CMultiDDSTarnDoc() {
    m_pArbHistory.reset();
    delete m_pControl;
    if (!m_bDeviceLeft)
        delete m_pDevice;
}

void CMultiDDSTarnDoc::CreateDevice() {
    m_pArbHistory.reset();
    delete m_pControl;
    delete m_pDevice;
    m_pDevice = new CDDSDevice();
    m_pControl = new CDeviceControl(*m_pDevice);
    m_pArbHistory = std::make_unique<CArbHistory>(*m_pDevice);
}

void CMultiDDSTarnDoc::AssignDefaultName(const QList<CMultiDDSTarnDoc*>& others) {
    if (m_bUserNamed)
        return;
    const bool demo = m_pDevice == nullptr || m_pDevice->m_bDemo;
    const QString pattern = demo ? QStringLiteral("Demo %1") : QStringLiteral("Device %1");
    for (int n = 1; n <= m_nIndex + 1; ++n) {
        m_strDeviceName = pattern.arg(n);
        bool taken = false;
        for (const CMultiDDSTarnDoc* other : others)
            if (other != this &&
                other->m_strDeviceName.compare(m_strDeviceName, Qt::CaseInsensitive) == 0)
                taken = true;
        if (!taken)
            break;
    }
    SetTitle(m_strDeviceName);
}

void CMultiDDSTarnDoc::AssignDefaultName() {
    CMainFrame* frame = CMainFrame::Get();
    AssignDefaultName(frame ? frame->m_documents : QList<CMultiDDSTarnDoc*>());
}

void CMultiDDSTarnDoc::SetTitle(const QString& title) {
    m_strTitle = title;
    if (m_pFrame)
        m_pFrame->setWindowTitle(title);
}

int CMultiDDSTarnDoc::ShowWaveParameterDialog(int type) {
    if (m_pControl == nullptr)
        return 0;
    const CLanguageManager& language = CMainFrame::Get()->Language();
    std::unique_ptr<QDialog> dialog;
    switch (type) {
    case WAVE_RAMP:
        dialog = std::make_unique<CRampDlg>(*m_pControl, language, DialogParent());
        break;
    case WAVE_SQUARE:
        dialog = std::make_unique<CSquareDlg>(*m_pControl, language, DialogParent());
        break;
    case WAVE_EXPONENT:
        dialog = std::make_unique<CExponentDlg>(*m_pControl, language, DialogParent());
        break;
    case WAVE_TRAPEZIA:
        dialog = std::make_unique<CTrapeziaDlg>(*m_pControl, language, DialogParent());
        break;
    case WAVE_AMFM:
        dialog = std::make_unique<CAmFmDlg>(*m_pControl, language, DialogParent());
        break;
    default:
        return 0;
    }
    // The dialog has applied what it applies by the time it ends; how it ended does not matter.
    dialog->exec();
    return 1;
}

void CMultiDDSTarnDoc::OnPeriodNumber() {
    if (m_pControl == nullptr)
        return;
    CPeriodNumberDlg dialog(m_pControl->GetPeriodNumber(), CMainFrame::Get()->Language(),
                            DialogParent());
    if (dialog.exec() == QDialog::Accepted)
        m_pControl->SetPeriodNumber(dialog.m_nNumber);
}

void CMultiDDSTarnDoc::SaveCsv(int saveAs) {
    if (!saveAs && m_strFileName != QLatin1String(kNoFile)) {
        WriteCsvNative(m_strFileBytes);
        return;
    }
    const QString path = AskCsvPath(DialogParent(), true);
    if (!path.isEmpty())
        WriteCsvFile(path);
}

void CMultiDDSTarnDoc::OnFileOpenCsv() {
    const QString path = AskCsvPath(DialogParent(), false);
    if (!path.isEmpty())
        ReadCsvFile(path);
}

int CMultiDDSTarnDoc::RetextWindows() {
    if (m_pView)
        m_pView->RetextWindows();
    return 1;
}

void CMultiDDSTarnDoc::Activate() {
    if (!m_pView || !m_pFrame)
        return;
    // A device chosen from its tab comes up maximised, as device windows open.
    if (!m_pFrame->isMaximized())
        m_pFrame->showMaximized();
    if (QMdiArea* area = m_pFrame->mdiArea())
        area->setActiveSubWindow(m_pFrame);
    m_pFrame->raise();
    // Keyboard focus left in another device window would activate that device again when the
    // main window gets its focus back (after a question, or from another program).
    if (InOtherDeviceWindow(m_pFrame->window()->focusWidget(), m_pFrame))
        m_pView->Widget()->setFocus();
}

bool CMultiDDSTarnDoc::ReadCsvFile(const QString& path, std::string* message) {
    return ReadCsvNative(QFile::encodeName(path).toStdString(), message);
}

bool CMultiDDSTarnDoc::WriteCsvFile(const QString& path, std::string* message) {
    return WriteCsvNative(QFile::encodeName(path).toStdString(), message);
}

bool CMultiDDSTarnDoc::ReadCsvNative(const std::string& file, std::string* message) {
    if (!m_pDevice)
        return false;
    std::string error;
    CCsvFile::Wave wave;
    if (!CCsvFile::Load(file, wave, error))
        return ReportFileError(error, message);
    ApplyCsvFile(file, wave);
    return true;
}

void CMultiDDSTarnDoc::ApplyCsvFile(const std::string& file, const CCsvFile::Wave& wave) {
    RememberFile(file);
    ApplyArbWave(wave);
}

void CMultiDDSTarnDoc::ApplyArbWave(const CCsvFile::Wave& wave) {
    if (!m_pDevice)
        return;
    const CArbHistory::Points before = m_pArbHistory->Snapshot();
    // The frequency command must find the device in Arb, whenever the worker gets to it.
    const CDDSDevice::CCommandHold hold(*m_pDevice);
    CCsvFile::Apply(*m_pDevice, wave);
    m_bArbFromFile = 1;
    if (m_pView) {
        m_pView->ShowFrequency();
        m_pView->SelectWaveType(WAVE_ARB);
        m_pDevice->RequestDownload();
    }
    m_bArbFromFile = 0;
    m_pArbHistory->Record(before, QStringLiteral("New table"));
}

bool CMultiDDSTarnDoc::WriteCsvNative(const std::string& file, std::string* message,
                                      const CCsvFile::Target* target) {
    if (!m_pDevice)
        return false;
    std::string error;
    // Before the view captures the wave into the table: a save that cannot happen changes nothing.
    if (!CCsvFile::CheckWritable(file, error, target))
        return ReportFileError(error, message);
    if (m_pDevice->m_nWaveType != WAVE_ARB && m_pView)
        m_pView->SelectWaveType(WAVE_ARB);
    if (!CCsvFile::Write(*m_pDevice, file, error, target))
        return ReportFileError(error, message);
    RememberFile(file);
    return true;
}

bool CMultiDDSTarnDoc::ReportFileError(const std::string& text, std::string* message) const {
    if (message)
        *message = text;
    else if (!text.empty())
        QMessageBox::warning(DialogParent(), QStringLiteral("DDS-Tarn USB"),
                             QString::fromUtf8(text.c_str()));
    return false;
}

void CMultiDDSTarnDoc::RememberFile(const std::string& file) {
    m_strFileBytes = file;
    m_strFilePath = QFile::decodeName(file.c_str());
    m_strFileName = QFileInfo(m_strFilePath).fileName();
}

int CMultiDDSTarnDoc::ParseNumber(const QString& text, double& value) {
    return ::ParseNumber(text.toStdString(), value);
}

void CMultiDDSTarnDoc::OnHelpContent() {
    // The frame opens it, with or without a device.
    if (CMainFrame* frame = CMainFrame::Get())
        frame->OnHelpContent();
}

bool CMultiDDSTarnDoc::OnCommand(int id) {
    for (const WaveParameterItem& item : kWaveParameterItems) {
        if (item.nCommand == id) {
            ShowWaveParameterDialog(item.nWaveType);
            return true;
        }
    }
    for (const DelegatedItem& item : kDelegatedItems) {
        if (item.nCommand == id) {
            if (item.bNeedsControl && !m_pControl)
                return false;
            item.pRun(*this);
            return true;
        }
    }
    switch (id) {
    case ID_PERIOD_NUMBER:
        OnPeriodNumber();
        return true;
    case ID_ARB_UNDO:
        if (m_pArbHistory && m_pDevice->m_nWaveType == WAVE_ARB)
            m_pArbHistory->Undo();
        return true;
    case ID_ARB_REDO:
        if (m_pArbHistory && m_pDevice->m_nWaveType == WAVE_ARB)
            m_pArbHistory->Redo();
        return true;
    case ID_HELP_CONTENT:
        OnHelpContent();
        return true;
    case ID_FILE_OPEN:
        OnFileOpenCsv();
        return true;
    case ID_FILE_SAVE:
        SaveCsv(0);
        return true;
    case ID_FILE_SAVE_AS:
        SaveCsv(1);
        return true;
    case ID_FILE_CLOSE:
        OnCloseDocument();
        return true;
    case ID_CLOSE_CURRENT_DEVICE:
        if (CMainFrame* frame = CMainFrame::Get())
            frame->CloseDocumentAt(frame->m_nCurrentTab);
        return true;
    default:
        break;
    }
    if (!m_pControl)
        return false;
    switch (id) {
    case ID_PATTERN_GENERATOR:
        m_pControl->SetDIOMode(0);
        return true;
    case ID_PROGRAMMABLE_OUTPUT:
        m_pControl->SetDIOMode(1);
        return true;
    case ID_POWER_ON_OUTPUT_OPEN:
        m_pControl->SetPowerOnOutput(1);
        return true;
    case ID_POWER_ON_OUTPUT_CLOSE:
        m_pControl->SetPowerOnOutput(0);
        return true;
    default:
        return false;
    }
}

bool CMultiDDSTarnDoc::OnUpdateCommand(CCmdUI& ui) {
    if (!m_pDevice)
        return false;
    const int wave = m_pDevice->m_nWaveType;
    const int dio = m_pDevice->m_nDIOMode;
    for (const WaveParameterItem& item : kWaveParameterItems) {
        if (item.nCommand == ui.m_nID) {
            ui.Enable(wave == item.nWaveType);
            return true;
        }
    }
    switch (ui.m_nID) {
    case ID_SWEEP:
        ui.Enable(wave == WAVE_SINE);
        return true;
    // The points are the Arb wave's: other waves leave their steps waiting.
    case ID_ARB_UNDO:
        ui.Enable(wave == WAVE_ARB && m_pArbHistory && m_pArbHistory->CanUndo());
        return true;
    case ID_ARB_REDO:
        ui.Enable(wave == WAVE_ARB && m_pArbHistory && m_pArbHistory->CanRedo());
        return true;
    case ID_PATTERN_GENERATOR:
        ui.SetCheck(dio == 0);
        return true;
    case ID_PROGRAMMABLE_OUTPUT:
        ui.SetCheck(dio == 1);
        return true;
    case ID_OUTPUT_SET:
        ui.Enable(dio == 1);
        return true;
    default:
        return false;
    }
}

void CMultiDDSTarnDoc::OnCloseDocument() {
    if (m_bClosing)
        return;
    m_bClosing = true;
    if (CMainFrame* frame = CMainFrame::Get())
        frame->RemoveDocument(m_nIndex);
    // The view goes first: its destruction stops the worker that steps our device.
    if (m_pView) {
        CDeviceView* view = m_pView;
        QPointer<QWidget> widget = view->Widget();
        m_pView = nullptr;
        if (dynamic_cast<CDeviceView*>(widget.data()) != view)
            delete view;
        delete widget.data();
    }
    if (m_pFrame) {
        CChildFrame* childFrame = m_pFrame;
        m_pFrame = nullptr;
        childFrame->m_pDocument = nullptr;
        childFrame->hide();
        childFrame->deleteLater();
    }
    delete this;
}

QWidget* CMultiDDSTarnDoc::DialogParent() const {
    if (m_pView)
        return m_pView->Widget();
    return CMainFrame::Get();
}
