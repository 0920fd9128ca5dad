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

std::function<void(const std::string&)> g_openedHook;

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

void CFileAccess::SetOpenedHook(std::function<void(const std::string&)> hook) {
    g_openedHook = std::move(hook);
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
