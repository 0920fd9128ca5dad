#pragma once
#include <cstddef>
#include <string>
#include <vector>

/// The arbitrary waves a benchtop-style client uploads by name, kept in memory for one device:
/// values -1 to +1 of one period, at most kMaxWaves names of at most kMaxNameLength characters
/// (a letter, then letters, digits or '_'), each of 1 to kMaxPoints values.
class CNamedWaves {
public:
    static constexpr std::size_t kMaxWaves = 8;
    static constexpr std::size_t kMaxNameLength = 12;
    static constexpr std::size_t kMaxPoints = 65536;

    static bool ValidName(const std::string& name);
    /// Keeps values under name (in capitals), replacing a wave of that name. Returns 0, or the
    /// error code with why in reason (nothing kept): -224 name, -223 count, -222 a value beyond
    /// -1..+1, -225 no room for another name.
    int Store(const std::string& name, std::vector<float> values, std::string& reason);
    /// The wave, or null.
    const std::vector<float>* Find(const std::string& name) const;
    bool Delete(const std::string& name);
    void Clear() { m_vWaves.clear(); }
    std::vector<std::string> Names() const;

private:
    struct CWave {
        std::string strName;
        std::vector<float> vValues;
    };
    std::vector<CWave> m_vWaves;
};
