#pragma once
#include <string>

/// The program's settings between runs in "config.ini" beside the program: the language index
/// (section "Form", key "Language") and the remote control (section "Remote").
class CSettingsFile {
public:
    /// appDir: the program's folder, with or without a trailing "/"; empty: the current folder.
    explicit CSettingsFile(const std::string& appDir);

    const std::string& GetPath() const { return m_strPath; }

    /// The saved language index: -1 when nothing is saved, 0 for text that is no number. Not
    /// checked here; the language manager clamps it.
    int LoadLanguage() const;
    /// Stores the index, creating file, section and key when missing. 0 or the error number.
    unsigned int SaveLanguage(int index) const;

    /// The main window as the user last left it (section "Window"); bValid is false until a
    /// run has stored one.
    struct Window {
        bool bValid = false;
        int nLeft = 0, nTop = 0, nWidth = 0, nHeight = 0; ///< The restored (not maximised) place.
        bool bMaximized = false;
    };
    Window LoadWindow() const;
    unsigned int SaveWindow(const Window& window) const;
    /// The folder a file dialog last showed (section "Folders", one key per dialog); empty when
    /// none is stored.
    std::string LoadFolder(const std::string& dialog) const;
    unsigned int SaveFolder(const std::string& dialog, const std::string& folder) const;

    /// The remote control as the user last left it.
    struct Remote {
        static constexpr int kDefaultPort = 5025;
        bool bEnabled = false;
        int nPort = kDefaultPort;             ///< 1..65535
        std::string strAddress = "127.0.0.1"; ///< Where it listens; loopback keeps it local.
        /// The clients admitted, "ADDR[/PREFIX],..."; empty: loopback only.
        std::string strAllow;
        /// The one folder remote file commands reach, an absolute path; empty: the default
        /// ($XDG_DATA_HOME/ddstarn-usb/waveforms).
        std::string strDataDir;
        bool operator==(const Remote&) const = default;
    };
    /// Keys "Enabled", "Port", "Address", "Allow", "DataDir"; each missing or unreadable one is
    /// its default (the server checks the allow-list when it listens).
    Remote LoadRemote() const;
    /// 0 or the error number of the first key that could not be written.
    unsigned int SaveRemote(const Remote& remote) const;

    /// The waveform folder an empty DataDir stands for: $XDG_DATA_HOME/ddstarn-usb/waveforms,
    /// $XDG_DATA_HOME defaulting to ~/.local/share.
    static std::string DefaultDataDir();

    /// Whether text is a numeric IPv4 or IPv6 address, the only kind the server listens on.
    static bool IsAddress(const std::string& text);

    /// Leading blanks, an optional sign and the digits that follow, as a decimal int; 0 when
    /// there are none. Saturates instead of overflowing.
    static int TextToInt(const std::string& text);

private:
    std::string m_strPath;
};
