#include "i18n/LanguageManager.h"

#include "i18n/DefaultLanguage.h"
#include "i18n/IniFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

const char* const kSection = "App";

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool WriteFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

CLanguageManager::CLanguageManager(std::string appDir) {
    SetAppDir(std::move(appDir));
}

void CLanguageManager::SetAppDir(std::string appDir) {
    if (!appDir.empty() && appDir.back() == '/')
        appDir.pop_back();
    m_strAppDir = std::move(appDir);
}

void CLanguageManager::SetMessageHandler(std::function<void(const std::string&)> handler) {
    m_showMessage = std::move(handler);
}

std::string CLanguageManager::LanguageFolder() const {
    // No folder known (tests, tools): below the current folder, never the file system's root.
    return m_strAppDir.empty() ? "language/" : m_strAppDir + "/language/";
}

std::string CLanguageManager::TempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string folder = (env && *env) ? env : "";
    if (folder.empty()) {
        // Another user's default.lug in the shared /tmp could not be replaced and would leave
        // this user without texts; the session's own folder belongs to this user alone.
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        folder = (runtime && *runtime && ::access(runtime, W_OK | X_OK) == 0) ? runtime : "/tmp";
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

bool CLanguageManager::WriteDefaultLanguageFile() {
    const std::string_view bytes = CDefaultLanguage::Bytes();
    if (bytes.empty())
        return false;
    const std::string folder = TempFolder();
    const std::string path = (folder == "/" ? "" : folder) + "/default.lug";
    ::unlink(path.c_str());
    // A fresh file, never through a link someone else placed in a shared folder.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = WriteFully(fd, bytes);
    if (::close(fd) != 0 || !written) {
        ::unlink(path.c_str());
        return false;
    }
    m_strDefaultPath = path;
    return true;
}

void CLanguageManager::RefreshLanguageFiles() {
    WriteDefaultLanguageFile();
    m_fileList = CFileList();
    if (m_showMessage)
        m_fileList.SetMessageHandler(m_showMessage);
    m_fileList.FindFiles(LanguageFolder(), "*.lug");
    ReadNames();
}

void CLanguageManager::ReadNames() {
    m_names.clear();
    for (int i = 0; i < GetLanguageCount(); ++i) {
        std::string name =
            CIniFile(GetLanguageFilePath(i)).ReadString(kSection, std::to_string(kNameKey));
        if (name.empty()) {
            const std::string& relative = m_fileList.GetFiles()[static_cast<std::size_t>(i)];
            const std::size_t slash = relative.rfind('/');
            const std::size_t dot = relative.rfind('.');
            const bool hasExtension =
                dot != std::string::npos && (slash == std::string::npos || dot > slash);
            name = hasExtension ? relative.substr(0, dot) : relative;
        }
        m_names.push_back(std::move(name));
    }
}

bool CLanguageManager::RescanLanguageFiles() {
    CFileList found;
    if (m_showMessage)
        found.SetMessageHandler(m_showMessage);
    found.FindFiles(LanguageFolder(), "*.lug");
    const std::vector<std::string>& before = m_fileList.GetFiles();
    if (found.GetFiles() == before)
        return false;
    const std::string current = m_nCurrent >= 0 && m_nCurrent < GetLanguageCount()
                                    ? before[static_cast<std::size_t>(m_nCurrent)]
                                    : std::string();
    m_fileList = std::move(found);
    ReadNames();
    int index = -1;
    const std::vector<std::string>& after = m_fileList.GetFiles();
    for (std::size_t i = 0; i < after.size() && !current.empty(); ++i)
        if (after[i] == current)
            index = static_cast<int>(i);
    SelectLanguage(index);
    return true;
}

void CLanguageManager::SelectLanguage(int index) {
    if (index < 0)
        index = -1;
    if (index >= GetLanguageCount())
        index = GetLanguageCount() - 1;
    m_nCurrent = index;
    LoadLanguage(index);
}

void CLanguageManager::LoadLanguage(int index) {
    const std::string path = index == -1 ? m_strDefaultPath : GetLanguageFilePath(index);
    CIniFile(path).ReadSection(kSection, m_keys, m_texts);
    for (int i = 0; i < GetLanguageCount(); ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "80504%02d", i + 2);
        m_keys.emplace_back(key);
        m_texts.push_back(GetLanguageName(i));
    }
    // Texts are looked up at every tick of the status bar: a scan of the whole table each
    // time would cost more than the rest of the tick. The first of equal keys is the one found.
    m_firstOfKey.clear();
    m_firstOfKey.reserve(m_keys.size());
    for (std::size_t i = 0; i < m_keys.size(); ++i)
        m_firstOfKey.emplace(m_keys[i], i);
}

std::string CLanguageManager::GetLanguageName(int index) const {
    if (index < 0)
        return "English";
    if (GetLanguageCount() == 0)
        return std::string();
    if (index >= GetLanguageCount())
        index = GetLanguageCount() - 1;
    return m_names[static_cast<std::size_t>(index)];
}

int CLanguageManager::FindLanguage(const std::string& name) const {
    if (SameText(name, GetLanguageName(-1)) || SameText(name, "Default(En)"))
        return -1;
    for (int i = 0; i < GetLanguageCount(); ++i) {
        const std::string& relative = m_fileList.GetFiles()[static_cast<std::size_t>(i)];
        const std::size_t dot = relative.rfind('.');
        const std::string stem = dot == std::string::npos ? relative : relative.substr(0, dot);
        const std::string base = stem.substr(stem.rfind('/') + 1);
        if (SameText(name, GetLanguageName(i)) || SameText(name, stem) || SameText(name, base))
            return i;
    }
    return kNoLanguage;
}

std::string CLanguageManager::GetLanguageFilePath(int index) const {
    if (index < 0 || GetLanguageCount() == 0)
        return std::string();
    if (index >= GetLanguageCount())
        index = GetLanguageCount() - 1;
    return LanguageFolder() + m_fileList.GetFiles()[static_cast<std::size_t>(index)];
}

std::string CLanguageManager::GetText(int id) const {
    std::string text;
    FindText(std::to_string(id), text);
    return text;
}

bool CLanguageManager::FindText(const std::string& key, std::string& text) const {
    const auto found = m_firstOfKey.find(key);
    if (found == m_firstOfKey.end())
        return false;
    text = m_texts[found->second];
    return true;
}

bool CLanguageManager::FindControlText(int id, std::string& text) const {
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const std::string& key = m_keys[i];
        long long value = 0;
        std::size_t digits = 0;
        while (digits < key.size() && key[digits] >= '0' && key[digits] <= '9' &&
               value <= 100000000000LL) {
            value = value * 10 + (key[digits] - '0');
            ++digits;
        }
        if (digits > 0 && value == id) {
            text = m_texts[i];
            return true;
        }
    }
    return false;
}

int CLanguageManager::MenuKey(const std::vector<int>& positions) {
    if (positions.empty() || positions.size() > 4)
        return -1;
    int key = 8;
    for (int position : positions) {
        if (position < 0 || position > 99)
            return -1;
        key = key * 100 + position;
    }
    return key;
}
