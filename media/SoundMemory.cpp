#include "media/SoundMemory.h"

#include <algorithm>
#include <cstring>

CSoundMemory::~CSoundMemory() {
    Close();
}

SNDFILE* CSoundMemory::Open(int mode, SF_INFO& info) {
    Close();
    static SF_VIRTUAL_IO io{&Length, &Seek, &Read, &Write, &Tell};
    m_nPos = 0;
    m_pFile = sf_open_virtual(&io, mode, &info, this);
    return m_pFile;
}

void CSoundMemory::Close() {
    if (m_pFile)
        sf_close(m_pFile);
    m_pFile = nullptr;
}

sf_count_t CSoundMemory::Length(void* self) {
    return static_cast<sf_count_t>(static_cast<CSoundMemory*>(self)->m_strBytes.size());
}

sf_count_t CSoundMemory::Seek(sf_count_t offset, int whence, void* self) {
    auto* memory = static_cast<CSoundMemory*>(self);
    const sf_count_t base = whence == SEEK_CUR   ? memory->m_nPos
                            : whence == SEEK_END ? Length(self)
                                                 : 0;
    // Past the end is allowed, as for a file: a writer fills the gap when it writes there.
    memory->m_nPos = std::max<sf_count_t>(0, base + offset);
    return memory->m_nPos;
}

sf_count_t CSoundMemory::Read(void* buffer, sf_count_t count, void* self) {
    auto* memory = static_cast<CSoundMemory*>(self);
    const sf_count_t size = Length(self);
    const sf_count_t n =
        std::clamp<sf_count_t>(size - memory->m_nPos, 0, std::max<sf_count_t>(count, 0));
    if (n > 0)
        std::memcpy(buffer, memory->m_strBytes.data() + memory->m_nPos,
                    static_cast<std::size_t>(n));
    memory->m_nPos += n;
    return n;
}

sf_count_t CSoundMemory::Write(const void* buffer, sf_count_t count, void* self) {
    auto* memory = static_cast<CSoundMemory*>(self);
    if (count <= 0)
        return 0;
    const auto end = static_cast<std::size_t>(memory->m_nPos + count);
    if (memory->m_strBytes.size() < end)
        memory->m_strBytes.resize(end);
    std::memcpy(memory->m_strBytes.data() + memory->m_nPos, buffer,
                static_cast<std::size_t>(count));
    memory->m_nPos += count;
    return count;
}

sf_count_t CSoundMemory::Tell(void* self) {
    return static_cast<CSoundMemory*>(self)->m_nPos;
}
