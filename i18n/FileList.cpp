#include "i18n/FileList.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsLikeMask(const std::string& name, const std::string& mask) {
    if (mask == "*.*")
        return true;
    const std::size_t n = std::min<std::size_t>(3, mask.size());
    if (name.size() < n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (Lower(name[name.size() - n + i]) != Lower(mask[mask.size() - n + i]))
            return false;
    }
    return true;
}

/// Name order as a person reads it: letters without regard to case, then exact bytes.
bool NameBefore(const std::string& a, const std::string& b) {
    const bool less = std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Lower(x) < Lower(y); });
    const bool greater = std::lexicographical_compare(
        b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) { return Lower(x) < Lower(y); });
    return less || (!greater && a < b);
}

struct FolderEntry {
    std::string name;
    bool folder = false;
};

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        FolderEntry entry;
        entry.name = it->path().filename().string();
        std::error_code statusError;
        const fs::file_status own = it->symlink_status(statusError);
        if (fs::is_symlink(own)) {
            // A linked folder could lead back up the tree; a link that leads nowhere (or round
            // in a loop) is no file to read.
            const fs::file_status target = it->status(statusError);
            if (statusError || !fs::exists(target) || fs::is_directory(target))
                continue;
        } else {
            entry.folder = fs::is_directory(own);
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return NameBefore(a.name, b.name);
    });
    return entries;
}

} // namespace

CFileList::CFileList()
    : m_showMessage([](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }) {}

void CFileList::SetMessageHandler(std::function<void(const std::string&)> handler) {
    m_showMessage = std::move(handler);
}

bool CFileList::FindFiles(const std::string& root, const std::string& mask) {
    std::string base = root;
    if (!base.empty() && base.back() == '/')
        base.pop_back();

    std::vector<std::string> queue(kQueueSlots);
    std::size_t head = 0;
    std::size_t tail = 1; // slot 0 holds the root itself (the empty relative path)
    while (head != tail) {
        const std::string folder = std::move(queue[head]);
        head = (head + 1) % kQueueSlots;
        const std::string full =
            folder.empty() ? (base.empty() ? std::string("/") : base) : base + "/" + folder;
        for (const FolderEntry& entry : ListFolder(full)) {
            const std::string relative = folder.empty() ? entry.name : folder + "/" + entry.name;
            if (entry.folder) {
                const std::size_t next = (tail + 1) % kQueueSlots;
                if (next == head) {
                    if (m_showMessage)
                        m_showMessage(kTooManyFoldersMessage);
                    return false;
                }
                queue[tail] = relative;
                tail = next;
            } else if (EndsLikeMask(entry.name, mask)) {
                m_files.push_back(relative);
            }
        }
    }
    return true;
}
