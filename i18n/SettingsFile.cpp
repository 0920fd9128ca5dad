#include "i18n/SettingsFile.h"

#include "i18n/IniFile.h"

#include <arpa/inet.h>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <utility>

CSettingsFile::CSettingsFile(const std::string& appDir) {
    std::string folder = appDir;
    if (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    // No folder known (tests, tools): the current folder, never the file system's root.
    m_strPath = folder.empty() ? "config.ini" : folder + "/config.ini";
}

int CSettingsFile::LoadLanguage() const {
    return TextToInt(CIniFile(m_strPath).ReadString("Form", "Language"));
}

unsigned int CSettingsFile::SaveLanguage(int index) const {
    return CIniFile(m_strPath).WriteString("Form", "Language", std::to_string(index), true);
}

CSettingsFile::Window CSettingsFile::LoadWindow() const {
    const CIniFile ini(m_strPath);
    Window window;
    int* const numbers[] = {&window.nLeft, &window.nTop, &window.nWidth, &window.nHeight};
    const char* const keys[] = {"Left", "Top", "Width", "Height"};
    for (int i = 0; i < 4; ++i) {
        const std::string text = ini.ReadString("Window", keys[i]);
        if (text == CIniFile::kMissingValue && i >= 2)
            return Window();
        *numbers[i] = TextToInt(text);
    }
    window.bMaximized = ini.ReadString("Window", "Maximized") == "1";
    window.bValid = window.nWidth > 0 && window.nHeight > 0;
    return window;
}

unsigned int CSettingsFile::SaveWindow(const Window& window) const {
    CIniFile ini(m_strPath);
    const std::pair<const char*, int> keys[] = {{"Left", window.nLeft},
                                                {"Top", window.nTop},
                                                {"Width", window.nWidth},
                                                {"Height", window.nHeight},
                                                {"Maximized", window.bMaximized ? 1 : 0}};
    for (const auto& [key, value] : keys)
        if (const unsigned int error = ini.WriteString("Window", key, std::to_string(value), true))
            return error;
    return 0;
}

std::string CSettingsFile::LoadFolder(const std::string& dialog) const {
    const std::string folder = CIniFile(m_strPath).ReadString("Folders", dialog);
    return folder == CIniFile::kMissingValue ? std::string() : folder;
}

unsigned int CSettingsFile::SaveFolder(const std::string& dialog, const std::string& folder) const {
    return CIniFile(m_strPath).WriteString("Folders", dialog, folder, true);
}

CSettingsFile::Remote CSettingsFile::LoadRemote() const {
    const CIniFile ini(m_strPath);
    Remote remote;
    const std::string enabled = ini.ReadString("Remote", "Enabled");
    remote.bEnabled = enabled == "1";
    const std::string port = ini.ReadString("Remote", "Port");
    const bool digits = !port.empty() && port.size() <= 5 &&
                        port.find_first_not_of("0123456789") == std::string::npos;
    if (digits && TextToInt(port) >= 1 && TextToInt(port) <= 65535)
        remote.nPort = TextToInt(port);
    const std::string address = ini.ReadString("Remote", "Address");
    if (IsAddress(address))
        remote.strAddress = address;
    // A relative folder would depend on where the program was started.
    const std::string dataDir = ini.ReadString("Remote", "DataDir");
    if (!dataDir.empty() && dataDir.front() == '/')
        remote.strDataDir = dataDir;
    const std::string allow = ini.ReadString("Remote", "Allow");
    if (allow != CIniFile::kMissingValue)
        remote.strAllow = allow;
    return remote;
}

unsigned int CSettingsFile::SaveRemote(const Remote& remote) const {
    CIniFile ini(m_strPath);
    const std::pair<const char*, std::string> keys[] = {{"Enabled", remote.bEnabled ? "1" : "0"},
                                                        {"Port", std::to_string(remote.nPort)},
                                                        {"Address", remote.strAddress},
                                                        {"Allow", remote.strAllow},
                                                        {"DataDir", remote.strDataDir}};
    for (const auto& [key, value] : keys)
        if (const unsigned int error = ini.WriteString("Remote", key, value, true))
            return error;
    return 0;
}

std::string CSettingsFile::DefaultDataDir() {
    std::string base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        base = data;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        base = std::string(home) + "/.local/share";
    else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        base = std::string(user->pw_dir) + "/.local/share"; // never a shared folder such as /tmp
    else
        base = ".";
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/ddstarn-usb/waveforms";
}

bool CSettingsFile::IsAddress(const std::string& text) {
    unsigned char bytes[sizeof(in6_addr)];
    return ::inet_pton(AF_INET, text.c_str(), bytes) == 1 ||
           ::inet_pton(AF_INET6, text.c_str(), bytes) == 1;
}

int CSettingsFile::TextToInt(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::int64_t value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        if (value > std::int64_t(INT_MAX) + 1)
            value = std::int64_t(INT_MAX) + 1;
        ++pos;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}
