#include "i18n/DefaultLanguage.h"
#include "i18n/FileList.h"
#include "i18n/IniFile.h"
#include "i18n/LanguageManager.h"

#include "TextTestSupport.h"

#include <gtest/gtest.h>

namespace {

/// The built-in file's keys in order; "a-b" stands for every key from a to b.
std::vector<std::string> ExpectedBuiltInKeys() {
    std::istringstream list(
        "8888 100 134-145 1055 1117 1127 1048 800 80000-80011 801 80100-80102 802 80200-80204 "
        "803 80300-80305 804 80400-80406 805 80500-80504 8050400 8050401 806 80600 80601 807 "
        "80700-80702 1097 1098 1099 1101 1102 1103 1104 1053 1105 1100 1106 1252 1107 1242 1243 "
        "1244 1108 1109 1110 1111 1112 1113 1115 1114 1070 1071 1120 1122 1121 1051 1052 1123 "
        "1126 1055 1124 1125 1129 1130 1131 1088 1087 1132 1133 1062 1068 1134 1135 1136 1137 "
        "1138 1141 1139 1140 1142 1143 2000-2010 2012 2013 2014 2016-2021 2024 2026-2030 2070 "
        "2069 57600 57601 57603 57607 57634 32797 32798 57667");
    std::vector<std::string> keys;
    for (std::string item; list >> item;) {
        const std::size_t dash = item.find('-');
        const int first = std::stoi(item.substr(0, dash));
        const int last = dash == std::string::npos ? first : std::stoi(item.substr(dash + 1));
        for (int key = first; key <= last; ++key)
            keys.push_back(std::to_string(key));
    }
    return keys;
}

/// A program folder with language files, and the temporary folder pointed at a scratch one.
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        m_oldTmp = old ? old : "";
        m_hadTmp = old != nullptr;
        ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
    }
    void TearDown() override {
        if (m_hadTmp)
            ::setenv("TMPDIR", m_oldTmp.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    void AddLanguage(const std::string& relative, const std::string& text) {
        WriteBytes(m_app / ("language/" + relative), text);
    }

    CScratchDir m_app;
    CScratchDir m_tmp;
    std::string m_oldTmp;
    bool m_hadTmp = false;
};

} // namespace

TEST(BuiltInLanguage, IsTheResourceFileByteForByte) {
    const std::string file = ReadBytes(DDSTARN_SOURCE_DIR "/res/DefaultLanguage.lug");
    const std::string_view bytes = CDefaultLanguage::Bytes();
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(bytes, file);
    EXPECT_EQ(bytes.substr(0, 7), "[App]\r\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n"); // ends with an empty line

    // CR LF everywhere: header, 162 texts and the empty last line.
    std::size_t lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++lines;
            EXPECT_EQ(bytes[i - 1], '\r') << "bare LF at byte " << i;
        }
    }
    EXPECT_EQ(lines, 164u);
    EXPECT_NE(bytes.find("\r\n8888=English\r\n"), std::string_view::npos);
}

TEST_F(LanguageTest, WritesTheBuiltInFileAndReadsItsKeysInOrder) {
    CLanguageManager manager(m_app.Path());
    manager.RefreshLanguageFiles();
    ASSERT_EQ(manager.GetDefaultFilePath(), m_tmp / "default.lug");
    EXPECT_EQ(ReadBytes(manager.GetDefaultFilePath()), CDefaultLanguage::Bytes());

    std::vector<std::string> keys, values;
    EXPECT_EQ(CIniFile(manager.GetDefaultFilePath()).ReadSection("App", keys, values), 162);
    EXPECT_EQ(keys, ExpectedBuiltInKeys());

    manager.SelectLanguage(-1);
    EXPECT_EQ(manager.GetText(8888), "English");
    EXPECT_EQ(manager.GetText(80001), "&Close ");
    EXPECT_EQ(manager.GetText(57607), "Print ");
    EXPECT_EQ(manager.GetText(1103), "GauseNoise");
    EXPECT_EQ(manager.GetText(1055).rfind("DDS-Tarn USB Version", 0), 0u); // first of two
    EXPECT_EQ(manager.GetText(2011), "");
}

TEST(FileList, WalksTheTreeLevelByLevelMatchingTheEndIgnoringCase) {
    CScratchDir root;
    for (const char* name :
         {"b.lug", "A.LUG", "notes.txt", "catalug", "lu", "sub2/z.Lug", "sub1/x.lug",
          "sub1/deeper/y.lug", "sub1/deeper/skip.lu", "sub2/more/w.lug"})
        WriteBytes(root / name, "x");
    std::filesystem::create_directories(root / "empty");

    CFileList lugs;
    EXPECT_TRUE(lugs.FindFiles(root.Path() + "/", "*.lug"));
    EXPECT_EQ(lugs.GetFiles(),
              (std::vector<std::string>{"A.LUG", "b.lug", "catalug", "sub1/x.lug", "sub2/z.Lug",
                                        "sub1/deeper/y.lug", "sub2/more/w.lug"}));

    CFileList all;
    EXPECT_TRUE(all.FindFiles(root.Path(), "*.*"));
    EXPECT_EQ(all.GetCount(), 10);

    CFileList missing;
    EXPECT_TRUE(missing.FindFiles(root / "nosuch", "*.lug"));
    EXPECT_EQ(missing.GetCount(), 0);
}

