// Loads arbitrary bytes as a user's language file through the language manager, the way the
// program does: listed from the language folder, selected, named and asked for texts.
#include "i18n/LanguageManager.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string g_appDir;

void RemoveScratch() {
    std::error_code error;
    std::filesystem::remove_all(g_appDir, error);
}

CLanguageManager& Manager() {
    static CLanguageManager* manager = [] {
        // Memory-backed when possible: rewriting a file on disk each run costs a flush.
        std::error_code error;
        const bool shm =
            std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0;
        const std::filesystem::path base =
            shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        std::string pattern = (base / "ddstarn-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        g_appDir = pattern;
        std::atexit(RemoveScratch);
        std::filesystem::create_directories(g_appDir + "/language");
        std::FILE* file = std::fopen((g_appDir + "/language/fuzz.lug").c_str(), "wb");
        std::fclose(file);
        // The built-in file goes to the scratch folder too, not the shared temporary folder.
        ::setenv("TMPDIR", g_appDir.c_str(), 1);
        auto* created = new CLanguageManager(g_appDir);
        created->RefreshLanguageFiles();
        return created;
    }();
    return *manager;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CLanguageManager& manager = Manager();
    std::FILE* file = std::fopen((g_appDir + "/language/fuzz.lug").c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    manager.SelectLanguage(0);
    if (manager.GetCurrentLanguage() != 0 || manager.GetKeys().size() != manager.GetTexts().size())
        std::abort();
    // The Language submenu key of the one file always comes last.
    if (manager.GetKeys().back() != "8050402")
        std::abort();
    if (manager.GetLanguageName(0).empty() && manager.GetText(8888).size() > 0)
        std::abort(); // a non-empty name key must name the language
    for (int id : {8888, 100, 1104, 2012, 57667, 8050402}) {
        std::string text;
        manager.GetText(id);
        manager.FindControlText(id, text);
    }
    return 0;
}
