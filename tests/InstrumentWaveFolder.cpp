// The waveform folder: remote names resolve beneath it or are refused with the SCPI file-name
// errors, and its file calls never follow a link out of it.
#include "instrument/WaveFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Kind = CWaveFolder::Kind;

std::string Contents(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// <root>/outside.csv beside <root>/waves, which holds b.csv, sub/a.csv and links of each kind.
class WaveFolder : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_waves / "sub");
        std::ofstream(m_root / "outside.csv") << "secret";
        std::ofstream(m_waves / "b.csv") << "bb";
        std::ofstream(m_waves / "sub" / "a.csv") << "a";
        fs::create_symlink("../outside.csv", m_waves / "out");
        fs::create_symlink(m_root / "outside.csv", m_waves / "abs");
        fs::create_symlink("..", m_waves / "up");
        fs::create_symlink("../b.csv", m_waves / "sub" / "in");
        fs::create_symlink("sub", m_waves / "subl");
        fs::create_symlink("loop", m_waves / "loop");
        fs::create_symlink(".", m_waves / "here");
    }
    void TearDown() override { fs::remove_all(m_root); }

    const fs::path m_root =
        fs::path(::testing::TempDir()) / ("wave_folder_" + std::to_string(::getpid()));
    const fs::path m_waves = m_root / "waves";
    CWaveFolder m_folder{m_waves.string()};
};

TEST_F(WaveFolder, NamesResolveBeneathTheFolderOrAreRefused) {
    const std::string longPart(CWaveFolder::kMaxPart + 1, 'x');
    std::string longName;
    while (longName.size() <= CWaveFolder::kMaxName)
        longName += "abcdefg/";
    longName += "x.csv";
    // Name, kind, error, where it leads (relative to the folder).
    const std::tuple<std::string, Kind, int, std::string> rows[] = {
        {"b.csv", Kind::File, 0, "b.csv"},
        {"./sub//a.csv", Kind::File, 0, "sub/a.csv"},
        {"sub\\a.csv", Kind::File, 0, "sub/a.csv"},
        {"new.csv", Kind::File, 0, "new.csv"},
        {"sub/in", Kind::File, 0, "b.csv"},         // a link that stays inside
        {"subl/a.csv", Kind::File, 0, "sub/a.csv"}, // through a link to a folder inside
        {"out", Kind::FileItself, 0, "out"},        // the link itself, for DELete
        {"", Kind::Folder, 0, ""},
        {"subl", Kind::Folder, 0, "sub"},
        {"/etc/passwd", Kind::File, -257, ""}, // absolute
        {"\\etc\\passwd", Kind::File, -257, ""},
        {"..", Kind::Folder, -257, ""},
        {"../outside.csv", Kind::File, -257, ""},
        {"sub/../../outside.csv", Kind::File, -257, ""}, // nested a/../..
        {"sub/../b.csv", Kind::File, -257, ""},          // ".." is refused even when it stays
        {"out", Kind::File, -257, ""},                   // a link to a file outside
        {"abs", Kind::File, -257, ""},                   // an absolute link
        {"up/outside.csv", Kind::File, -257, ""},        // a link to the folder's parent
        {"up", Kind::Folder, -257, ""},
        {"loop", Kind::File, -257, ""},   // a link to itself
        {"here", Kind::File, -257, ""},   // a file name that is the folder
        {"", Kind::File, -257, ""},       // empty
        {longName, Kind::File, -257, ""}, // too long
        {longPart + ".csv", Kind::File, -257, ""},
        {"sub/", Kind::File, -257, ""},
        {std::string("a\0b", 3), Kind::File, -257, ""},
        {"b.csv", Kind::Folder, -257, ""},
        {"missing/x.csv", Kind::File, -256, ""},
        {"b.csv/x.csv", Kind::File, -256, ""},
        {"missing", Kind::Folder, -256, ""},
    };
    for (const auto& [name, kind, error, relative] : rows) {
        SCOPED_TRACE("\"" + name + "\" as kind " + std::to_string(int(kind)));
        const CWaveFolder::CName resolved = m_folder.Resolve(name, kind);
        EXPECT_EQ(resolved.Error(), error) << resolved.Info();
        if (error == 0)
            EXPECT_EQ(resolved.Relative(), relative);
        else
            EXPECT_EQ(resolved.Dir(), -1);
    }
    EXPECT_EQ(Contents(m_root / "outside.csv"), "secret");
}

TEST_F(WaveFolder, FileCallsNeverFollowALinkPlantedAfterTheName) {
    const CWaveFolder::CName name = m_folder.Resolve("x.csv");
    ASSERT_EQ(name.Error(), 0);
    fs::create_symlink(m_root / "outside.csv", m_waves / "x.csv");
    std::string bytes;
    EXPECT_EQ(CWaveFolder::Read(name, bytes, 100), ELOOP);
    EXPECT_EQ(bytes, "");
    // The link's place is taken by the new file; what it named stays as it was.
    EXPECT_EQ(CWaveFolder::Replace(name, "new"), 0);
    EXPECT_EQ(Contents(m_root / "outside.csv"), "secret");
    EXPECT_EQ(Contents(m_waves / "x.csv"), "new");
    EXPECT_FALSE(fs::is_symlink(m_waves / "x.csv"));

    // A folder part swapped for a link after resolution: the open folder is used, not the
    // name, so the file lands where the name was resolved.
    const CWaveFolder::CName inSub = m_folder.Resolve("sub/y.csv");
    ASSERT_EQ(inSub.Error(), 0);
    fs::rename(m_waves / "sub", m_waves / "sub.old");
    fs::create_symlink(m_root, m_waves / "sub");
    EXPECT_EQ(CWaveFolder::Replace(inSub, "y"), 0);
    EXPECT_FALSE(fs::exists(m_root / "y.csv"));
    EXPECT_EQ(Contents(m_waves / "sub.old" / "y.csv"), "y");
}

TEST_F(WaveFolder, NewFoldersAre0700AndNewFiles0600WhileOldFilesKeepTheirMode) {
    const mode_t mask = ::umask(0);
    fs::remove_all(m_waves);
    const CWaveFolder deeper((m_waves / "more").string());
    const CWaveFolder::CName name = deeper.Resolve("w.csv"); // makes the folders
    ::umask(mask);
    ASSERT_EQ(name.Error(), 0) << name.Info();
    ASSERT_EQ(CWaveFolder::Replace(name, "w"), 0);
    struct stat st;
    const std::pair<fs::path, mode_t> modes[] = {
        {m_waves, 0700}, {m_waves / "more", 0700}, {m_waves / "more" / "w.csv", 0600}};
    for (const auto& [path, mode] : modes) {
        ASSERT_EQ(::stat(path.c_str(), &st), 0) << path;
        EXPECT_EQ(st.st_mode & 07777, mode) << path;
    }
    ::chmod((m_waves / "more" / "w.csv").c_str(), 0640);
    ASSERT_EQ(CWaveFolder::Replace(name, "again"), 0);
    ASSERT_EQ(::stat((m_waves / "more" / "w.csv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // Nothing of the writing is left beside the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_waves / "more"), fs::directory_iterator()), 1);
}

} // namespace
