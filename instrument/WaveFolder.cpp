#include "instrument/WaveFolder.h"

#include "i18n/FileAccess.h"
#include "i18n/SettingsFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <deque>
#include <random>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

/// A file descriptor closed when it goes out of scope.
class CFd {
public:
    explicit CFd(int fd = -1) : m_nFd(fd) {}
    CFd(CFd&& other) noexcept : m_nFd(other.Release()) {}
    CFd& operator=(CFd&&) = delete;
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    ~CFd() {
        if (m_nFd >= 0)
            ::close(m_nFd);
    }
    int Get() const { return m_nFd; }
    int Release() { return std::exchange(m_nFd, -1); }

private:
    int m_nFd;
};

/// The parts of a name; "/" and "\" both separate, empty parts and "." are dropped.
std::deque<std::string> Split(const std::string& name) {
    std::deque<std::string> parts;
    std::string part;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != '/' && name[i] != '\\') {
            part += name[i];
            continue;
        }
        if (!part.empty() && part != ".")
            parts.push_back(part);
        part.clear();
    }
    return parts;
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

/// Why a client's name is refused before any file call, or empty.
std::string NameProblem(const std::string& name, CWaveFolder::Kind kind) {
    if (name.empty())
        return kind == CWaveFolder::Kind::Folder ? std::string() : "empty name";
    if (name.size() > CWaveFolder::kMaxName)
        return "name too long";
    if (name.find('\0') != std::string::npos)
        return "name holds a NUL";
    if (IsSeparator(name.front()))
        return "absolute path";
    if (kind != CWaveFolder::Kind::Folder && IsSeparator(name.back()))
        return "names a folder";
    for (const std::string& part : Split(name)) {
        if (part == "..")
            return "\"..\" leaves the waveform folder";
        if (part.size() > CWaveFolder::kMaxPart)
            return "name too long";
    }
    return std::string();
}

/// The link's text, or false when it cannot be read.
bool ReadLink(int dir, const std::string& name, std::string& target) {
    char buffer[4096];
    const ssize_t n = ::readlinkat(dir, name.c_str(), buffer, sizeof buffer);
    if (n < 0 || std::size_t(n) >= sizeof buffer)
        return false;
    target.assign(buffer, std::size_t(n));
    return true;
}

std::string Join(const std::vector<std::string>& parts, const std::string& last) {
    std::string path;
    for (const std::string& part : parts)
        path += part + "/";
    return path + last;
}

bool EndsWithCsv(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return end == ".csv";
}

int WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += std::size_t(n);
    }
    return 0;
}

/// A new file beside leaf for writing, its name in temp; -1 with errno.
int MakeTemporary(int dir, const std::string& leaf, std::string& temp) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = "." + leaf.substr(0, 200) + "." + std::to_string(random() % 1000000000u) + ".tmp";
        const int fd =
            ::openat(dir, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

/// The refusals of an existing name before it is replaced; 0 when it may be.
int OldFileProblem(const struct stat& old) {
    if (S_ISDIR(old.st_mode))
        return EISDIR;
    if (S_ISLNK(old.st_mode))
        return 0; // replaced itself, never followed
    if (!S_ISREG(old.st_mode))
        return CFileAccess::kNotRegularFile;
    return (old.st_mode & 0222) == 0 ? EACCES : 0;
}

} // namespace

CWaveFolder::CName::CName(CName&& other) noexcept {
    *this = std::move(other);
}

CWaveFolder::CName& CWaveFolder::CName::operator=(CName&& other) noexcept {
    if (this != &other) {
        if (m_nDir >= 0)
            ::close(m_nDir);
        m_nError = other.m_nError;
        m_strInfo = std::move(other.m_strInfo);
        m_nDir = std::exchange(other.m_nDir, -1);
        m_strLeaf = std::move(other.m_strLeaf);
        m_strRelative = std::move(other.m_strRelative);
    }
    return *this;
}

CWaveFolder::CName::~CName() {
    if (m_nDir >= 0)
        ::close(m_nDir);
}

