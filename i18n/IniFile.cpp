#include "i18n/IniFile.h"

#include "i18n/FileAccess.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
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

/// Cuts bytes handed in pieces into lines (without line ends or the byte order mark) and
/// hands each to a visitor until it says stop. A line keeps its first kMaxLineBytes.
class LineSplitter {
public:
    static constexpr std::size_t kMaxLineBytes = 65536;
    using Visitor = std::function<bool(const std::string&)>;

    explicit LineSplitter(Visitor visit) : m_visit(std::move(visit)) {}

    /// False once the visitor has said stop.
    bool Feed(const char* data, std::size_t size) {
        while (size > 0 && m_going) {
            const void* found = std::memchr(data, '\n', size);
            const std::size_t end =
                found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
            m_line.append(data,
                          std::min(end, kMaxLineBytes - std::min(kMaxLineBytes, m_line.size())));
            if (!found)
                break;
            if (!m_line.empty() && m_line.back() == '\r')
                m_line.pop_back();
            Hand();
            data += end + 1;
            size -= end + 1;
        }
        return m_going;
    }
    /// The last line, when it has no line end.
    void Finish() {
        if (m_going && !m_line.empty())
            Hand();
    }

private:
    void Hand() {
        if (m_first && m_line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            m_line.erase(0, 3);
        m_first = false;
        m_going = m_visit(m_line);
        m_line.clear();
    }

    Visitor m_visit;
    std::string m_line;
    bool m_first = true;
    bool m_going = true;
};

/// Follows the lines of the first section of a name: Line hands each of its lines to body,
/// and says stop after it (a second section of the name is never read).
class SectionFinder {
public:
    SectionFinder(const std::string& section, std::function<bool(const std::string&)> body)
        : m_section(Trim(section)), m_body(std::move(body)) {}

    bool Line(const std::string& line) {
        std::string name;
        if (SectionName(line, name)) {
            if (m_inside)
                return false;
            m_inside = EqualNoCase(name, m_section);
            return true;
        }
        return !m_inside || m_body(line);
    }

private:
    std::string m_section;
    std::function<bool(const std::string&)> m_body;
    bool m_inside = false;
};

/// ReadString's search over lines fed to Line.
class ValueSearch {
public:
    ValueSearch(const std::string& section, const std::string& key, std::string defaultValue)
        : m_finder(section, [this](const std::string& line) { return Body(line); }),
          m_key(Trim(key)), m_value(std::move(defaultValue)) {}

    bool Line(const std::string& line) { return m_finder.Line(line); }
    const std::string& Value() const { return m_value; }

private:
    bool Body(const std::string& line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || !EqualNoCase(Trim(line.substr(0, equals)), m_key))
            return true;
        m_value = FirstChars(Trim(line.substr(equals + 1)), CIniFile::kValueBufferChars - 1);
        return false;
    }

    SectionFinder m_finder;
    std::string m_key;
    std::string m_value;
};

/// ReadSection's gathering of a section's lines, cut where the section buffer ends.
class SectionGather {
public:
    explicit SectionGather(const std::string& section)
        : m_finder(section, [this](const std::string& line) { return Body(line); }) {}

    bool Line(const std::string& line) { return m_finder.Line(line); }
    std::vector<std::string>& Lines() { return m_lines; }

private:
    bool Body(const std::string& text) {
        // Each line costs its characters and a terminator; two terminators end the buffer.
        std::string line = TrimLeft(text);
        if (Trim(line).empty())
            return true;
        const std::size_t chars = CountChars(line);
        if (chars + 1 > m_room) {
            m_lines.push_back(FirstChars(line, m_room));
            return false;
        }
        m_room -= chars + 1;
        m_lines.push_back(std::move(line));
        return m_room > 0;
    }

    SectionFinder m_finder;
    std::vector<std::string> m_lines;
    std::size_t m_room = CIniFile::kSectionBufferChars - 2;
};

/// Feeds a whole text, or a file piece by piece, through a splitter to reader.
template <class Reader> void FeedText(const std::string& text, Reader& reader) {
    LineSplitter lines([&reader](const std::string& line) { return reader.Line(line); });
    if (lines.Feed(text.data(), text.size()))
        lines.Finish();
}

template <class Reader> bool FeedFile(const std::string& path, Reader& reader) {
    LineSplitter lines([&reader](const std::string& line) { return reader.Line(line); });
    const int error = CFileAccess::ReadEach(
        path, [&lines](const char* data, std::size_t size) { return lines.Feed(data, size); },
        CIniFile::kMaxFileBytes);
    if (error == 0)
        lines.Finish();
    return error == 0;
}

/// Splits each gathered line at its first "=", one empty entry for none.
int SplitEntries(std::vector<std::string>& body, std::vector<std::string>& keys,
                 std::vector<std::string>& values) {
    keys.clear();
    values.clear();
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

} // namespace

CIniFile::CIniFile(std::string path) : m_strPath(std::move(path)) {}

std::string CIniFile::ReadString(const std::string& section, const std::string& key) const {
    ValueSearch search(section, key, kMissingValue);
    return FeedFile(m_strPath, search) ? search.Value() : kMissingValue;
}

int CIniFile::ReadSection(const std::string& section, std::vector<std::string>& keys,
                          std::vector<std::string>& values) const {
    SectionGather gather(section);
    if (!FeedFile(m_strPath, gather))
        gather.Lines().clear();
    return SplitEntries(gather.Lines(), keys, values);
}

unsigned int CIniFile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value, bool create) const {
    if (Trim(section).empty() || Trim(key).empty() ||
        section.find_first_of("]\r\n") != std::string::npos ||
        key.find_first_of("=\r\n") != std::string::npos)
        return EINVAL;
    // One byte past the most a write rewrites tells a file too big to keep whole.
    std::string text;
    const int readError = CFileAccess::ReadAll(m_strPath, text, kMaxFileBytes + 1);
    if (readError != 0 && readError != ENOENT)
        return static_cast<unsigned int>(readError > 0 ? readError : EIO);
    if (text.size() > kMaxFileBytes)
        return EFBIG;
    if (!create && ReadStringFromText(text, section, key, kAbsentSentinel) == kAbsentSentinel)
        return 1;
    return static_cast<unsigned int>(
        CFileAccess::ReplaceAll(m_strPath, WriteStringToText(text, section, key, value)));
}

std::string CIniFile::ReadStringFromText(const std::string& text, const std::string& section,
                                         const std::string& key, const std::string& defaultValue) {
    ValueSearch search(section, key, defaultValue);
    FeedText(text, search);
    return search.Value();
}

int CIniFile::ReadSectionFromText(const std::string& text, const std::string& section,
                                  std::vector<std::string>& keys,
                                  std::vector<std::string>& values) {
    SectionGather gather(section);
    FeedText(text, gather);
    return SplitEntries(gather.Lines(), keys, values);
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
