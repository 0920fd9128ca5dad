#include "i18n/DefaultLanguage.h"
#include "i18n/FileList.h"
#include "i18n/LanguageManager.h"

#include "TextTestSupport.h"

#include <gtest/gtest.h>

namespace {

/// A program folder with language files, and the temporary folder pointed at a scratch one.
class LanguageTest : public ::testing::Test {
protected:
    void AddLanguage(const std::string& relative, const std::string& text) {
        WriteBytes(m_app / ("language/" + relative), text);
    }

    CScratchDir m_app;
    CScratchDir m_tmp;
    CScopedEnv m_tmpEnv{"TMPDIR", m_tmp.Path().c_str()};
};

} // namespace

TEST_F(LanguageTest, WritesTheBuiltInFileAndReadsItsKeysInOrder) {
    CLanguageManager manager(m_app.Path());
    manager.RefreshLanguageFiles();
    EXPECT_EQ(ReadBytes(m_tmp / "default.lug"), CDefaultLanguage::Bytes());

    manager.SelectLanguage(-1);
    // Values are kept as written; of two equal keys the first counts.
    EXPECT_EQ(std::tuple(manager.GetText(8888), manager.GetText(80001), manager.GetText(2011),
                         manager.GetText(1055).rfind("DDS-Tarn USB Version", 0)),
              std::tuple("English", "&Close ", "", 0u));

    // Without TMPDIR the session's own folder, not the /tmp that other users share.
    m_tmpEnv.Set(nullptr);
    CScopedEnv runtime("XDG_RUNTIME_DIR", m_tmp.Path().c_str());
    EXPECT_EQ(CLanguageManager::TempFolder(), m_tmp.Path());
    runtime.Set((m_tmp / "nosuch").c_str());
    EXPECT_EQ(CLanguageManager::TempFolder(), "/tmp");
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
    const auto note = [&messages](const std::string& text) { messages.push_back(text); };
    CFileList fits;
    fits.SetMessageHandler(note);
    EXPECT_TRUE(fits.FindFiles(root.Path(), "*.lug") && messages.empty());

    std::filesystem::create_directory(root / "one-more");
    CFileList overflows;
    overflows.SetMessageHandler(note);
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

    const std::string names[] = {"English", "empty", "-1", "Deutsch"};
    for (int i = -1; i < 3; ++i)
        EXPECT_EQ(three.GetLanguageName(i), names[i + 1]);
}

TEST_F(LanguageTest, LoadsFileKeysFirstThenTheLanguageMenuKeys) {
    AddLanguage("a.lug",
                "[App]\r\n8888=Alpha\r\n1104=Sinus\r\n1104=Ignored\r\n8050402=Own entry\r\n");
    AddLanguage("b.lug", "[App]\r\n8888=Beta\r\n");
    CLanguageManager manager(m_app.Path());
    manager.RefreshLanguageFiles();
    manager.SelectLanguage(0);

    // Which of two equal keys wins, and a key's leading zeros, are the window texts' test.
    EXPECT_EQ(manager.GetKeys(),
              (std::vector<std::string>{"8888", "1104", "1104", "8050402", "8050402", "8050403"}));
    EXPECT_EQ(std::tuple(manager.GetText(8050402), manager.GetText(8050403)),
              std::tuple("Own entry", "Beta"));
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

    m_tmpEnv.Set((m_tmp / "nosuch").c_str());
    CLanguageManager noTemp(m_app.Path());
    noTemp.RefreshLanguageFiles();
    noTemp.SelectLanguage(-1);
    EXPECT_EQ(noTemp.GetDefaultFilePath() + noTemp.GetText(8888), "");
}

// No path, a position of 100 or more, or more than four levels give no key.
TEST(LanguageManager, MenuKeysSpellThePositionPath) {
    const std::pair<std::vector<int>, int> cases[] = {
        {{0}, 800}, {{0, 11}, 80011}, {{5, 4, 0}, 8050400}, {{1, 2, 3, 4}, 801020304},
        {{}, -1},   {{100}, -1},      {{1, 2, 3, 4, 5}, -1}};
    for (const auto& [path, key] : cases)
        EXPECT_EQ(CLanguageManager::MenuKey(path), key) << path.size();
}

// A language folder as something else left it: what can be read is listed, links that lead
// round are not followed, and neither junk nor a huge file is read further than needed.
TEST_F(LanguageTest, StrangeFoldersListWhatCanBeRead) {
    for (int i = 0; i < 10000; ++i)
        AddLanguage("many/" + std::to_string(i) + ".lug", "");
    AddLanguage("junk.lug", std::string("\0\xFF\n[App\n=\n\xFE", 11));
    AddLanguage("huge.lug", "[App]\n8888=Huge\n1104=Sinus\n");
    std::filesystem::resize_file(m_app / "language/huge.lug", std::uintmax_t(100) << 20);
    std::filesystem::create_directory_symlink(".", m_app / "language/loop");
    std::filesystem::create_symlink("b.lug", m_app / "language/a.lug");
    std::filesystem::create_symlink("a.lug", m_app / "language/b.lug");
    std::vector<std::string> messages;
    CLanguageManager manager(m_app.Path());
    manager.SetMessageHandler([&messages](const std::string& text) { messages.push_back(text); });
    manager.RefreshLanguageFiles();

    ASSERT_EQ(manager.GetLanguageCount(), 10002);
    manager.SelectLanguage(0);
    EXPECT_EQ(std::tuple(manager.GetLanguageFilePath(2), manager.GetLanguageName(0),
                         manager.GetLanguageName(1), manager.GetText(1104), messages.size()),
              std::tuple(m_app / "language/many/0.lug", "Huge", "-1", "Sinus", 0u));
}
