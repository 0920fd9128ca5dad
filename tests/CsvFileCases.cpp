#include "engine/DDSDevice.h"
#include "formats/CsvFile.h"
#include "i18n/FileAccess.h"
#include "i18n/IniFile.h"

#include "TextTestSupport.h"

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Files and folders that misbehave, for both writers that replace a file (the CSV save and
// config.ini) and for opening a CSV file. Tests run as root, so permissions cannot make a write
// fail: a full disk is a file size limit in a child process.

namespace {

// Name; the error expected (0: the save goes through); the mode of the file already there (0:
// there is none); through a link; the file size limit; what making a new file in the folder fails
// with; digits of the language in the file already there.
const std::tuple<const char*, int, mode_t, bool, rlim_t, int, int> kSaveCases[] = {
    {"read-only file", EACCES, 0444, false, RLIM_INFINITY, 0, 1},
    {"read-only file behind a link", EACCES, 0444, true, RLIM_INFINITY, 0, 1},
    {"symbolic link", 0, 0644, true, RLIM_INFINITY, 0, 1},
    {"disk fills up", EFBIG, 0644, false, 8, 0, 1},
    // The file is rewritten where it is when its folder takes no new one.
    {"folder refuses new files", 0, 0644, false, RLIM_INFINITY, EACCES, 1},
    {"link into a read-only folder", 0, 0644, true, RLIM_INFINITY, EROFS, 1},
    {"disk fills up in a refusing folder", EFBIG, 0644, false, 8, EPERM, 1},
    {"shorter file in a refusing folder", 0, 0644, false, RLIM_INFINITY, EACCES, 200},
    {"no file in a refusing folder", EACCES, 0, false, RLIM_INFINITY, EACCES, 1},
};

/// Saves in a child (the size limit must not reach the test) and tells whether the outcome is
/// the expected one: the error number, the CSV save's message, the device as it was on failure.
bool SavesAsExpected(bool ini, const std::string& path, int expected, rlim_t sizeLimit,
                     int folderRefusal) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{sizeLimit, sizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CFileAccess::SetNewFileRefusal(folderRefusal);
        // Longer than the old text: rewriting in place must grow the file first.
        if (ini)
            ::_exit(int(CIniFile(path).WriteString("Form", "Language", "123", true)) != expected);
        CDDSDevice device;
        device.m_nPointsPerPeriod = 2;
        device.m_dFrequency = 3.0;
        std::string error;
        if (CCsvFile::CheckWritable(path, error) != (expected != EACCES))
            ::_exit(1);
        const bool saved = CCsvFile::Write(device, path, error);
        const std::string wanted =
            expected ? "Cann't Save file: " + path + ": " + std::strerror(expected) : "";
        ::_exit(saved != (expected == 0) || error != wanted ||
                device.m_fSampleRate != (saved ? 6.0f : 1000.0f));
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(FileCases, SavesReplaceTheFileBehindLinksAndNeverAReadOnlyOrHalfWrittenOne) {
    for (const auto& [name, expected, mode, throughLink, sizeLimit, refusal, oldLength] :
         kSaveCases) {
        for (const bool ini : {false, true}) {
            CScratchDir dir;
            const std::string real = dir / "real.csv";
            const std::string path = throughLink ? dir / "link.csv" : real;
            const std::string old = "[Form]\r\nLanguage=" + std::string(oldLength, '1') + "\r\n";
            if (mode) {
                WriteBytes(real, old);
                ::chmod(real.c_str(), mode);
            }
            if (throughLink)
                std::filesystem::create_symlink("real.csv", path);
            const std::string what = std::string(name) + (ini ? " (ini)" : " (csv)");

            EXPECT_TRUE(SavesAsExpected(ini, path, expected, sizeLimit, refusal)) << what;
            const std::string saved =
                ini ? "[Form]\r\nLanguage=123\r\n" : CCsvFile::Format(6.0f, {0.0f, 0.0f});
            EXPECT_EQ(ReadBytes(real), expected == 0 ? saved : mode ? old : "") << what;
            EXPECT_EQ(std::filesystem::is_symlink(path), throughLink) << what;
            // No temporary left behind.
            EXPECT_EQ(CountEntries(dir.Path()), (mode ? 1 : 0) + throughLink) << what;
        }
    }
}

TEST(FileCases, AWaveWithoutPointsIsNotSavedAsAFileItsReaderRefuses) {
    CScratchDir dir;
    CDDSDevice device;
    device.m_nPointsPerPeriod = 0;
    std::string error;
    EXPECT_FALSE(CCsvFile::Write(device, dir / "empty.csv", error));
    EXPECT_EQ(error, "Cann't Save file: " + (dir / "empty.csv") + ": the wave has no points");
    EXPECT_EQ(CountEntries(dir.Path()), 0);
}

// Each file that cannot be read as a whole wave changes nothing and says why; a file is read
// only as far as the lines its size header asks for may reach.
TEST(FileCases, OpeningAFileThatIsNoWaveSaysWhyAndChangesNothing) {
    enum class During { Nothing, Shrink, Grow, Vanish };
    // Name; name in the folder ("parent/" makes "parent" a file) and as a message shows it; the
    // file's first bytes (the rest up to its size reads as zeros), size; what happens while it is
    // read; the message, %s for the path (empty when the file opens).
    using OpenCase =
        std::tuple<const char*, std::string, std::string, std::string, off_t, During, const char*>;
    const std::string good = "#CLOCK=8\n#SIZE=2\n1.5,0,0\n2.5,0,0\n";
    std::string longLines = "#CLOCK=8192\n#SIZE=4096\n";
    for (int i = 0; i < 4096; ++i)
        longLines += "1.5," + std::string(2000, '0') + "\n";
    const char* const kChanged = "Cann't Save file: %s: the file changed while it was read";
    const char* const kNoSize = "Cannot open file %s: its size 0 is not between 1 and 4096 points.";
    const OpenCase cases[] = {
        {"2 GiB sparse file", "w.csv", "w.csv", "", off_t(2) << 30, During::Nothing, kNoSize},
        {"points beyond 4 MiB", "w.csv", "w.csv", longLines, 0, During::Nothing,
         "Cannot open file %s: its 4096 points do not fit in its first 4 MiB."},
        {"binary junk, name not UTF-8", "w\xFF.csv", "w\xEF\xBF\xBD.csv",
         std::string("\x7F\0\xFF\n\x01\n", 6), 0, During::Nothing, kNoSize},
        {"name not UTF-8", "w\xFF\xFE.csv", "", good, 0, During::Nothing, ""},
        {"parent is a file", "parent/w.csv", "parent/w.csv", good, 0, During::Nothing,
         "Cann't Save file: %s: Not a directory"},
        {"pipe", "pipe", "pipe", "", 0, During::Nothing,
         "Cann't Save file: %s: not a regular file"},
        {"folder", "folder", "folder", "", 0, During::Nothing,
         "Cann't Save file: %s: Is a directory"},
        {"shrinks while read", "w.csv", "w.csv", good, 0, During::Shrink, kChanged},
        {"grows while read", "w.csv", "w.csv", good, 0, During::Grow, kChanged},
        {"vanishes while read", "w.csv", "w.csv", good, 0, During::Vanish, ""},
    };
    for (const auto& [name, file, shown, head, size, during, message] : cases) {
        CScratchDir dir;
        const std::string path = dir / file;
        if (file == "pipe")
            ::mkfifo(path.c_str(), 0644);
        else if (file == "folder")
            std::filesystem::create_directory(path);
        else
            WriteBytes(file.find('/') == std::string::npos ? path : dir / "parent", head);
        if (size)
            std::filesystem::resize_file(path, std::uintmax_t(size)); // sparse
        CFileAccess::SetOpenedHook([during = during](const std::string& opened) {
            if (during == During::Shrink)
                ::truncate(opened.c_str(), 10);
            else if (during == During::Grow)
                std::ofstream(opened, std::ios::app) << "3.5,0,0\n";
            else if (during == During::Vanish)
                ::unlink(opened.c_str());
        });
        CDDSDevice device;
        device.m_fArb[0] = 7.0f;
        const int points = device.m_nPointsPerPeriod;
        std::string error;
        const bool opened = CCsvFile::Read(device, path, error);
        CFileAccess::SetOpenedHook(nullptr);

        std::string says = message;
        if (const std::size_t at = says.find("%s"); at != std::string::npos)
            says.replace(at, 2, dir / shown);
        EXPECT_EQ(error, says) << name;
        EXPECT_EQ(opened, says.empty()) << name;
        EXPECT_FLOAT_EQ(device.m_fArb[0], opened ? 1.5f : 7.0f) << name;
        EXPECT_EQ(int(device.m_nPointsPerPeriod), opened ? 2 : points) << name;
        if (file == "pipe") { // nor is a plain file put in its place
            EXPECT_FALSE(CCsvFile::CheckWritable(path, error));
            EXPECT_TRUE(std::filesystem::is_fifo(path));
        }
    }
}
