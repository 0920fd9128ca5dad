// What a save keeps of the file it replaces, on real files: owner, group, mode, extended
// attributes, hard links, long names, and the true reason of a refusal. Tests run as root, so
// the cases of an ordinary user save in a child that has dropped to "nobody".
#include "formats/CsvFile.h"
#include "i18n/FileAccess.h"

#include "TextTestSupport.h"

#include <cstring>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

/// Runs save in a child, as "nobody" when asked; its result, or -1 when the child failed.
template <class F> int InChild(bool asNobody, uid_t uid, gid_t gid, F save) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (asNobody && (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 ||
                         ::setresuid(uid, uid, uid) != 0))
            ::_exit(254);
        ::_exit(save());
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct SSaveCase {
    const char* name;
    bool asNobody;      ///< The save runs as an ordinary user.
    bool nobodysFile;   ///< The file there belongs to nobody:nogroup (else to root).
    mode_t mode;        ///< Of the file there; 0: no file yet.
    bool hardLink;      ///< The file has a second name.
    bool attribute;     ///< The file carries a user.* extended attribute.
    const char* folder; ///< Below the scratch folder, made by root with mode 0755; "": the scratch
                        ///< folder itself, open to all.
    std::size_t nameLength;
    int expected; ///< The error number of both the check and the save.
};

// clang-format off
const SSaveCase kSaveCases[] = {
    {"root keeps a user's file hers",            false, true,  0604, false, false, "", 8,   0},
    {"a user keeps root's file in her folder",   true,  false, 0666, false, false, "", 8,   0},
    {"hard links stay one file",                 false, false, 0640, true,  false, "", 8,   0},
    {"a user rewrites a linked file",            true,  true,  0600, true,  false, "", 8,   0},
    {"extended attributes stay",                 false, false, 0644, false, true,  "", 8,   0},
    {"a name of 255 bytes",                      false, false, 0,    false, false, "", 255, 0},
    {"a name of 255 bytes over an old file",     false, false, 0644, false, false, "", 255, 0},
    {"a user saves into a folder not hers",      true,  false, 0,    false, false, "locked", 8,
     EACCES},
};
// clang-format on

} // namespace

TEST(FileSaves, KeepOwnerModeAttributesAndLinksAndSayWhyTheyFail) {
    const passwd* nobody = ::getpwnam("nobody");
    const group* nogroup = ::getgrnam("nogroup");
    if (::geteuid() != 0 || !nobody || !nogroup)
        GTEST_SKIP() << "needs root and the users nobody and nogroup";
    for (const SSaveCase& c : kSaveCases) {
        SCOPED_TRACE(c.name);
        CScratchDir dir;
        ::chmod(dir.Path().c_str(), 0777);
        std::string folder = dir.Path();
        if (*c.folder) {
            folder = dir / c.folder;
            ::mkdir(folder.c_str(), 0755);
        }
        const std::string path = folder + "/" + std::string(c.nameLength - 4, 'w') + ".csv";
        const uid_t owner = c.nobodysFile ? nobody->pw_uid : 0;
        const gid_t group = c.nobodysFile ? nogroup->gr_gid : 0;
        if (c.mode) {
            WriteBytes(path, "old contents");
            ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
            ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        }
        if (c.hardLink) {
            ASSERT_EQ(::link(path.c_str(), (dir / "second").c_str()), 0);
        }
        if (c.attribute && ::setxattr(path.c_str(), "user.lab", "bench 4", 7, 0) != 0) {
            ASSERT_EQ(errno, ENOTSUP); // the file system keeps none: nothing to test
            continue;
        }

        const int result = InChild(c.asNobody, nobody->pw_uid, nogroup->gr_gid, [&] {
            const int check = CFileAccess::CheckReplaceable(path);
            const int save = CFileAccess::ReplaceAll(path, "new contents");
            std::string message;
            // The message a user sees names the real cause.
            const bool said = CCsvFile::CheckWritable(path, message) ||
                              message.find(std::strerror(c.expected)) != std::string::npos;
            return check == save && said ? save : 255;
        });
        EXPECT_EQ(result, c.expected) << std::strerror(result);
        if (c.expected != 0) {
            EXPECT_EQ(CountEntries(folder), 0); // nothing left behind
            continue;
        }
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(ReadBytes(path), "new contents");
        if (c.mode) {
            EXPECT_EQ(st.st_uid, owner);
            EXPECT_EQ(st.st_gid, group);
            EXPECT_EQ(st.st_mode & 07777, c.mode);
        }
        if (c.hardLink) {
            struct stat second {};
            ASSERT_EQ(::stat((dir / "second").c_str(), &second), 0);
            EXPECT_EQ(std::pair(second.st_ino, second.st_nlink), std::pair(st.st_ino, nlink_t(2)));
        }
        if (c.attribute) {
            char value[16] = {};
            EXPECT_EQ(::getxattr(path.c_str(), "user.lab", value, sizeof value), 7);
            EXPECT_STREQ(value, "bench 4");
        }
        // Only the file itself (and its second name) remain: no copy beside it.
        EXPECT_EQ(CountEntries(dir.Path()), 1 + c.hardLink + (*c.folder != 0));
    }
}