TEST(FileList, StopsWithAMessageWhenTooManyFoldersWait) {
    // The ring keeps one slot free: 4159 waiting folders fit, 4160 do not.
    CScratchDir root;
    WriteBytes(root / "a.lug", "x");
    for (int i = 0; i < CFileList::kQueueSlots - 1; ++i)
        std::filesystem::create_directory(root / ("d" + std::to_string(i)));
    std::vector<std::string> messages;
    CFileList fits;
    fits.SetMessageHandler([&messages](const std::string& text) { messages.push_back(text); });
    EXPECT_TRUE(fits.FindFiles(root.Path(), "*.lug"));
    EXPECT_TRUE(messages.empty());

    std::filesystem::create_directory(root / "one-more");
    CFileList overflows;
    overflows.SetMessageHandler([&messages](const std::string& text) { messages.push_back(text); });
    EXPECT_FALSE(overflows.FindFiles(root.Path(), "*.lug"));
    EXPECT_EQ(messages, std::vector<std::string>{CFileList::kTooManyFoldersMessage});
    EXPECT_EQ(overflows.GetFiles(), std::vector<std::string>{"a.lug"});
}

TEST_F(LanguageTest, ClampsTheSelectionAndNamesLanguages) {
    CLanguageManager none(m_app.Path());
    none.RefreshLanguageFiles();
    none.SelectLanguage(3);
    EXPECT_EQ(none.GetCurrentLanguage(), -1);

    AddLanguage("de/Deutsch.lug", "[App]\n8888=  Deutsch \n");
    AddLanguage("empty.lug", "[App]\n8888=\n");
    AddLanguage("noname.v2.lug", "[App]\n100=About\n");
    CLanguageManager three(m_app.Path());
    three.RefreshLanguageFiles();
    ASSERT_EQ(three.GetLanguageCount(), 3);
    three.SelectLanguage(5);
    EXPECT_EQ(three.GetCurrentLanguage(), 2);
    EXPECT_EQ(three.GetText(8888), "  Deutsch "); // the table keeps the text as written
    three.SelectLanguage(-7);
    EXPECT_EQ(three.GetCurrentLanguage(), -1);
    EXPECT_EQ(three.GetLanguageFilePath(9), m_app / "language/de/Deutsch.lug");

    EXPECT_EQ(three.GetLanguageName(-1), "English");
    EXPECT_EQ(three.GetLanguageName(0), "empty");
    EXPECT_EQ(three.GetLanguageName(1), "-1");
    EXPECT_EQ(three.GetLanguageName(2), "Deutsch");
}

TEST_F(LanguageTest, LoadsFileKeysFirstThenTheLanguageMenuKeys) {
    AddLanguage("a.lug", "[App]\r\n8888=Alpha\r\n0136=Leading zero\r\n1104=Sinus\r\n"
                         "1104=Ignored\r\n8050402=Own entry\r\n");
    AddLanguage("b.lug", "[App]\r\n8888=Beta\r\n");
    CLanguageManager manager(m_app.Path());
    manager.RefreshLanguageFiles();
    manager.SelectLanguage(0);

    EXPECT_EQ(manager.GetKeys(), (std::vector<std::string>{"8888", "0136", "1104", "1104",
                                                           "8050402", "8050402", "8050403"}));
    EXPECT_EQ(manager.GetText(1104), "Sinus");
    EXPECT_EQ(manager.GetText(8050402), "Own entry");
    EXPECT_EQ(manager.GetText(8050403), "Beta");
    EXPECT_EQ(manager.GetText(136), "");
    std::string text;
    EXPECT_TRUE(manager.FindControlText(136, text));
    EXPECT_EQ(text, "Leading zero");
    EXPECT_FALSE(manager.FindControlText(137, text));
}

TEST_F(LanguageTest, UnreadableFilesGiveNoTexts) {
    AddLanguage("gone.lug", "[App]\n8888=Gone\n");
    CLanguageManager manager(m_app.Path());
    manager.RefreshLanguageFiles();
    std::filesystem::remove(m_app / "language/gone.lug");
    manager.SelectLanguage(0);
    // One empty entry from the reader, then the Language submenu key.
    EXPECT_EQ(manager.GetKeys(), (std::vector<std::string>{"", "8050402"}));
    EXPECT_EQ(manager.GetText(8888), "");

    ::setenv("TMPDIR", (m_tmp / "nosuch").c_str(), 1);
    CLanguageManager noTemp(m_app.Path());
    noTemp.RefreshLanguageFiles();
    noTemp.SelectLanguage(-1);
    EXPECT_EQ(noTemp.GetDefaultFilePath(), "");
    EXPECT_EQ(noTemp.GetText(8888), "");
}

TEST(LanguageManager, MenuKeysSpellThePositionPath) {
    EXPECT_EQ(CLanguageManager::MenuKey({0}), 800);
    EXPECT_EQ(CLanguageManager::MenuKey({0, 11}), 80011);
    EXPECT_EQ(CLanguageManager::MenuKey({5, 4, 0}), 8050400);
    EXPECT_EQ(CLanguageManager::MenuKey({1, 2, 3, 4}), 801020304);
    EXPECT_EQ(CLanguageManager::MenuKey({}), -1);
    EXPECT_EQ(CLanguageManager::MenuKey({100}), -1);
    EXPECT_EQ(CLanguageManager::MenuKey({1, 2, 3, 4, 5}), -1);
}
