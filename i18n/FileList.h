#pragma once
#include <functional>
#include <string>
#include <vector>

/// Finds files below a folder, breadth-first, and keeps their paths relative to that folder
/// ("sub/name.lug") in the order found. The list is only ever appended to.
class CFileList {
public:
    /// Folders waiting to be searched fit in a ring of this many slots, one always free.
    static constexpr int kQueueSlots = 4160;
    /// Shown when the ring is full (too many subfolders on one level).
    static constexpr const char* kTooManyFoldersMessage = "同一层子目录太多!";

    CFileList();

    /// Appends the files below root whose names end like mask ("*.*": every file; else the
    /// last three characters, ignoring case). Folders are searched level by level, each one's
    /// entries in name order; linked folders are not entered, and links that lead nowhere are
    /// skipped. A missing root finds nothing.
    /// Returns false (after the message) when the folder queue overflowed; what was found
    /// before stays listed.
    bool FindFiles(const std::string& root, const std::string& mask);

    const std::vector<std::string>& GetFiles() const { return m_files; }
    int GetCount() const { return static_cast<int>(m_files.size()); }

    /// Where the overflow message goes; by default to standard error.
    void SetMessageHandler(std::function<void(const std::string&)> handler);

private:
    std::vector<std::string> m_files;
    std::function<void(const std::string&)> m_showMessage;
};
