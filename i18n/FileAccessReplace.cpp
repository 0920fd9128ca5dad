// The save side of CFileAccess: a new file written beside the old one, flushed to the disk and
// renamed over it, keeping what the user set on the old file.
#include "i18n/FileAccess.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

std::atomic<int> g_newFileRefusal{0};

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

/// Folders that say no to a new file, where rewriting the existing one may still work.
bool RefusesNewFiles(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

mode_t Umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

/// Makes the rename (or the removal of the copy) last through a power cut. File systems that
/// cannot flush a folder say so with EINVAL; there is nothing more to do there.
int SyncFolder(const std::string& file) {
    const int fd = ::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0; // a folder we may write but not read: its entry is as safe as we can make it
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

/// The file a save replaces, as the kernel finds it when it follows path's links.
struct STarget {
    std::string strPath; ///< Without links: the rename goes here.
    struct stat st {};
    bool bExists = false;
    bool bCreated = false; ///< Made now at the end of a dangling link; removed on failure.
};

/// Where the descriptor's file is, as the kernel resolved it.
bool KernelPath(int fd, const std::string& path, std::string& resolved) {
    std::string link(PATH_MAX, '\0');
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(self.c_str(), link.data(), link.size());
    if (n > 0 && n < ssize_t(link.size()) && link.front() == '/') {
        link.resize(std::size_t(n));
        resolved = link;
        return true;
    }
    // Without /proc the C library's resolution is the next best.
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return false;
    resolved = real;
    std::free(real);
    return true;
}

int FindTarget(const std::string& path, STarget& target) {
    int fd = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        struct stat link;
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
            target.strPath = path;
            return 0; // a new file
        }
        // A link to a file yet to be: the kernel makes it where the link points.
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0)
            return errno;
        target.bCreated = true;
    }
    if (fd < 0)
        return errno;
    int error = ::fstat(fd, &target.st) == 0 ? 0 : errno;
    if (error == 0 && !KernelPath(fd, path, target.strPath))
        error = errno ? errno : ENOENT;
    ::close(fd);
    if (error != 0) {
        if (target.bCreated)
            ::unlink(path.c_str());
        return error;
    }
    target.bExists = !target.bCreated;
    if (S_ISDIR(target.st.st_mode))
        return EISDIR;
    // A rename would put a plain file where a pipe or device was.
    if (!S_ISREG(target.st.st_mode))
        return CFileAccess::kNotRegularFile;
    if (!target.bExists)
        return 0;
    // A file the user marked read-only, which a rename would replace all the same.
    if ((target.st.st_mode & 0222) == 0)
        return EACCES;
    return ::access(target.strPath.c_str(), W_OK) == 0 ? 0 : errno;
}

/// A new temporary file beside the target, its name cut to what the folder allows; the
/// descriptor, or -1 with errno set.
int OpenTempBeside(const std::string& target, std::string& temp) {
    if (const int refusal = g_newFileRefusal.load()) {
        errno = refusal;
        return -1;
    }
    constexpr std::size_t kSuffix = 7; // ".XXXXXX"
    const std::string folder = FolderOf(target);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > long(kSuffix) ? std::size_t(limit) : NAME_MAX;
    const std::size_t slash = target.rfind('/');
    std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    name.resize(std::min(name.size(), nameMax - kSuffix));
    temp = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + name +
           ".XXXXXX";
    return ::mkostemp(temp.data(), O_CLOEXEC);
}

/// Gives the new file the old one's extended attributes (access lists among them) where the
/// user may set them; those reserved to the system stay as the system makes them.
void CopyAttributes(const std::string& from, int to) {
    const ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size <= 0)
        return;
    std::vector<char> names(std::size_t(size) + 1, '\0');
    const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size() - 1);
    for (std::size_t pos = 0; got > 0 && pos < std::size_t(got);) {
        const char* name = names.data() + pos;
        pos += std::char_traits<char>::length(name) + 1;
        const ssize_t length = ::getxattr(from.c_str(), name, nullptr, 0);
        if (length < 0)
            continue;
        std::vector<char> value(static_cast<std::size_t>(length));
        const ssize_t read = ::getxattr(from.c_str(), name, value.data(), value.size());
        if (read >= 0)
            ::fsetxattr(to, name, value.data(), std::size_t(read), 0);
    }
}

