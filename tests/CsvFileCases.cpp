#include "app/CsvFile.h"
#include "engine/DDSDevice.h"
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

const std::string kOld = "[Form]\r\nLanguage=1\r\n";

struct SaveCase {
    const char* name;
    int expected; ///< 0 when the save goes through
    mode_t mode;  ///< of the file already there
    bool throughLink;
    rlim_t sizeLimit;
};

const SaveCase kSaveCases[] = {
    {"read-only file", EACCES, 0444, false, RLIM_INFINITY},
    {"read-only file behind a link", EACCES, 0444, true, RLIM_INFINITY},
    {"symbolic link", 0, 0644, true, RLIM_INFINITY},
    {"disk fills up", EFBIG, 0644, false, 8},
};

/// Saves in a child (the size limit must not reach the test) and tells whether the outcome is
/// the expected one: the error number, the CSV save's message, the device as it was on failure.
bool SavesAsExpected(bool ini, const std::string& path, const SaveCase& c) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{c.sizeLimit, c.sizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        if (ini)
            ::_exit(int(CIniFile(path).WriteString("Form", "Language", "2", true)) != c.expected);
        CDDSDevice device;
        device.m_nPointsPerPeriod = 2;
        device.m_dFrequency = 3.0;
        std::string error;
        const bool saved = CCsvFile::Write(device, path, error);
        const std::string wanted =
            c.expected ? "Cann't Save file: " + path + ": " + std::strerror(c.expected) : "";
        ::_exit(saved != (c.expected == 0) || error != wanted ||
                device.m_fSampleRate != (saved ? 6.0f : 1000.0f));
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(FileCases, SavesReplaceTheFileBehindLinksAndNeverAReadOnlyOrHalfWrittenOne) {
    for (const SaveCase& c : kSaveCases) {
        for (const bool ini : {false, true}) {
            CScratchDir dir;
            const std::string real = dir / "real.csv";
            const std::string path = c.throughLink ? dir / "link.csv" : real;
            WriteBytes(real, kOld);
            ::chmod(real.c_str(), c.mode);
            if (c.throughLink)
                std::filesystem::create_symlink("real.csv", path);
            const std::string what = std::string(c.name) + (ini ? " (ini)" : " (csv)");

            EXPECT_TRUE(SavesAsExpected(ini, path, c)) << what;
            EXPECT_EQ(ReadBytes(real) == kOld, c.expected != 0) << what;
            EXPECT_EQ(std::filesystem::is_symlink(path), c.throughLink) << what;
            EXPECT_EQ(CountEntries(dir.Path()), c.throughLink ? 2 : 1) << what; // no temporary left
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

// A file is read only as far as the lines its size header asks for may reach.
TEST(FileCases, HugeFilesAreReadOnlyAsFarAsTheirPointsReach) {
    struct OpenCase {
        const char* name;
        std::string head; ///< the file's first bytes; the rest up to its size reads as zeros
        off_t size;
        const char* says;
    };
    std::string longLines = "#CLOCK=8192\n#SIZE=4096\n";
    for (int i = 0; i < 4096; ++i)
        longLines += "1.5," + std::string(2000, '0') + "\n";
    const OpenCase cases[] = {
        {"2 GiB sparse file", "", off_t(2) << 30, "its size 0 is not between 1 and 4096 points"},
        {"points beyond 4 MiB", longLines, 0, "its 4096 points do not fit in its first 4 MiB"},
    };
    for (const OpenCase& c : cases) {
        CScratchDir dir;
        const std::string path = dir / "wave.csv";
        WriteBytes(path, c.head);
        if (c.size)
            std::filesystem::resize_file(path, std::uintmax_t(c.size)); // sparse
        CDDSDevice device;
        device.m_fArb[0] = 7.0f;
        std::string error;
        EXPECT_FALSE(CCsvFile::Read(device, path, error)) << c.name;
        EXPECT_EQ(error, "Cannot open file " + path + ": " + c.says + ".") << c.name;
        EXPECT_FLOAT_EQ(device.m_fArb[0], 7.0f) << c.name;
    }
}
