#include "i18n/ProgramPaths.h"

#include "i18n/FileAccess.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

#ifndef DDSTARN_SHARE_FROM_BIN
#define DDSTARN_SHARE_FROM_BIN "../share/ddstarn-usb"
#endif

const char* const CProgramPaths::kShareFromProgram = DDSTARN_SHARE_FROM_BIN;

namespace {

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

CProgramPaths::CProgramPaths(std::string programDir, std::string configHome)
    : m_strProgramDir(WithoutTrailingSlash(std::move(programDir))) {
    if (configHome.empty()) {
        const char* xdg = std::getenv("XDG_CONFIG_HOME");
        const char* home = std::getenv("HOME");
        // Relative values are to be ignored, as the base directory rules say.
        if (xdg && *xdg == '/')
            configHome = xdg;
        else if (home && *home == '/')
            configHome = std::string(home) + "/.config";
    }
    m_strConfigHome = WithoutTrailingSlash(std::move(configHome));
}

std::string CProgramPaths::ShareFolder() const {
    const fs::path share = fs::path(m_strProgramDir) / kShareFromProgram;
    return WithoutTrailingSlash(share.lexically_normal().string());
}

std::string CProgramPaths::LanguageBase() const {
    if (!IsFolder(m_strProgramDir + "/language") && IsFolder(ShareFolder() + "/language"))
        return ShareFolder();
    return m_strProgramDir;
}

std::string CProgramPaths::ManualFolder() const {
    const std::string beside = m_strProgramDir + "/help";
    if (!IsFolder(beside) && IsFolder(ShareFolder() + "/help"))
        return ShareFolder() + "/help";
    return beside;
}

std::string CProgramPaths::ManualFile(const std::string& name) const {
    return ManualFolder() + "/" + name;
}

std::string CProgramPaths::UserConfigFolder() const {
    return m_strConfigHome.empty() ? std::string() : m_strConfigHome + "/ddstarn-usb";
}

bool CProgramPaths::KeepsSettingsBeside() const {
    // No folder known (tests, tools): the current folder, as before there were two places.
    if (m_strProgramDir.empty() || UserConfigFolder().empty())
        return true;
    return ::access(m_strProgramDir.c_str(), W_OK) == 0 && !IsFolder(ShareFolder());
}

std::string CProgramPaths::PrepareSettingsFolder() const {
    const bool beside = KeepsSettingsBeside();
    const std::string folder = beside ? m_strProgramDir : UserConfigFolder();
    const std::string other = beside ? UserConfigFolder() : m_strProgramDir;
    // The user's own folder and file are for the user's eyes alone, from the start: a file
    // saved later keeps the mode it has.
    if (!beside)
        CFileAccess::MakePrivateFolder(folder);
    const std::string file = folder + "/config.ini";
    if (!IsFile(file)) {
        std::string seed;
        if (other.empty() || CFileAccess::ReadAll(other + "/config.ini", seed) != 0)
            seed.clear();
        if (!beside || !seed.empty())
            CFileAccess::ReplaceAll(
                file, seed, beside ? CFileAccess::kSharedFileMode : CFileAccess::kPrivateFileMode);
    }
    return folder;
}
