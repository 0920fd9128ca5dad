#pragma once
// Shared by the settings, language and CSV tests: scratch folders and a comma-decimal locale.
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>

/// A fresh folder below the temporary folder, removed with everything in it.
class CScratchDir {
public:
    CScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ddstarn-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~CScratchDir() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

/// How many entries a folder holds (to see that no temporary file was left behind).
inline long CountEntries(const std::string& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

/// Switches LC_NUMERIC to a locale whose decimal separator is a comma, building one into a
/// scratch folder when the system has none. False when that is impossible. The caller puts
/// LC_NUMERIC back to "C".
inline bool UseCommaLocale(const CScratchDir& scratch) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        return std::localeconv()->decimal_point[0] == ',';
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (scratch / "de_DE.UTF-8") + "' >/dev/null 2>&1";
    // localedef reports warnings through its exit status; whether the locale loads is what counts.
    [[maybe_unused]] const int status = std::system(command.c_str());
    ::setenv("LOCPATH", scratch.Path().c_str(), 1);
    const bool ok = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    ::unsetenv("LOCPATH");
    return ok && std::localeconv()->decimal_point[0] == ',';
}

/// Sets an environment variable (or with null removes it) until the end of the scope.
class CScopedEnv {
public:
    CScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        Set(value);
    }
    ~CScopedEnv() { Set(m_old ? m_old->c_str() : nullptr); }
    void Set(const char* value) const { value ? ::setenv(m_name, value, 1) : ::unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};
