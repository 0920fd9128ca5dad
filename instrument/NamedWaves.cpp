#include "instrument/NamedWaves.h"

#include <algorithm>
#include <cctype>
#include <cmath>

bool CNamedWaves::ValidName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength ||
        !std::isalpha(static_cast<unsigned char>(name[0])))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

int CNamedWaves::Store(const std::string& name, std::vector<float> values, std::string& reason) {
    if (!ValidName(name)) {
        reason = "names are 1 to 12 letters, digits or _, a letter first";
        return -224;
    }
    if (values.empty() || values.size() > kMaxPoints) {
        reason = "1 to 65536 values a wave";
        return -223;
    }
    if (!std::all_of(values.begin(), values.end(),
                     [](float v) { return std::fabs(double(v)) <= 1.0; })) {
        reason = "values are -1 to +1";
        return -222;
    }
    for (CWave& wave : m_vWaves)
        if (wave.strName == name) {
            wave.vValues = std::move(values);
            return 0;
        }
    if (m_vWaves.size() >= kMaxWaves) {
        reason = "8 waves a device: DATA:DELete one first";
        return -225;
    }
    m_vWaves.push_back({name, std::move(values)});
    return 0;
}

const std::vector<float>* CNamedWaves::Find(const std::string& name) const {
    for (const CWave& wave : m_vWaves)
        if (wave.strName == name)
            return &wave.vValues;
    return nullptr;
}

bool CNamedWaves::Delete(const std::string& name) {
    const auto found = std::find_if(m_vWaves.begin(), m_vWaves.end(),
                                    [&](const CWave& wave) { return wave.strName == name; });
    if (found == m_vWaves.end())
        return false;
    m_vWaves.erase(found);
    return true;
}

std::vector<std::string> CNamedWaves::Names() const {
    std::vector<std::string> names;
    for (const CWave& wave : m_vWaves)
        names.push_back(wave.strName);
    return names;
}
