#pragma once
#include <string>

/// The program's one setting between runs, the language index, in "config.ini" beside the
/// program (section "Form", key "Language").
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

    /// Leading blanks, an optional sign and the digits that follow, as a decimal int; 0 when
    /// there are none. Saturates instead of overflowing.
    static int TextToInt(const std::string& text);

private:
    std::string m_strPath;
};