std::string CWaveFolder::DefaultPath() {
    return CSettingsFile::DefaultDataDir();
}

CWaveFolder::CWaveFolder(std::string path) {
    SetPath(std::move(path));
}

void CWaveFolder::SetPath(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    m_strPath = path.empty() ? DefaultPath() : std::move(path);
}

int CWaveFolder::Prepare() const {
    struct stat st;
    if (::stat(m_strPath.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    for (std::size_t end = 1; end != std::string::npos;) {
        end = m_strPath.find('/', end + 1);
        const std::string prefix = m_strPath.substr(0, end);
        if (::mkdir(prefix.c_str(), 0700) == 0) {
            // The umask may take bits away, never add them; none is wanted for others.
            ::chmod(prefix.c_str(), 0700);
        } else if (errno != EEXIST) {
            return errno;
        }
    }
    return ::stat(m_strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

CWaveFolder::CName CWaveFolder::Resolve(const std::string& name, Kind kind) const {
    CName result;
    auto refuse = [&result](int code, std::string info) -> CName {
        result.m_nError = code;
        result.m_strInfo = std::move(info);
        return std::move(result);
    };
    if (const std::string problem = NameProblem(name, kind); !problem.empty())
        return refuse(kNameError, problem);

    int root = ::open(m_strPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0 && errno == ENOENT && Prepare() == 0)
        root = ::open(m_strPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0)
        return refuse(kStorageError, std::string("waveform folder: ") + std::strerror(errno));

    // Each folder entered stays open, so ".." from a link goes back the way it came and can
    // never climb above the waveform folder, whatever is renamed meanwhile.
    std::vector<CFd> stack;
    stack.emplace_back(root);
    std::vector<std::string> names;
    std::deque<std::string> parts = Split(name);
    int links = 0;
    while (!parts.empty()) {
        const std::string part = parts.front();
        parts.pop_front();
        if (part == "..") { // only from a link's text
            if (stack.size() == 1)
                return refuse(kNameError, "a link leads outside the waveform folder");
            stack.pop_back();
            names.pop_back();
            continue;
        }
        const bool last = parts.empty();
        const int dir = stack.back().Get();
        struct stat st;
        if (::fstatat(dir, part.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT && last && kind != Kind::Folder) {
                result.m_strLeaf = part;
                break;
            }
            return refuse(errno == ENOENT ? kNotFound : kNameError,
                          Join(names, part) + ": " + std::strerror(errno));
        }
        if (S_ISLNK(st.st_mode) && !(last && kind == Kind::FileItself)) {
            std::string target;
            if (++links > kMaxLinks || !ReadLink(dir, part, target))
                return refuse(kNameError, "too many links");
            if (target.empty() || target.front() == '/')
                return refuse(kNameError, "a link leads outside the waveform folder");
            const std::deque<std::string> more = Split(target);
            parts.insert(parts.begin(), more.begin(), more.end());
            continue;
        }
        if (last && kind != Kind::Folder) {
            result.m_strLeaf = part;
            break;
        }
        if (!S_ISDIR(st.st_mode))
            return refuse(last ? kNameError : kNotFound, Join(names, part) + ": not a folder");
        const int next =
            ::openat(dir, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0)
            // A link put in its place since the look is refused like any other.
            return refuse(errno == ENOENT ? kNotFound : kNameError,
                          Join(names, part) + ": " + std::strerror(errno));
        stack.emplace_back(next);
        names.push_back(part);
    }
    if (kind != Kind::Folder && result.m_strLeaf.empty())
        return refuse(kNameError, "names a folder"); // through a link such as "x -> ."
    result.m_nDir = stack.back().Release();
    result.m_strRelative = Join(names, result.m_strLeaf);
    if (!result.m_strRelative.empty() && result.m_strRelative.back() == '/')
        result.m_strRelative.pop_back();
    return result;
}

int CWaveFolder::Read(const CName& name, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    // O_NOFOLLOW: a link put in the name's place since it was resolved is never followed;
    // O_NONBLOCK: a pipe put there is never waited on.
    const CFd fd(
        ::openat(name.Dir(), name.Leaf().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0)
        return errno;
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? EISDIR : CFileAccess::kNotRegularFile;
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const ssize_t n =
            ::read(fd.Get(), buffer, std::min(sizeof buffer, maxBytes - bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        bytes.append(buffer, std::size_t(n));
    }
    return 0;
}

int CWaveFolder::CheckReplaceable(const CName& name) {
    struct stat old;
    if (::fstatat(name.Dir(), name.Leaf().c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0)
        if (const int problem = OldFileProblem(old))
            return problem;
    std::string temp;
    const CFd fd(MakeTemporary(name.Dir(), name.Leaf(), temp));
    if (fd.Get() < 0)
        return errno;
    ::unlinkat(name.Dir(), temp.c_str(), 0);
    return 0;
}

int CWaveFolder::Replace(const CName& name, const std::string& bytes) {
    struct stat old;
    const bool exists = ::fstatat(name.Dir(), name.Leaf().c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists)
        if (const int problem = OldFileProblem(old))
            return problem;
    std::string temp;
    CFd fd(MakeTemporary(name.Dir(), name.Leaf(), temp));
    if (fd.Get() < 0)
        return errno;
    int error = WriteAll(fd.Get(), bytes);
    if (error == 0 && exists && S_ISREG(old.st_mode)) {
        // Root replacing another user's file gives it back to that user; others cannot.
        if (::fchown(fd.Get(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
            error = errno;
        if (error == 0 && ::fchmod(fd.Get(), old.st_mode & 07777) != 0)
            error = errno;
    } else if (error == 0 && ::fchmod(fd.Get(), 0600) != 0) {
        error = errno;
    }
    if (error == 0 && ::fsync(fd.Get()) != 0)
        error = errno;
    if (::close(fd.Release()) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::renameat(name.Dir(), temp.c_str(), name.Dir(), name.Leaf().c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlinkat(name.Dir(), temp.c_str(), 0);
        return error;
    }
    ::fsync(name.Dir()); // the rename itself survives a power cut
    return 0;
}

int CWaveFolder::Remove(const CName& name) {
    struct stat st;
    if (::fstatat(name.Dir(), name.Leaf().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    return ::unlinkat(name.Dir(), name.Leaf().c_str(), 0) == 0 ? 0 : errno;
}

int CWaveFolder::List(const CName& folder, CCatalog& catalog) const {
    catalog = CCatalog();
    struct statvfs space;
    if (::fstatvfs(folder.Dir(), &space) == 0)
        catalog.nFree = std::uint64_t(space.f_bavail) * space.f_frsize;
    const int copy = ::openat(folder.Dir(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = copy < 0 ? nullptr : ::fdopendir(copy);
    if (!dir) {
        const int error = errno;
        if (copy >= 0)
            ::close(copy);
        return error;
    }
    const std::string prefix = folder.Relative().empty() ? "" : folder.Relative() + "/";
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (catalog.entries.size() == kMaxEntries) {
            catalog.bCut = true;
            break;
        }
        struct stat st;
        if (::fstatat(folder.Dir(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        std::string typeName = name;
        if (S_ISLNK(st.st_mode)) {
            // Shown only when it stays inside, as what it leads to.
            const CName target = Resolve(prefix + name, Kind::File);
            if (target.Error() != 0 ||
                ::fstatat(target.Dir(), target.Leaf().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            typeName = target.Leaf();
        }
        if (S_ISDIR(st.st_mode)) {
            catalog.entries.push_back({name, "FOLD", 0});
        } else if (S_ISREG(st.st_mode)) {
            catalog.entries.push_back(
                {name, EndsWithCsv(typeName) ? "ASC" : "BIN", std::uint64_t(st.st_size)});
            catalog.nUsed += std::uint64_t(st.st_size);
        }
    }
    ::closedir(dir);
    std::sort(catalog.entries.begin(), catalog.entries.end(),
              [](const CEntry& a, const CEntry& b) { return a.strName < b.strName; });
    return 0;
}
