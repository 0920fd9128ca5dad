#pragma once
#include <cstddef>
#include <string>

/// Whole-file reads and replace-by-rename writes, with the system's error numbers, so that a
/// failed save never leaves a half-written file where the previous one was.
class CFileAccess {
public:
    /// Reads at most maxBytes of the file into bytes. 0 or the error number (EISDIR for a folder).
    static int ReadAll(const std::string& path, std::string& bytes,
                       std::size_t maxBytes = std::size_t(64) << 20);
    /// Writes bytes to a new file beside path and renames it over path; an existing file keeps
    /// its permission bits, and a symbolic link keeps pointing at the file it names, which is the
    /// one replaced. 0 or the error number (see CheckReplaceable); on failure path is untouched.
    static int ReplaceAll(const std::string& path, const std::string& bytes);
    /// 0 when ReplaceAll may replace path, else the error number: EISDIR for a folder, EACCES
    /// for a file without write permission (even for root, who could write it), or what making
    /// a file in its folder fails with. Nothing is left behind.
    static int CheckReplaceable(const std::string& path);
    /// "path: description of the error", at most 1024 characters.
    static std::string Describe(int error, const std::string& path);
};
