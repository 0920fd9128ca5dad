#include "i18n/FileAccess.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

std::atomic<int> g_newFileRefusal{0};
std::function<void(const std::string&)> g_openedHook;

/// Writes size bytes from data at offset of the file.
int WriteAt(int fd, const char* data, std::size_t size, off_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, offset + off_t(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int WriteFully(int fd, const std::string& bytes) {
    return WriteAt(fd, bytes.data(), bytes.size(), 0);
}

bool SameState(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

/// Length of the UTF-8 sequence at text[pos], or 0 when none starts there.
std::size_t SequenceLength(const std::string& text, std::size_t pos) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || pos + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(pos + i) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and values past U+10FFFF.
    const unsigned char second = byte(pos + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
        return 0;
    return length;
}

/// text with every byte that starts no UTF-8 character replaced by U+FFFD.
std::string ValidUtf8(const std::string& text) {
    std::string result;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = SequenceLength(text, pos);
        result += length ? text.substr(pos, length) : "\xEF\xBF\xBD";
        pos += length ? length : 1;
    }
    return result;
}

/// Folders that say no to a new file, where rewriting the existing one may still work.
bool RefusesNewFiles(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

mode_t NewFileMode(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

/// The file a save replaces: path with its symbolic links followed, so that the links stay.
int FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return 0;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0)
            return n < 0 ? errno : ENOENT;
        link.resize(static_cast<std::size_t>(n));
        const std::size_t slash = target.rfind('/');
        if (link.front() != '/' && slash != std::string::npos)
            link.insert(0, target, 0, slash + 1);
        target = link;
    }
    return ELOOP;
}

/// The file behind path's links, unless it is a folder, a pipe or device, or a file the user
/// marked read-only, which a rename would replace all the same.
int ReplaceTarget(const std::string& path, std::string& target) {
    if (const int error = FollowLinks(path, target))
        return error;
    struct stat st;
    if (::stat(target.c_str(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    // A rename would put a plain file where a pipe or device was.
    if (!S_ISREG(st.st_mode))
        return CFileAccess::kNotRegularFile;
    if ((st.st_mode & 0222) == 0)
        return EACCES;
    return ::access(target.c_str(), W_OK) == 0 ? 0 : errno;
}

} // namespace

int CFileAccess::ReadAll(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    const int error = ReadEach(
        path,
        [&bytes](const char* data, std::size_t size) {
            bytes.append(data, size);
            return true;
        },
        maxBytes);
    if (error != 0)
        bytes.clear();
    return error;
}

int CFileAccess::ReadEach(const std::string& path,
                          const std::function<bool(const char*, std::size_t)>& consume,
                          std::size_t maxBytes) {
    // Without O_NONBLOCK a pipe nobody writes to would hold the program at the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    struct stat before;
    const int statError = ::fstat(fd, &before) == 0 ? 0 : errno;
    if (statError != 0 || !S_ISREG(before.st_mode)) {
        ::close(fd);
        return statError ? statError : S_ISDIR(before.st_mode) ? EISDIR : kNotRegularFile;
    }
    if (g_openedHook)
        g_openedHook(path);
    char buffer[65536];
    std::size_t total = 0;
    bool stopped = false;
    int error = 0;
    while (total < maxBytes && !stopped) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - total);
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
        stopped = !consume(buffer, static_cast<std::size_t>(n));
    }
    // A file cut short or written to meanwhile would read as a different, partial one. Files
    // of /proc report no size at all and are taken as read.
    struct stat after;
    const bool shortRead = before.st_size > 0 && total < maxBytes && !stopped &&
                           total != static_cast<std::size_t>(before.st_size);
    if (error == 0 && (::fstat(fd, &after) != 0 || !SameState(before, after) || shortRead))
        error = kChangedWhileRead;
    ::close(fd);
    return error;
}

namespace {
/// A new temporary file in the target's folder, which a rename then puts in its place; the
/// descriptor, or -1 with errno set.
int OpenTempBeside(const std::string& target, std::string& temp) {
    if (const int refusal = g_newFileRefusal.load()) {
        errno = refusal;
        return -1;
    }
    temp = target + ".XXXXXX";
    return ::mkostemp(temp.data(), O_CLOEXEC);
}

/// Rewrites an existing file where no new file may be made. The file grows to its new size
/// before any old byte is overwritten, so a full disk fails while the old contents are whole.
int RewriteInPlace(const std::string& target, const std::string& bytes) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st;
    int error = ::fstat(fd, &st) == 0 ? 0 : errno;
    const std::size_t oldSize = error == 0 ? static_cast<std::size_t>(st.st_size) : 0;
    if (error == 0 && bytes.size() > oldSize) {
        error = WriteAt(fd, bytes.data() + oldSize, bytes.size() - oldSize, off_t(oldSize));
        if (error != 0 && ::ftruncate(fd, off_t(oldSize)) != 0)
            error = errno;
    }
    if (error == 0)
        error = WriteAt(fd, bytes.data(), std::min(oldSize, bytes.size()), 0);
    if (error == 0 && bytes.size() < oldSize && ::ftruncate(fd, off_t(bytes.size())) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

/// Whether the target exists, to be rewritten in place when its folder takes no new file.
bool Exists(const std::string& target) {
    struct stat st;
    return ::stat(target.c_str(), &st) == 0;
}
} // namespace

void CFileAccess::SetNewFileRefusal(int error) {
    g_newFileRefusal = error;
}

void CFileAccess::SetOpenedHook(std::function<void(const std::string&)> hook) {
    g_openedHook = std::move(hook);
}

int CFileAccess::CheckReplaceable(const std::string& path) {
    std::string target;
    int error = ReplaceTarget(path, target);
    if (error != 0)
        return error;
    std::string temp;
    const int fd = OpenTempBeside(target, temp);
    if (fd < 0)
        return RefusesNewFiles(errno) && Exists(target) ? 0 : errno;
    ::close(fd);
    ::unlink(temp.c_str());
    return 0;
}

int CFileAccess::ReplaceAll(const std::string& path, const std::string& bytes) {
    std::string target;
    int error = ReplaceTarget(path, target);
    if (error != 0)
        return error;
    const mode_t mode = NewFileMode(target);
    std::string temp;
    const int fd = OpenTempBeside(target, temp);
    if (fd < 0) {
        error = errno;
        return RefusesNewFiles(error) && Exists(target) ? RewriteInPlace(target, bytes) : error;
    }
    error = WriteFully(fd, bytes);
    if (error == 0 && ::fchmod(fd, mode) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temp.c_str());
    return error;
}

std::string CFileAccess::Describe(int error, const std::string& path) {
    char text[256];
    const char* description = error == kChangedWhileRead ? "the file changed while it was read"
                              : error == kNotRegularFile ? "not a regular file"
                                                         : strerror_r(error, text, sizeof text);
    std::string message = DisplayName(path) + ": " + description;
    if (message.size() > 1024)
        message.resize(1024);
    return message;
}

std::string CFileAccess::DisplayName(const std::string& path) {
    return ValidUtf8(path);
}
