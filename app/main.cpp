#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnApp.h"

#include "engine/hardware/DDSTarnDll.h"
#include "i18n/FileList.h"
#include "i18n/ProgramPaths.h"
#include "remote/Headless.h"
#include "remote/StopSignals.h"
#include "view/MultiDDSTarnView.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <dlfcn.h>
#include <vector>

namespace {

/// What --paths shows: the folders the program resolved and the generator library it loaded.
int PrintPaths(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const CProgramPaths paths(QCoreApplication::applicationDirPath().toStdString());
    CFileList languages;
    languages.FindFiles(paths.LanguageFolder() + "/", "*.lug");
    Dl_info library{};
    const bool found = ::dladdr(reinterpret_cast<void*>(&DDSSearch), &library) != 0;
    std::printf(
        "program: %s\nlanguage: %s (%d files)\ngenerator library: %s\nmanual: %s\n"
        "settings: %s/config.ini\n",
        paths.ProgramFolder().c_str(), paths.LanguageFolder().c_str(), languages.GetCount(),
        found && library.dli_fname ? library.dli_fname : "?", paths.ManualFolder().c_str(),
        (paths.KeepsSettingsBeside() ? paths.ProgramFolder() : paths.UserConfigFolder()).c_str());
    return 0;
}

/// The headless program sees only its own options.
int RunHeadlessWith(const QStringList& arguments) {
    std::vector<QByteArray> bytes;
    std::vector<char*> pointers;
    for (const QString& argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    for (QByteArray& argument : bytes)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return RunHeadless(int(bytes.size()), pointers.data());
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CCommandLine commandLine;
    commandLine.Parse(arguments);
    std::fputs(commandLine.m_strOutput.toLocal8Bit().constData(), stdout);
    std::fputs(commandLine.m_strError.toLocal8Bit().constData(), stderr);
    if (commandLine.m_action == CCommandLine::Action::Exit)
        return commandLine.m_nExitStatus;
    commandLine.ApplyEnvironment();
    if (commandLine.m_action == CCommandLine::Action::PrintPaths)
        return PrintPaths(argc, argv);
    // Before any application object: the headless program must start with no display.
    if (commandLine.m_action == CCommandLine::Action::RunHeadless)
        return RunHeadlessWith(commandLine.HeadlessArguments());
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DDS-Tarn USB"));
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.DDSTarnUSB"));
    // A stop from a shell or the end of the desktop session is an ordinary exit: the settings
    // are stored and the next start offers no recovery.
    // A modal dialog (the Device List at start, a message box) runs a loop of its own, and
    // quit() does nothing before the main loop runs: close the dialogs until the main loop can
    // end.
    CStopSignals::QuitOn(application, [&application] {
        auto* stopping = new QTimer(&application);
        QObject::connect(stopping, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            else
                QApplication::quit();
        });
        stopping->start(10);
    });
    // Start-up measurement (bench/): leave as soon as the main window has been shown.
    if (qEnvironmentVariableIsSet("DDSTARN_QUIT_AFTER_SHOW")) {
        auto* poll = new QTimer(&application);
        QObject::connect(poll, &QTimer::timeout, [] {
            if (CMainFrame::Get() && CMainFrame::Get()->isVisible())
                QApplication::quit();
        });
        poll->start(1);
    }
    return RunDDSTarn(
        [](CMultiDDSTarnDoc* doc) -> CDeviceView* { return new CMultiDDSTarnView(doc); },
        &commandLine);
}
