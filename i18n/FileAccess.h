#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>

/// Whole-file reads and replace-by-rename writes, with the system's error numbers, so that a
/// failed save never leaves a half-written file where the previous one was.
class CFileAccess {
public:
    /// Our own failures beside the system's (positive) error numbers.
    static constexpr int kChangedWhileRead = -1; ///< Its size or time changed during the read.
    static constexpr int kNotRegularFile = -2;   ///< A pipe, socket or device, never waited on.
    /// Most of a file read when the caller names no limit.
    static constexpr std::size_t kMaxReadBytes = std::size_t(64) << 20;

    /// Reads at most maxBytes of the file into bytes. 0 or the error number: EISDIR for a
    /// folder, kNotRegularFile, kChangedWhileRead (then bytes is empty).
    static int ReadAll(const std::string& path, std::string& bytes,
                       std::size_t maxBytes = kMaxReadBytes);
    /// ReadAll in pieces: hands each piece read to consume until it returns false (no more is
    /// read then) or maxBytes are read. The same results; the pieces of a file that changed
    /// meanwhile have been handed over already.
    static int ReadEach(const std::string& path,
                        const std::function<bool(const char*, std::size_t)>& consume,
                        std::size_t maxBytes = kMaxReadBytes);
    /// Mode of a new file before the umask: one the user's other programs may read.
    static constexpr mode_t kSharedFileMode = 0666;
    /// Mode of a new file in the program's own state and settings folders.
    static constexpr mode_t kPrivateFileMode = 0600;

    /// Writes bytes to a new file beside path, flushes it to the disk, renames it over path and
    /// flushes the folder. The links of path are followed by the kernel and stay; the file
    /// behind them keeps its owner, group, mode and extended attributes. A file with other hard
    /// links, or whose owner the new file could not take, is rewritten where it is once the
    /// complete new file lies beside it; so is one whose folder refuses new files, growing it
    /// before anything is overwritten. A new file gets newFileMode less the umask. 0 or the
    /// error number (see CheckReplaceable); on failure path keeps its old contents.
    static int ReplaceAll(const std::string& path, const std::string& bytes,
                          mode_t newFileMode = kSharedFileMode);
    /// 0 when ReplaceAll may replace path, else the error number: EISDIR for a folder,
    /// kNotRegularFile for a pipe or device, EACCES
    /// for a file without write permission (even for root, who could write it), or what making
    /// a file in its folder fails with when there is no file to rewrite. Nothing is left behind.
    static int CheckReplaceable(const std::string& path);
    /// Makes path and the folders missing above it, open to their owner alone (0700); folders
    /// already there stay as they are. 0 or the error number.
    static int MakePrivateFolder(const std::string& path);
    /// "path: description of the error", at most 1024 characters; bytes of the path that are
    /// not UTF-8 show as U+FFFD, so the text is always fit to show.
    static std::string Describe(int error, const std::string& path);
    /// path fit to show: bytes that are not UTF-8 become U+FFFD.
    static std::string DisplayName(const std::string& path);

    // Seams for tests, which run as root and so never meet the refusals of a real file system.
    /// Makes every new file in a folder fail with error (0: as the folder says).
    static void SetNewFileRefusal(int error);
    /// Called with the path once ReadAll has opened a file and taken its size.
    static void SetOpenedHook(std::function<void(const std::string&)> hook);
};
