#include "i18n/SettingsFile.h"

#include "i18n/IniFile.h"

#include <climits>
#include <cstdint>

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