/// Rewrites an existing file where it is. The file grows to its new size before any old byte
/// is overwritten, so a full disk fails while the old contents are whole; touched says whether
/// old bytes were overwritten.
int RewriteInPlace(const std::string& target, const std::string& bytes, bool& touched) {
    touched = false;
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
    if (error == 0) {
        touched = true;
        error = WriteAt(fd, bytes.data(), std::min(oldSize, bytes.size()), 0);
    }
    if (error == 0 && bytes.size() < oldSize && ::ftruncate(fd, off_t(bytes.size())) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

/// Writes the new file's contents and gives it the old file's owner, attributes and mode.
/// keepInPlace: the owner or group cannot be given, so the old file must be rewritten instead.
int FillTemp(int fd, const STarget& target, const std::string& bytes, mode_t newFileMode,
             bool& keepInPlace) {
    keepInPlace = false;
    if (const int error = WriteAt(fd, bytes.data(), bytes.size(), 0))
        return error;
    mode_t mode = newFileMode & ~Umask() & 07777;
    if (target.bExists) {
        struct stat mine;
        if (::fstat(fd, &mine) != 0)
            return errno;
        // Before the mode: a change of owner clears the set-id bits.
        if ((mine.st_uid != target.st.st_uid || mine.st_gid != target.st.st_gid) &&
            ::fchown(fd, target.st.st_uid, target.st.st_gid) != 0)
            keepInPlace = true;
        CopyAttributes(target.strPath, fd);
        mode = target.st.st_mode & 07777;
    }
    if (::fchmod(fd, mode) != 0)
        return errno;
    return ::fsync(fd) == 0 ? 0 : errno;
}

/// The old file rewritten where it is, a complete copy of the new contents (temp) lying beside
/// it meanwhile; the copy stays only when the old file was damaged.
int RewriteBesideCopy(const std::string& target, const std::string& temp,
                      const std::string& bytes) {
    bool touched = false;
    const int error = RewriteInPlace(target, bytes, touched);
    if (error == 0 || !touched)
        ::unlink(temp.c_str());
    const int synced = SyncFolder(target);
    return error ? error : synced;
}

int Replace(const STarget& target, const std::string& bytes, mode_t newFileMode) {
    std::string temp;
    const int fd = OpenTempBeside(target.strPath, temp);
    if (fd < 0) {
        const int error = errno;
        if (!target.bExists || !RefusesNewFiles(error))
            return error;
        bool touched = false;
        return RewriteInPlace(target.strPath, bytes, touched);
    }
    bool keepInPlace = false;
    int error = FillTemp(fd, target, bytes, newFileMode, keepInPlace);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return error;
    }
    // A rename would leave the other names of a hard-linked file with the old contents, and
    // would give the file away where its owner cannot be kept.
    if (target.bExists && (target.st.st_nlink > 1 || keepInPlace))
        return RewriteBesideCopy(target.strPath, temp, bytes);
    if (::rename(temp.c_str(), target.strPath.c_str()) != 0) {
        error = errno;
        ::unlink(temp.c_str());
        return error;
    }
    return SyncFolder(target.strPath);
}

} // namespace

void CFileAccess::SetNewFileRefusal(int error) {
    g_newFileRefusal = error;
}

int CFileAccess::CheckReplaceable(const std::string& path) {
    STarget target;
    if (const int error = FindTarget(path, target))
        return error;
    std::string temp;
    const int fd = OpenTempBeside(target.strPath, temp);
    const int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        ::close(fd);
        ::unlink(temp.c_str());
    }
    if (target.bCreated)
        ::unlink(target.strPath.c_str());
    return error != 0 && RefusesNewFiles(error) && target.bExists ? 0 : error;
}

int CFileAccess::ReplaceAll(const std::string& path, const std::string& bytes, mode_t newFileMode) {
    STarget target;
    if (const int error = FindTarget(path, target))
        return error;
    const int error = Replace(target, bytes, newFileMode);
    if (error != 0 && target.bCreated)
        ::unlink(target.strPath.c_str());
    return error;
}

int CFileAccess::MakePrivateFolder(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const std::string parent = FolderOf(path);
    if (parent != path && parent != "." && parent != "/")
        if (const int error = MakePrivateFolder(parent))
            return error;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return errno;
    return 0;
}
