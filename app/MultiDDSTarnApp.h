#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CCommandLine;
class CDeviceView;
class CMainFrame;
class CMultiDDSTarnDoc;
class CProgramPaths;
class QPrinter;

/// The application: program folder, the document template (a view factory), the main frame and
/// the commands that need no device (New Device, Print Setup, About).
class CMultiDDSTarnApp {
public:
    /// Builds the view of a new document (the view builds its own controls).
    using ViewFactory = std::function<CDeviceView*(CMultiDDSTarnDoc*)>;

    explicit CMultiDDSTarnApp(ViewFactory factory);
    ~CMultiDDSTarnApp(); ///< Closes every device and the main frame.

    static CMultiDDSTarnApp* Get();

    /// Creates the main frame and opens one new device, which takes the first of m_filesToOpen;
    /// each further file opens in a device window of its own. False when the frame cannot be made.
    bool InitInstance();
    static constexpr int kDefaultScpiPort = 5025;
    /// The port of "--scpi" (kDefaultScpiPort) or "--scpi=PORT" among the program's
    /// arguments; 0 without one (or with a port outside 1..65535, which is reported).
    static int ScpiPort(const QStringList& arguments);
    /// Where the running program's files are: language, manual, settings (all in the current
    /// folder while there is no application object).
    static CProgramPaths Paths();
    /// The language named on the command line; the main frame starts in it when one has that
    /// name (empty: the language last chosen).
    QString m_strStartLanguage;

    /// Closes every device, stores the language and destroys the main frame.
    void ExitInstance();

    /// Document + child frame + view, then the view's initial update (File / New Device).
    CMultiDDSTarnDoc* OpenNewDocument();
    /// A CSV file in a new device window, read as File > Open CSV reads it. A file the reader
    /// refuses gets its message and opens no window. The new document, or null.
    CMultiDDSTarnDoc* OpenFileInNewDocument(const QString& path);
    bool OnCommand(int id);
    /// The printer the Print Setup dialog configures; printing uses the same one.
    QPrinter& Printer();

    QString m_strProgramFolder; ///< Folder of the executable, no trailing separator.
    QStringList m_filesToOpen;  ///< Files named on the command line.
    QString m_strDataDir;       ///< --data-dir: the remote waveform folder for this run.
    CMainFrame* m_pMainFrame = nullptr;

private:
    void OnFilePrintSetup();
    void OnAppAbout();

    ViewFactory m_viewFactory;
    std::unique_ptr<QPrinter> m_pPrinter;
};

/// Runs the whole program on an existing QApplication (main and in-process tests), started as
/// the command line says when there is one.
int RunDDSTarn(CMultiDDSTarnApp::ViewFactory factory, const CCommandLine* commandLine = nullptr);
