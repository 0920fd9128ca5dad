#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// The instrument's own storage: the one folder its file commands reach. A remote name is
/// resolved beneath it (Resolve) before any file call, and the calls then work on the folder
/// that resolution opened, so a link planted later cannot lead them elsewhere.
class CWaveFolder {
public:
    /// SCPI errors of a name.
    static constexpr int kStorageError = -250; ///< The folder itself cannot be made or read.
    static constexpr int kNotFound = -256;
    static constexpr int kNameError = -257;
    /// Longest name, and longest part between two separators, taken from a client.
    static constexpr std::size_t kMaxName = 1024;
    static constexpr std::size_t kMaxPart = 255;
    /// Links followed within one name before it is refused (the kernel's own limit).
    static constexpr int kMaxLinks = 40;
    /// Most entries a catalog lists; a larger folder shows the first ones found.
    static constexpr std::size_t kMaxEntries = 4096;

    /// What a name is resolved as.
    enum class Kind {
        File,       ///< A file; a link as last part leads on to what it names.
        FileItself, ///< A file or link as it stands (for deleting it).
        Folder,     ///< A folder; the empty name is the waveform folder itself.
    };

    /// A name resolved beneath the folder: the folder that holds it, open, and its last part,
    /// which need not exist yet. Move-only; closes the folder when it goes.
    class CName {
    public:
        CName() = default;
        CName(CName&& other) noexcept;
        CName& operator=(CName&& other) noexcept;
        ~CName();

        /// 0, or the SCPI error of the name with Info() saying why.
        int Error() const { return m_nError; }
        const std::string& Info() const { return m_strInfo; }
        /// The open folder that holds the name (the folder itself for Kind::Folder).
        int Dir() const { return m_nDir; }
        /// The last part ("" for Kind::Folder).
        const std::string& Leaf() const { return m_strLeaf; }
        /// From the waveform folder, parts joined by "/", links followed.
        const std::string& Relative() const { return m_strRelative; }

    private:
        friend class CWaveFolder;
        int m_nError = 0;
        std::string m_strInfo;
        int m_nDir = -1;
        std::string m_strLeaf;
        std::string m_strRelative;
    };

    /// One entry of a catalog.
    struct CEntry {
        std::string strName;
        std::string strType; ///< "ASC" (a .csv file), "BIN" (another file) or "FOLD".
        std::uint64_t nSize = 0;
    };
    struct CCatalog {
        std::uint64_t nUsed = 0;     ///< Bytes of the files listed.
        std::uint64_t nFree = 0;     ///< Bytes still free for the program's user.
        std::vector<CEntry> entries; ///< By name.
        bool bCut = false;           ///< More than kMaxEntries were there.
    };

    /// $XDG_DATA_HOME/ddstarn-usb/waveforms ($XDG_DATA_HOME defaulting to ~/.local/share).
    static std::string DefaultPath();

    /// path: the folder; empty: DefaultPath().
    explicit CWaveFolder(std::string path = {});

    const std::string& Path() const { return m_strPath; }
    void SetPath(std::string path);

    /// Creates the folder and the parents it lacks, each 0700. 0 or the error number.
    int Prepare() const;

    /// name, as a client sent it, resolved beneath the folder (made first when missing).
    /// Refused with kNameError: empty, too long, absolute, with a ".." part, through a link
    /// that is absolute or climbs out, or past kMaxLinks links; with kNotFound: a folder part
    /// that does not exist. "/" and "\" both separate parts.
    CName Resolve(const std::string& name, Kind kind = Kind::File) const;

    // The file calls on a resolved name; 0 or an error number as CFileAccess gives them
    // (EISDIR, CFileAccess::kNotRegularFile, ELOOP when a link took the name's place).

    /// At most maxBytes of the file.
    static int Read(const CName& name, std::string& bytes, std::size_t maxBytes);
    /// Whether Replace may write the name: not a folder, pipe or read-only file, and a new file
    /// can be made beside it. Nothing is left behind.
    static int CheckReplaceable(const CName& name);
    /// Writes bytes beside the name, syncs and renames over it: a new file is 0600, an old one
    /// keeps its owner and mode. A link in the name's place is replaced, never followed, and an
    /// old file is never rewritten in place (one of its hard links may lie outside).
    static int Replace(const CName& name, const std::string& bytes);
    /// Removes the file or link (ENOENT when missing, EISDIR for a folder).
    static int Remove(const CName& name);
    /// The entries of a resolved folder; links are listed as what they lead to, and only when
    /// that lies inside.
    int List(const CName& folder, CCatalog& catalog) const;

private:
    std::string m_strPath;
};
