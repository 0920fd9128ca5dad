#pragma once
#include "i18n/FileList.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

/// The current interface language: its texts by numeric key, the list of language files
/// ("*.lug" below the "language" folder beside the program) and the built-in English file.
class CLanguageManager {
public:
    /// Key of a language's own name.
    static constexpr int kNameKey = 8888;

    /// appDir: the program's folder, with or without a trailing "/"; empty: the current folder.
    explicit CLanguageManager(std::string appDir = {});

    void SetAppDir(std::string appDir);
    const std::string& GetAppDir() const { return m_strAppDir; }
    /// Where the message about an overfull language folder goes (default: standard error).
    void SetMessageHandler(std::function<void(const std::string&)> handler);

    /// Writes the built-in file to the temporary folder, then lists the language files again.
    void RefreshLanguageFiles();
    /// Lists the language files again without rewriting the built-in file. The current language
    /// stays the file it was, wherever that file now stands in the list (its texts are read
    /// again); when the file is gone the built-in language becomes current. Returns whether the
    /// list changed; an unchanged list leaves everything as it was.
    bool RescanLanguageFiles();
    /// Clamps index to -1 (built-in English) .. count - 1, makes it current and loads it.
    void SelectLanguage(int index);
    /// Fills the text table from the language's file (-1: the built-in one), then appends the
    /// keys 8050402, 8050403, ... that name the language files in the Language submenu.
    void LoadLanguage(int index);

    int GetCurrentLanguage() const { return m_nCurrent; }
    int GetLanguageCount() const { return m_fileList.GetCount(); }
    /// "English" for -1; else the file's key 8888 ("-1" when absent), or its relative path
    /// without extension when that value is empty, as read when the files were listed.
    std::string GetLanguageName(int index) const;
    /// Returned by FindLanguage for a name no language has.
    static constexpr int kNoLanguage = -2;
    /// The index of the language called name, ignoring case: its own name (key 8888) or its
    /// file's name or path without extension ("German", "Czech", "sub/Czech"); "English" and
    /// "Default(En)" are the built-in one (-1). kNoLanguage when none matches.
    int FindLanguage(const std::string& name) const;
    /// Full path of language file index (an index past the end is the last file); empty for -1
    /// or when there are no files.
    std::string GetLanguageFilePath(int index) const;
    /// The text of key id (keys compared as written, first one wins), or the empty string.
    std::string GetText(int id) const;

    /// Full path of the written built-in file; empty when it could not be written.
    const std::string& GetDefaultFilePath() const { return m_strDefaultPath; }
    /// Writes the built-in file as "default.lug" into the temporary folder.
    bool WriteDefaultLanguageFile();
    /// $TMPDIR, else the session's $XDG_RUNTIME_DIR when writable, else /tmp; no trailing "/".
    static std::string TempFolder();

    // The current table, in file order, for re-texting windows and menus.
    const std::vector<std::string>& GetKeys() const { return m_keys; }
    const std::vector<std::string>& GetTexts() const { return m_texts; }
    /// Text of the first key written exactly as key (menu items); false when there is none.
    bool FindText(const std::string& key, std::string& text) const;
    /// Text of the first key whose leading digits read as id ("0136" matches 136): controls
    /// and dialog captions. False when there is none.
    bool FindControlText(int id, std::string& text) const;
    /// Key of a menu item from its positions, menu bar first (1 to 4 levels, each 0..99):
    /// {0} is 800, {0, 11} is 80011, {5, 4, 0} is 8050400. -1 for anything else.
    static int MenuKey(const std::vector<int>& positions);

private:
    std::string LanguageFolder() const;
    /// Reads each listed file's name once, so that neither a menu nor a language change opens
    /// every file again.
    void ReadNames();

    std::string m_strAppDir;
    int m_nCurrent = -1;
    std::vector<std::string> m_keys;
    std::vector<std::string> m_texts;
    std::unordered_map<std::string, std::size_t> m_firstOfKey; ///< Into m_keys and m_texts.
    CFileList m_fileList;
    std::vector<std::string> m_names; ///< GetLanguageName of each listed file.
    std::string m_strDefaultPath;
    std::function<void(const std::string&)> m_showMessage;
};
