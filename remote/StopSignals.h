#pragma once

#include <functional>

class QCoreApplication;

/// SIGINT and SIGTERM end the event loop as the program's own Exit would, so that a program
/// stopped from a shell or by the end of a desktop session still stores what it must.
class CStopSignals {
public:
    /// Installs the handlers; false when the system refused them. stop, when given, is called
    /// instead of QCoreApplication::quit (a program with windows first closes its dialogs).
    static bool QuitOn(QCoreApplication& application, std::function<void()> stop = {});
};
