#include "i18n/IniFile.h"
#include "i18n/SettingsFile.h"

#include "TextTestSupport.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    CScratchDir m_dir;
    std::string m_path = m_dir / "test.ini";
    CIniFile m_ini{m_path};
};

} // namespace

TEST_F(IniFileTest, ReadStringMatchesNamesWithoutCaseTrimsAndLimitsTheValue) {
    WriteBytes(m_path, "[other]\r\nkey=wrong\r\n[ Form ]\r\n  Language =  2 \t\r\nEmpty=\r\n"
                       "language=3\r\n[form]\r\nlanguage=4\r\n");
    EXPECT_EQ(m_ini.ReadString("FORM", "LANGUAGE"), "2");
    EXPECT_EQ(m_ini.ReadString("form", "empty"), "");    // present but empty
    EXPECT_EQ(m_ini.ReadString("form", "absent"), "-1"); // missing key
    EXPECT_EQ(m_ini.ReadString("nosuch", "key"), "-1");  // missing section

    // At most 259 characters, counted as such: a UTF-8 text is never cut inside a character.
    std::string value;
    for (int i = 0; i < 300; ++i)
        value += "\xE4\xB8\xAD"; // one CJK character
    WriteBytes(m_path, "[App]\nlong=" + value + "\n");
    EXPECT_EQ(m_ini.ReadString("App", "long"), value.substr(0, 259 * 3));
}

// An empty section reads as one empty entry in place of what was there (a missing file too, as
// the language files' test sees).
TEST_F(IniFileTest, ReadSectionKeepsFileOrderAndRawValuesUpTo9000Characters) {
    std::vector<std::string> keys, values;
    WriteBytes(m_path, "\xEF\xBB\xBF[App]\r\n8888=English\r\n\r\n80502=Close Output Power On \r\n"
                       "no equals here\r\n1055=a=b\r\n1055=second\r\n  [Next]\r\n1=x\r\n");
    ASSERT_EQ(m_ini.ReadSection("app", keys, values), 5);
    EXPECT_EQ(keys, (std::vector<std::string>{"8888", "80502", "", "1055", "1055"}));
    EXPECT_EQ(values, (std::vector<std::string>{"English", "Close Output Power On ",
                                                "no equals here", "a=b", "second"}));

    WriteBytes(m_path, "[App]\n\n[Next]\n1=x\n");
    EXPECT_EQ(m_ini.ReadSection("App", keys, values), 1);
    EXPECT_EQ(keys, std::vector<std::string>{""});
    EXPECT_EQ(values, std::vector<std::string>{""});

    // At most 9000 characters: lines of 99 characters cost 100 with their terminator; 8998 fit
    // before the final two.
    std::string text = "[App]\n";
    for (int i = 0; i < 100; ++i)
        text += std::to_string(1000 + i) + "=" + std::string(94, 'x') + "\n";
    WriteBytes(m_path, text);
    ASSERT_EQ(m_ini.ReadSection("App", keys, values), 90);
    // The last line is cut short.
    EXPECT_EQ(std::tuple(values[88].size(), keys[89], values[89].size()),
              std::tuple(94u, "1089", 93u));
}

TEST_F(IniFileTest, WriteCreatesFileSectionAndKeyOnlyWhenAsked) {
    EXPECT_EQ(m_ini.WriteString("Form", "Language", "2", true), 0u);
    EXPECT_EQ(ReadBytes(m_path), "[Form]\nLanguage=2\n");
    EXPECT_EQ(m_ini.WriteString("Other", "a", "b", true), 0u);
    EXPECT_EQ(ReadBytes(m_path), "[Form]\nLanguage=2\n[Other]\na=b\n");

    // A last line ending in a stray CR still gets a line end before the new section.
    WriteBytes(m_path, "[Other]\nx=1\r");
    EXPECT_EQ(m_ini.WriteString("Form", "Language", "2", true), 0u);
    EXPECT_EQ(std::tuple(m_ini.ReadString("Form", "Language"), m_ini.ReadString("Other", "x")),
              std::tuple("2", "1"));
    WriteBytes(m_path, "[Form]\nLanguage=3\r");
    EXPECT_EQ(m_ini.ReadString("Form", "Language"), "3");

    // Without create only existing keys change.
    WriteBytes(m_path, "[Form]\nEmpty=\n");
    EXPECT_EQ(m_ini.WriteString("Form", "Absent", "1", false), 1u);
    EXPECT_EQ(ReadBytes(m_path), "[Form]\nEmpty=\n");
    EXPECT_EQ(m_ini.WriteString("Form", "Empty", "now", false), 0u);
    EXPECT_EQ(ReadBytes(m_path), "[Form]\nEmpty=now\n");
}

