#include "i18n/LanguageManager.h"
#include "i18n/ProgramPaths.h"

#include "TextTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

namespace {

// A root holding an installed tree: prefix/bin (the program), prefix/share/ddstarn-usb and the
// user's configuration home.
const std::string kBin = "prefix/bin";
const std::string kShare = "prefix/share/ddstarn-usb";
const std::string kUser = "home/ddstarn-usb";
const char* const kIni[] = {"[Form]\nLanguage=0\n", "[Form]\nLanguage=1\n", "[Form]\nLanguage=2\n"};

// A layout in two lines: its name, the folders made below the root, config.ini beside the
// program and in the user's folder (null: none); then the folders found for the languages, the
// manual and the settings, and the config.ini there after preparing.
using Layout = std::tuple<const char*, std::vector<std::string>, const char*, const char*,
                          std::string, std::string, std::string, const char*>;
// clang-format off
const Layout kLayouts[] = {
    {"portable", {kBin + "/language", kBin + "/help"}, nullptr, nullptr,
     kBin, kBin + "/help", kBin, nullptr},
    {"installed", {kBin, kShare + "/language", kShare + "/help"}, nullptr, nullptr,
     kShare, kShare + "/help", kUser, nullptr},
    {"beside first", {kBin + "/language", kShare + "/language", kShare + "/help"}, nullptr, nullptr,
     kBin, kShare + "/help", kUser, nullptr},
    {"installed takes the old settings along", {kBin, kShare + "/help"}, kIni[1], nullptr,
     kBin, kShare + "/help", kUser, kIni[1]},
    {"installed keeps the user's own", {kBin, kShare}, kIni[1], kIni[0],
     kBin, kBin + "/help", kUser, kIni[0]},
    {"portable takes the user's along", {kBin}, nullptr, kIni[2],
     kBin, kBin + "/help", kBin, kIni[2]},
};
// clang-format on

} // namespace

TEST(ProgramPaths, FindsShippedFilesBesideFirstAndSettingsWhereTheyMayBeWritten) {
    for (const auto& [name, folders, besideIni, userIni, language, manual, settings, settingsIni] :
         kLayouts) {
        SCOPED_TRACE(name);
        CScratchDir root;
        for (const std::string& folder : folders)
            std::filesystem::create_directories(root / folder);
        if (besideIni)
            WriteBytes(root / (kBin + "/config.ini"), besideIni);
        if (userIni)
            WriteBytes(root / (kUser + "/config.ini"), userIni);

        // A trailing slash must not leak into what is shown.
        const CProgramPaths paths(root / kBin + "/", root / "home");
        EXPECT_EQ(paths.LanguageBase(), root / language);
        EXPECT_EQ(paths.ManualFolder(), root / manual);
        EXPECT_EQ(paths.PrepareSettingsFolder(), root / settings);
        if (settingsIni) {
            EXPECT_EQ(ReadBytes(root / (settings + "/config.ini")), settingsIni);
        }
        if (settings == kUser && !userIni) { // made now, for this user's eyes alone
            struct stat folder {};
            struct stat file {};
            ASSERT_EQ(::stat((root / kUser).c_str(), &folder), 0);
            ASSERT_EQ(::stat((root / (kUser + "/config.ini")).c_str(), &file), 0);
            EXPECT_EQ(std::pair(folder.st_mode & 07777, file.st_mode & 07777),
                      std::pair(mode_t(0700), mode_t(0600)));
        }
        if (besideIni) { // the old file stays for whoever else runs this program
            EXPECT_EQ(ReadBytes(root / (kBin + "/config.ini")), besideIni);
        }
    }
}

TEST(ProgramPaths, UserFolderFollowsTheBaseDirectoryVariables) {
    CScopedEnv home("HOME", "/home/lab");
    CScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(CProgramPaths("/opt/x/bin").UserConfigFolder(), "/cfg/ddstarn-usb");
    xdg.Set("relative/cfg"); // not absolute: ignored
    EXPECT_EQ(CProgramPaths("/opt/x/bin").UserConfigFolder(), "/home/lab/.config/ddstarn-usb");
    home.Set(nullptr);
    xdg.Set(nullptr);
    EXPECT_TRUE(CProgramPaths("/opt/x/bin").KeepsSettingsBeside()); // no home to go to
}

TEST(LanguageManager, FindsALanguageByItsOwnNameOrItsFileIgnoringCase) {
    CScratchDir app;
    CScratchDir tmp;
    CScopedEnv tmpEnv("TMPDIR", tmp.Path().c_str());
    WriteBytes(app / "language/German.lug", "[App]\n8888=Deutsch\n");
    WriteBytes(app / "language/more/Czech.lug", "[App]\n8888=\n");
    CLanguageManager manager(app.Path());
    manager.RefreshLanguageFiles();
    constexpr int kNone = CLanguageManager::kNoLanguage;
    const std::pair<const char*, int> cases[] = {
        {"Deutsch", 0},      {"german", 0}, {"more/czech", 1}, {"English", -1},
        {"default(en)", -1}, {"Czech", 1},  {"", kNone},       {"Deutsc", kNone}};
    for (const auto& [name, index] : cases)
        EXPECT_EQ(manager.FindLanguage(name), index) << name;
}
