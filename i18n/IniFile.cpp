#include "i18n/IniFile.h"

#include "i18n/FileAccess.h"

#include <cerrno>
#include <utility>

namespace {

/// One line of the file: its text without line end, and what followed it.
struct IniLine {
    std::string text;
    std::string end; ///< "\r\n", "\n" or empty for a last line without one.
};

void EndLine(IniLine& line, const std::string& newline) {
    if (line.end.empty())
        line.end = newline;
}

// A stray CR (a last line, a file with mixed line ends) counts as a blank.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string TrimLeft(const std::string& text) {
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    return text.substr(first);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t CountChars(const std::string& text) {
    std::size_t count = 0;
    for (char c : text)
        count += IsContinuationByte(c) ? 0 : 1;
    return count;
}

/// The first chars characters of text, never splitting a UTF-8 sequence.
std::string FirstChars(const std::string& text, std::size_t chars) {
    std::size_t pos = 0;
    std::size_t seen = 0;
    while (pos < text.size()) {
        if (!IsContinuationByte(text[pos])) {
            if (seen == chars)
                break;
            ++seen;
        }
        ++pos;
    }
    return text.substr(0, pos);
}

std::vector<IniLine> SplitLines(const std::string& text) {
    std::vector<IniLine> lines;
    std::size_t start = 0;
    // A UTF-8 byte order mark is no part of the first line's meaning.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        IniLine line;
        if (newline == std::string::npos) {
            line.text = text.substr(start);
            start = text.size();
        } else {
            line.text = text.substr(start, newline - start);
            line.end = "\n";
            start = newline + 1;
        }
        if (!line.end.empty() && !line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end.insert(0, "\r");
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

/// The section name of a "[name]" line, or false when the line starts no section.
bool SectionName(const std::string& line, std::string& name) {
    const std::string trimmed = TrimLeft(line);
    if (trimmed.empty() || trimmed[0] != '[')
        return false;
    const std::size_t close = trimmed.find(']');
    name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

/// Range [first, last) of the first section's body, or false when the section is absent.
bool FindSection(const std::vector<IniLine>& lines, const std::string& section, std::size_t& first,
                 std::size_t& last, std::size_t& header) {
    std::string name;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!SectionName(lines[i].text, name) || !EqualNoCase(name, Trim(section)))
            continue;
        header = i;
        first = i + 1;
        last = first;
        while (last < lines.size() && !SectionName(lines[last].text, name))
            ++last;
        return true;
    }
    return false;
}

/// Index of the first line in [first, last) that sets key, or last.
std::size_t FindKey(const std::vector<IniLine>& lines, std::size_t first, std::size_t last,
                    const std::string& key) {
    for (std::size_t i = first; i < last; ++i) {
        const std::size_t equals = lines[i].text.find('=');
        if (equals != std::string::npos &&
            EqualNoCase(Trim(lines[i].text.substr(0, equals)), Trim(key)))
            return i;
    }
    return last;
}

} // namespace

CIniFile::CIniFile(std::string path) : m_strPath(std::move(path)) {}

std::string CIniFile::ReadString(const std::string& section, const std::string& key) const {
    std::string text;
    if (CFileAccess::ReadAll(m_strPath, text) != 0)
        return kMissingValue;
    return ReadStringFromText(text, section, key, kMissingValue);
}

int CIniFile::ReadSection(const std::string& section, std::vector<std::string>& keys,
                          std::vector<std::string>& values) const {
    std::string text;
    if (CFileAccess::ReadAll(m_strPath, text) != 0)
        text.clear();
    return ReadSectionFromText(text, section, keys, values);
}

unsigned int CIniFile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value, bool create) const {
    if (Trim(section).empty() || Trim(key).empty() ||
        section.find_first_of("]\r\n") != std::string::npos ||
        key.find_first_of("=\r\n") != std::string::npos)
        return EINVAL;
    std::string text;
    const int readError = CFileAccess::ReadAll(m_strPath, text);
    if (readError != 0 && readError != ENOENT)
        return static_cast<unsigned int>(readError);
    if (!create && ReadStringFromText(text, section, key, kAbsentSentinel) == kAbsentSentinel)
        return 1;
    return static_cast<unsigned int>(
        CFileAccess::ReplaceAll(m_strPath, WriteStringToText(text, section, key, value)));
}

std::string CIniFile::ReadStringFromText(const std::string& text, const std::string& section,
                                         const std::string& key, const std::string& defaultValue) {
    const std::vector<IniLine> lines = SplitLines(text);
    std::size_t first = 0, last = 0, header = 0;
    if (!FindSection(lines, section, first, last, header))
        return defaultValue;
    const std::size_t at = FindKey(lines, first, last, key);
    if (at == last)
        return defaultValue;
    const std::string& line = lines[at].text;
    return FirstChars(Trim(line.substr(line.find('=') + 1)), kValueBufferChars - 1);
}

int CIniFile::ReadSectionFromText(const std::string& text, const std::string& section,
                                  std::vector<std::string>& keys,
                                  std::vector<std::string>& values) {
    keys.clear();
    values.clear();
    const std::vector<IniLine> lines = SplitLines(text);
    std::size_t first = 0, last = 0, header = 0;
    std::vector<std::string> body;
    if (FindSection(lines, section, first, last, header)) {
        // Each line costs its characters and a terminator; two terminators end the buffer.
        std::size_t room = kSectionBufferChars - 2;
        for (std::size_t i = first; i < last && room > 0; ++i) {
            std::string line = TrimLeft(lines[i].text);
            if (Trim(line).empty())
                continue;
            const std::size_t chars = CountChars(line);
            if (chars + 1 > room) {
                body.push_back(FirstChars(line, room));
                break;
            }
            room -= chars + 1;
            body.push_back(std::move(line));
        }
    }
    if (body.empty())
        body.emplace_back();
    for (const std::string& line : body) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            keys.emplace_back();
            values.push_back(line);
        } else {
            keys.push_back(line.substr(0, equals));
            values.push_back(line.substr(equals + 1));
        }
    }
    return static_cast<int>(keys.size());
}

std::string CIniFile::WriteStringToText(const std::string& text, const std::string& section,
                                        const std::string& key, const std::string& value) {
    const std::string setting = Trim(key) + "=" + value.substr(0, value.find_first_of("\r\n"));
    const bool hasMark = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::vector<IniLine> lines = SplitLines(text);
    const std::string newline = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";

    std::size_t first = 0, last = 0, header = 0;
    if (FindSection(lines, section, first, last, header)) {
        const std::size_t at = FindKey(lines, first, last, key);
        if (at != last) {
            lines[at].text = setting;
        } else {
            // After the section's last non-blank line, so blank separators stay where they are.
            std::size_t insert = last;
            while (insert > first && Trim(lines[insert - 1].text).empty())
                --insert;
            EndLine(lines[insert - 1], newline);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert),
                         IniLine{setting, newline});
        }
    } else {
        if (!lines.empty())
            EndLine(lines.back(), newline);
        lines.push_back(IniLine{"[" + Trim(section) + "]", newline});
        lines.push_back(IniLine{setting, newline});
    }

    std::string result = hasMark ? "\xEF\xBB\xBF" : "";
    for (const IniLine& line : lines)
        result += line.text + line.end;
    return result;
}