TEST_F(IniFileTest, WriteKeepsEveryOtherLineAsItWas) {
    const std::string before = "; comment\r\n[Form]\r\n  LANGUAGE = 1 \r\nWidth=3\r\n\r\n"
                               "[View]\r\nLanguage=9";
    WriteBytes(m_path, before);
    EXPECT_EQ(m_ini.WriteString("form", "Language", "2", true), 0u);
    EXPECT_EQ(ReadBytes(m_path), "; comment\r\n[Form]\r\nLanguage=2\r\nWidth=3\r\n\r\n"
                                 "[View]\r\nLanguage=9");
    // A new key goes after the section's last line, before the blank separator.
    EXPECT_EQ(m_ini.WriteString("Form", "Height", "4\r\nInjected=1", true), 0u);
    EXPECT_EQ(ReadBytes(m_path), "; comment\r\n[Form]\r\nLanguage=2\r\nWidth=3\r\nHeight=4\r\n"
                                 "\r\n[View]\r\nLanguage=9");
    EXPECT_EQ(m_ini.WriteString("View", "x", "y", true), 0u);
    EXPECT_EQ(std::tuple(m_ini.ReadString("View", "x"), m_ini.ReadString("View", "Language")),
              std::tuple("y", "9"));
}

TEST(SettingsFile, StoresTheLanguageIndexInConfigIni) {
    CScratchDir dir;
    CSettingsFile settings(dir.Path() + "/");
    EXPECT_EQ(settings.LoadLanguage(), -1);
    EXPECT_EQ(settings.SaveLanguage(2), 0u); // the round trip is in the next test's table
    EXPECT_EQ(ReadBytes(dir / "config.ini"), "[Form]\nLanguage=2\n");
    for (const auto& [text, language] : {std::pair("abc", 0), {"-3x", -3}}) {
        WriteBytes(dir / "config.ini", "[Form]\nLanguage=" + std::string(text) + "\n");
        EXPECT_EQ(settings.LoadLanguage(), language) << text;
    }
    EXPECT_EQ(CSettingsFile::TextToInt("99999999999"), 2147483647);
    EXPECT_EQ(CSettingsFile::TextToInt("-99999999999"), -2147483647 - 1);
}

// config.ini as something else left it: the program starts with what the file still says (or
// the built-in language), and a save either goes through or leaves the file as it was.
TEST(SettingsFile, StartsFromWhateverConfigIniHoldsAndNeverSavesHalf) {
    enum class Kind { File, Folder, Pipe };
    // Name, kind, the file's first bytes (the rest up to its size reads as zeros), size, mode,
    // the language loaded, the save's error.
    using SettingsCase = std::tuple<const char*, Kind, std::string, off_t, mode_t, int, unsigned>;
    const std::string named = "[Form]\nLanguage=3\n";
    const SettingsCase cases[] = {
        {"empty", Kind::File, "", 0, 0644, -1, 0},
        {"binary junk", Kind::File, std::string("\0\xFF[Form\n=\x01\r\n\xFE", 12), 0, 0644, -1, 0},
        {"read-only", Kind::File, named, 0, 0444, 3, EACCES},
        {"one line of 50 MB", Kind::File, "", off_t(50) << 20, 0644, -1, 0},
        {"too big to rewrite", Kind::File, named, off_t(80) << 20, 0644, 3, EFBIG},
        {"folder", Kind::Folder, "", 0, 0755, -1, EISDIR},
        {"pipe", Kind::Pipe, "", 0, 0644, -1, EIO},
    };
    for (const auto& [name, kind, head, size, mode, loads, saveError] : cases) {
        CScratchDir dir;
        const std::string path = dir / "config.ini";
        if (kind == Kind::Folder)
            std::filesystem::create_directory(path);
        else if (kind == Kind::Pipe)
            ::mkfifo(path.c_str(), mode);
        else
            WriteBytes(path, head);
        if (size)
            std::filesystem::resize_file(path, std::uintmax_t(size));
        ::chmod(path.c_str(), mode);
        const auto before = std::filesystem::status(path).type();
        CSettingsFile settings(dir.Path());

        EXPECT_EQ(settings.LoadLanguage(), loads) << name;
        EXPECT_EQ(settings.SaveLanguage(4), saveError) << name;
        EXPECT_EQ(settings.LoadLanguage(), saveError ? loads : 4) << name;
        EXPECT_EQ(std::filesystem::status(path).type(), before) << name;
        if (saveError && kind == Kind::File) {
            EXPECT_EQ(std::filesystem::file_size(path),
                      std::uintmax_t(size ? size : off_t(head.size())))
                << name;
            EXPECT_EQ(ReadBytes(path).substr(0, head.size()), head) << name;
        }
        EXPECT_EQ(CountEntries(dir.Path()), 1) << name;
    }
}
