#include "app/MultiDDSTarnApp.h"

#include "app/AboutDlg.h"
#include "app/ChildFrame.h"
#include "app/CommandLine.h"
#include "app/CrashRecovery.h"
#include "app/DeviceView.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnDoc.h"
#include "engine/DeviceWorker.h"
#include "formats/CsvFile.h"
#include "hwsim/DriverStatus.h"
#include "i18n/ProgramPaths.h"
#include "res/Resource.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>

#include <cstdio>

namespace {

CMultiDDSTarnApp* s_pApp = nullptr;

} // namespace

CMultiDDSTarnApp::CMultiDDSTarnApp(ViewFactory factory) : m_viewFactory(std::move(factory)) {
    s_pApp = this;
    m_strProgramFolder = QCoreApplication::applicationDirPath();
    while (m_strProgramFolder.endsWith('/') && m_strProgramFolder.size() > 1)
        m_strProgramFolder.chop(1);
}

CMultiDDSTarnApp::~CMultiDDSTarnApp() {
    ExitInstance();
    if (s_pApp == this)
        s_pApp = nullptr;
}

CMultiDDSTarnApp* CMultiDDSTarnApp::Get() {
    return s_pApp;
}

bool CMultiDDSTarnApp::InitInstance() {
    m_pMainFrame = new CMainFrame();
    // The program always starts with a new device; files named on the command line are read
    // into it and into further new devices. The main window stays hidden until the frame's
    // first timer tick.
    CMultiDDSTarnDoc* first = OpenNewDocument();
    if (!first)
        return false;
    for (qsizetype i = 0; i < m_filesToOpen.size(); ++i) {
        if (i == 0)
            first->ReadCsvFile(m_filesToOpen[i]);
        else
            OpenFileInNewDocument(m_filesToOpen[i]);
    }
    m_pMainFrame->StartRemote(ScpiPort(QCoreApplication::arguments()), m_strDataDir);
    return true;
}

int CMultiDDSTarnApp::ScpiPort(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--scpi"))
            return kDefaultScpiPort;
        if (!argument.startsWith(QLatin1String("--scpi=")))
            continue;
        bool ok = false;
        const int port = argument.mid(7).toInt(&ok);
        if (ok && port >= 1 && port <= 65535)
            return port;
        std::fprintf(stderr, "DDSTarnUSB: --scpi wants a port from 1 to 65535, not \"%s\"\n",
                     qPrintable(argument.mid(7)));
    }
    return 0;
}

CProgramPaths CMultiDDSTarnApp::Paths() {
    return CProgramPaths(s_pApp ? s_pApp->m_strProgramFolder.toStdString() : std::string());
}

void CMultiDDSTarnApp::ExitInstance() {
    if (!m_pMainFrame)
        return;
    CMainFrame* frame = m_pMainFrame;
    m_pMainFrame = nullptr;
    delete frame; // closes every device and stores the language
}

CMultiDDSTarnDoc* CMultiDDSTarnApp::OpenNewDocument() {
    if (!m_pMainFrame || !m_viewFactory)
        return nullptr;
    auto* doc = new CMultiDDSTarnDoc();
    CDeviceView* view = m_viewFactory(doc);
    if (!view) {
        delete doc;
        return nullptr;
    }
    doc->m_pView = view;
    auto* frame = new CChildFrame(doc, view->Widget());
    doc->m_pFrame = frame;
    m_pMainFrame->MdiArea()->addSubWindow(frame);
    // The view sets itself up (and asks its questions) before its window appears.
    frame->hide();
    view->OnInitialUpdate();
    frame->setWindowTitle(doc->GetTitle());
    frame->showMaximized();
    // The window was activated before the view joined the device list; its tab follows now.
    doc->Activate();
    m_pMainFrame->SelectTab(doc->m_nIndex);
    return doc;
}

CMultiDDSTarnDoc* CMultiDDSTarnApp::OpenFileInNewDocument(const QString& path) {
    if (!m_pMainFrame)
        return nullptr;
    // Read before the window opens: a file the reader refuses must not leave a window behind,
    // nor raise the new window's questions (Device List, demo notice) before its message.
    const std::string file = QFile::encodeName(path).toStdString();
    CCsvFile::Wave wave;
    std::string error;
    if (!CCsvFile::Load(file, wave, error)) {
        QMessageBox::warning(m_pMainFrame, QString::fromLatin1(CMainFrame::kAppTitle),
                             QString::fromLocal8Bit(error.c_str()));
        return nullptr;
    }
    CMultiDDSTarnDoc* doc = OpenNewDocument();
    if (doc)
        doc->ApplyCsvFile(file, wave);
    return doc;
}

bool CMultiDDSTarnApp::OnCommand(int id) {
    switch (id) {
    case ID_FILE_NEW:
        OpenNewDocument();
        return true;
    case ID_FILE_PRINT_SETUP:
        OnFilePrintSetup();
        return true;
    case ID_APP_ABOUT:
        OnAppAbout();
        return true;
    default:
        return false;
    }
}

QPrinter& CMultiDDSTarnApp::Printer() {
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_pPrinter;
}

void CMultiDDSTarnApp::OnFilePrintSetup() {
    QPageSetupDialog dialog(&Printer(), m_pMainFrame);
    dialog.exec();
}

void CMultiDDSTarnApp::OnAppAbout() {
    if (!m_pMainFrame)
        return;
    CAboutDlg dialog(m_pMainFrame->Language(), m_pMainFrame, SimBankInUse());
    dialog.exec();
}

int RunDDSTarn(CMultiDDSTarnApp::ViewFactory factory, const CCommandLine* commandLine) {
    CMultiDDSTarnApp app(std::move(factory));
    if (commandLine) {
        app.m_strStartLanguage = commandLine->m_strLanguage;
        app.m_filesToOpen = commandLine->m_files;
        app.m_strDataDir = commandLine->m_strDataDir;
    }
    if (!app.InitInstance())
        return 1;
    CCrashRecovery recovery;
    // What an earlier run left is looked at before this run leaves anything.
    recovery.OfferRestoreWhenShown(app);
    recovery.Start();
    const int result = QApplication::exec();
    app.ExitInstance(); // the settings are stored here
    recovery.Finish();
    CDeviceWorker::ExitIfAbandoned(result);
    return result;
}
