#pragma once
#include <cstddef>
#include <string>
#include <vector>

/// Reads and writes one INI file: "[Section]" lines and "key=value" lines below them. Section
/// and key names match without regard to ASCII case; the first matching section and key win.
/// Values and lines are bytes (UTF-8 on our side); lengths are counted in characters.
class CIniFile {
public:
    /// Longest value ReadString returns, in characters, plus its terminator.
    static constexpr int kValueBufferChars = 260;
    /// Room for a whole section in ReadSection, in characters: lines, their terminators and the
    /// final terminator. A longer section is cut, its last line possibly in the middle.
    static constexpr int kSectionBufferChars = 9000;
    /// What ReadString gives for a missing file, section or key.
    static constexpr const char* kMissingValue = "-1";
    /// Most of a file the readers look at, and the largest file WriteString rewrites (EFBIG).
    static constexpr std::size_t kMaxFileBytes = std::size_t(64) << 20;
    /// What WriteString reads a key as when it is absent (create = false).
    static constexpr const char* kAbsentSentinel = "!*&*none-value*&!*";

    explicit CIniFile(std::string path);

    const std::string& GetPath() const { return m_strPath; }

    /// The key's value with blanks around it removed, at most 259 characters; "-1" when the
    /// file, the section or the key is missing.
    std::string ReadString(const std::string& section, const std::string& key) const;

    /// The section's lines in file order, each split at its first "=" (a line without one is
    /// all value, with an empty key); blank lines are skipped. Both arrays are emptied first.
    /// Returns the number of keys; an empty or missing section gives one empty entry.
    int ReadSection(const std::string& section, std::vector<std::string>& keys,
                    std::vector<std::string>& values) const;

    /// Sets the key's value, creating file, section and key as needed and keeping every other
    /// line as it was. With create false an absent key is left absent and the result is 1.
    /// Otherwise 0 on success or the system's error number. A line break in the value ends it.
    unsigned int WriteString(const std::string& section, const std::string& key,
                             const std::string& value, bool create) const;

    // The same rules over a file's text, for callers (and fuzzers) that hold it in memory.
    static std::string ReadStringFromText(const std::string& text, const std::string& section,
                                          const std::string& key, const std::string& defaultValue);
    static int ReadSectionFromText(const std::string& text, const std::string& section,
                                   std::vector<std::string>& keys,
                                   std::vector<std::string>& values);
    static std::string WriteStringToText(const std::string& text, const std::string& section,
                                         const std::string& key, const std::string& value);

private:
    std::string m_strPath;
};
