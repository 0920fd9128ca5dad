#include "i18n/FileAccess.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int WriteFully(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
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

/// The file behind path's links, unless it is a folder or a file the user marked read-only,
/// which a rename would replace all the same.
int ReplaceTarget(const std::string& path, std::string& target) {
    if (const int error = FollowLinks(path, target))
        return error;
    struct stat st;
    if (::stat(target.c_str(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if ((st.st_mode & 0222) == 0)
        return EACCES;
    return ::access(target.c_str(), W_OK) == 0 ? 0 : errno;
}

} // namespace

int CFileAccess::ReadAll(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return EISDIR;
    }
    char buffer[65536];
    int error = 0;
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return error;
}

namespace {
/// A new temporary file in the target's folder, which a rename then puts in its place; the
/// descriptor, or -1 with errno set.
int OpenTempBeside(const std::string& target, std::string& temp) {
    temp = target + ".XXXXXX";
    return ::mkostemp(temp.data(), O_CLOEXEC);
}
} // namespace

int CFileAccess::CheckReplaceable(const std::string& path) {
    std::string target;
    int error = ReplaceTarget(path, target);
    if (error != 0)
        return error;
    std::string temp;
    const int fd = OpenTempBeside(target, temp);
    if (fd < 0)
        return errno;
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
    if (fd < 0)
        return errno;
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
    const char* description = strerror_r(error, text, sizeof text);
    std::string message = path + ": " + description;
    if (message.size() > 1024)
        message.resize(1024);
    return message;
}
