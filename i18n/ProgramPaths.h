#pragma once
#include <string>

/// Where the program finds its shipped files and keeps its settings. A program run from its
/// own folder (a build, an unpacked archive) keeps everything beside itself; an installed one
/// reads its shipped files from <prefix>/share/ddstarn-usb and keeps its settings in the user's
/// configuration folder.
class CProgramPaths {
public:
    /// The share folder relative to the program's folder, as the install rules lay it out.
    static const char* const kShareFromProgram;

    /// programDir: folder of the executable. configHome: the user's configuration folder
    /// ($XDG_CONFIG_HOME, else ~/.config when empty).
    explicit CProgramPaths(std::string programDir, std::string configHome = {});

    const std::string& ProgramFolder() const { return m_strProgramDir; }
    /// <prefix>/share/ddstarn-usb beside the program's bin folder, whether it exists or not.
    std::string ShareFolder() const;
    /// The folder holding the "language" folder: the program's when it has one, else the
    /// share folder when that has one, else the program's.
    std::string LanguageBase() const;
    std::string LanguageFolder() const { return LanguageBase() + "/language"; }
    /// "help" beside the program, else the share folder's "help", else the first (missing).
    std::string ManualFolder() const;
    /// A file of the manual ("manual.md", "images/x.png").
    std::string ManualFile(const std::string& name = "manual.md") const;
    /// $XDG_CONFIG_HOME/ddstarn-usb (default ~/.config/ddstarn-usb); empty without a home.
    std::string UserConfigFolder() const;
    /// Whether config.ini belongs beside the program: its folder is writable and it is not an
    /// installed copy (an installed program's folder is shared by every user).
    bool KeepsSettingsBeside() const;
    /// The folder of config.ini for reading and writing. When that folder has no config.ini
    /// yet and the other one has, it is copied first, so no setting is lost on the move.
    /// Creates the user's folder (0700) and an empty config.ini there (0600) when needed.
    std::string PrepareSettingsFolder() const;

private:
    std::string m_strProgramDir;
    std::string m_strConfigHome;
};
