// Import Waveform against files that would hold the program: pipes and devices, and text far
// larger than any waveform. Each import runs in a child, watched from here, so that a regression
// fails instead of hanging or taking the machine's memory.
#include "media/WaveImport.h"

#include "TextTestSupport.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

/// Most a child may take to answer; a blocked import never does.
constexpr auto kPatience = std::chrono::seconds(20);

/// Peak resident memory of this process so far, in bytes.
long PeakBytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024L;
}

/// Imports path in a child: its exit status is 0 when the import was refused with a message
/// holding reason and the memory it took stayed below limit. -1: it hung, or crashed.
int ImportInChild(const std::string& path, const std::string& reason, long limit) {
    const pid_t child = ::fork();
    if (child == 0) {
        const long before = PeakBytes();
        CWaveImport::Source source;
        std::string error;
        const bool loaded = CWaveImport::Load(path, source, error);
        const long taken = PeakBytes() - before;
        std::fprintf(stderr, "%s: %s (%ld KiB)\n", path.c_str(), error.c_str(), taken >> 10);
        ::_exit(loaded ? 1 : error.find(reason) == std::string::npos ? 2 : taken >= limit ? 3 : 0);
    }
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(WaveImport, PipesAndHugeLinesAreRefusedAtOnceInLittleMemory) {
    CScratchDir dir;
    // A CSV file of the largest size read, all on one line: no waveform looks like that.
    const std::string oneLine = dir / "one-line.csv";
    {
        const std::string chunk = [] {
            std::string text;
            while (text.size() < (std::size_t(1) << 20))
                text += "1.25,";
            return text.substr(0, std::size_t(1) << 20);
        }();
        std::FILE* file = std::fopen(oneLine.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        for (std::size_t i = 0; i < (CWaveImport::kMaxCsvBytes >> 20); ++i)
            std::fwrite(chunk.data(), 1, chunk.size(), file);
        std::fclose(file);
    }
    constexpr long kMiB = 1L << 20;
    // Name (a pipe when no file is made above), the reason given, the most memory it may take.
    const std::tuple<std::string, const char*, long> kCases[] = {
        {"pipe.wav", "not a regular file", 8 * kMiB},
        {"pipe.csv", "not a regular file", 8 * kMiB},
        {"one-line.csv", "line 1 is longer than 64 KiB", 16 * kMiB},
    };
    for (const auto& [name, reason, limit] : kCases) {
        SCOPED_TRACE(name);
        const std::string path = dir / name;
        if (name.starts_with("pipe")) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        }
        EXPECT_EQ(ImportInChild(path, reason, limit), 0);
    }
}
