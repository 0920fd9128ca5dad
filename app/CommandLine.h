#pragma once
#include <QString>
#include <QStringList>

/// The program's command line, read before any window or generator exists: what to do (run,
/// run headless, or print something and stop) and the options that shape the start.
class CCommandLine {
public:
    /// Exit status for an option the program does not know or a value it cannot use.
    static constexpr int kUsageStatus = 2;

    enum class Action { Run, RunHeadless, PrintPaths, Exit };

    /// Reads arguments, the program's name first. Help, version and mistakes end in
    /// Action::Exit with m_nExitStatus and the text to print in m_strOutput or m_strError.
    void Parse(const QStringList& arguments);
    /// DDSTARN_SIM_UNITS and DDSTARN_DRIVER from --units, --demo and --driver; must run before
    /// the generator bank starts. Variables the options do not name stay as they are.
    void ApplyEnvironment() const;
    /// The arguments the headless program reads (its own options only).
    QStringList HeadlessArguments() const;

    Action m_action = Action::Run;
    int m_nExitStatus = 0;
    QString m_strOutput; ///< For standard output.
    QString m_strError;  ///< For standard error.
    int m_nUnits = -1;   ///< Simulated generators; -1: as the environment says.
    QString m_strDriver;
    QString m_strLanguage;
    QStringList m_files;
    QString m_strDataDir; ///< --data-dir: the remote waveform folder, absolute; empty: as set.

private:
    QString HelpText() const;

    /// --headless, --scpi[=PORT], --listen=ADDRESS, --allow=LIST, --data-dir=DIR as given.
    QStringList m_headless;
    QString m_strProgram;
};
