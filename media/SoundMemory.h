#pragma once
#include <sndfile.h>

#include <string>

/// Bytes in memory that libsndfile reads from or writes to as if they were a file: a sound file
/// is decoded from bytes already read, or encoded whole before it replaces a file at once.
class CSoundMemory {
public:
    CSoundMemory() = default;
    explicit CSoundMemory(std::string bytes) : m_strBytes(std::move(bytes)) {}
    ~CSoundMemory();

    CSoundMemory(const CSoundMemory&) = delete;
    CSoundMemory& operator=(const CSoundMemory&) = delete;

    /// Opens the bytes with libsndfile (mode SFM_READ or SFM_WRITE); null on failure, with
    /// sf_strerror(nullptr) telling why. The handle is closed with this object.
    SNDFILE* Open(int mode, SF_INFO& info);
    /// Closes the handle (a writer completes its header); the bytes are final from then on.
    void Close();
    const std::string& Bytes() const { return m_strBytes; }

private:
    static sf_count_t Length(void* self);
    static sf_count_t Seek(sf_count_t offset, int whence, void* self);
    static sf_count_t Read(void* buffer, sf_count_t count, void* self);
    static sf_count_t Write(const void* buffer, sf_count_t count, void* self);
    static sf_count_t Tell(void* self);

    std::string m_strBytes;
    sf_count_t m_nPos = 0;
    SNDFILE* m_pFile = nullptr;
};
