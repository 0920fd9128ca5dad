// Language start-up: what the main frame does with the language folder when it opens (list the
// files, read their names, load the saved language, then again at its first tick), for the
// shipped files and for a folder that also holds 10,000 files, a folder link back to itself,
// a pair of file links pointing at each other, binary junk and a 100 MB file, in the same run.
// The stressed run reports its extra time and the ratio against the shipped one.
#include "i18n/LanguageManager.h"
#include "i18n/SettingsFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

double g_shippedSeconds = 0.0;

/// A program folder below the temporary folder, removed at the end.
class ProgramFolder {
public:
    explicit ProgramFolder(bool stressed) {
        std::string pattern = (fs::temp_directory_path() / "ddstarn-bench-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) ? pattern : std::string();
        const fs::path language = fs::path(m_path) / "language";
        fs::create_directories(language);
        for (const char* name : {"German.lug", "Chinese.lug"})
            fs::copy_file(fs::path(DDSTARN_SOURCE_DIR) / "language" / name, language / name);
        if (!stressed)
            return;
        fs::create_directories(language / "many");
        for (int i = 0; i < 10000; ++i)
            std::ofstream(language / "many" / (std::to_string(i) + ".lug")) << "[App]\n8888=L\n";
        std::ofstream junk(language / "junk.lug", std::ios::binary);
        for (int i = 0; i < 1 << 16; ++i)
            junk.put(static_cast<char>((i * 2654435761u) >> 24));
        junk.close();
        // No name in the huge file: finding that out means looking through all of it.
        std::ofstream(language / "huge.lug") << "[Other]\n1=x\n";
        fs::resize_file(language / "huge.lug", std::uintmax_t(100) << 20);
        fs::create_directory_symlink(".", language / "loop");
        fs::create_symlink("b.lug", language / "a.lug");
        fs::create_symlink("a.lug", language / "b.lug");
    }
    ~ProgramFolder() {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

double StartLanguages(const std::string& folder) {
    const auto start = std::chrono::steady_clock::now();
    CLanguageManager manager(folder);
    manager.SetMessageHandler([](const std::string&) {});
    manager.RefreshLanguageFiles();
    manager.SelectLanguage(CSettingsFile(folder).LoadLanguage());
    for (int i = 0; i < manager.GetLanguageCount(); ++i)
        benchmark::DoNotOptimize(manager.GetLanguageName(i));
    manager.SelectLanguage(manager.GetCurrentLanguage());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Measure(benchmark::State& state, bool stressed) {
    const ProgramFolder folder(stressed);
    double total = 0.0;
    for (auto _ : state)
        total += StartLanguages(folder.Path());
    const double mean = total / double(state.iterations());
    if (!stressed) {
        g_shippedSeconds = mean;
    } else if (g_shippedSeconds > 0.0) {
        state.counters["ExtraMs"] = (mean - g_shippedSeconds) * 1e3;
        state.counters["Ratio"] = mean / g_shippedSeconds;
    }
}

void BM_LanguageStartShipped(benchmark::State& state) {
    Measure(state, false);
}

void BM_LanguageStartStressed(benchmark::State& state) {
    Measure(state, true);
}

} // namespace

// Shipped first: the stressed run compares itself with it.
BENCHMARK(BM_LanguageStartShipped)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LanguageStartStressed)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
