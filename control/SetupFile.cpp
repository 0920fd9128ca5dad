#include "control/SetupFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <span>
#include <string_view>

namespace {

using S = CDeviceSetup;

const struct {
    const char* szKey;
    double S::*pValue;
} kDoubles[] = {
    {"Frequency", &S::m_dFrequency},   {"Amplitude", &S::m_dAmplitude},
    {"Offset", &S::m_dOffset},         {"Phase", &S::m_dPhase},
    {"SquareDuty", &S::m_dSquareDuty}, {"RampDuty", &S::m_dRampDuty},
    {"ExpTau", &S::m_dExpTau},         {"TrapRise", &S::m_dTrapRise},
    {"TrapHigh", &S::m_dTrapHigh},     {"TrapFall", &S::m_dTrapFall},
    {"AmDepth", &S::m_dAmDepth},       {"SweepStart", &S::m_dSweepStart},
    {"SweepEnd", &S::m_dSweepEnd},     {"SweepStep", &S::m_dSweepStep},
    {"SampleRate", &S::m_dSampleRate}, {"ViewPos", &S::m_dViewPos},
};

const struct {
    const char* szKey;
    int S::*pValue;
} kIntegers[] = {
    {"WaveType", &S::m_nWaveType},
    {"OutputOn", &S::m_bOutputOn},
    {"Atten20dB", &S::m_bAtten20dB},
    {"SingleWave", &S::m_bSingleWave},
    {"ExtTrig", &S::m_bExtTrig},
    {"TrigEdge", &S::m_nTrigEdge},
    {"PowerOnOutput", &S::m_bPowerOnOutput},
    {"CounterOn", &S::m_bCounterOn},
    {"MeasureMode", &S::m_nMeasureMode},
    {"PeriodNumber", &S::m_nPeriodNumber},
    {"ExpFall", &S::m_bExpFall},
    {"FM", &S::m_bFM},
    {"ModCarrier", &S::m_nModCarrier},
    {"FmDeviation", &S::m_nFmDeviation},
    {"SweepSpeed", &S::m_nSweepSpeed},
    {"DIOMode", &S::m_nDIOMode},
    {"DigitalOut", &S::m_wDigitalOut},
    {"PointsPerPeriod", &S::m_nPointsPerPeriod},
    {"ArbPoints", &S::m_nArbPoints},
    {"Zoom", &S::m_nZoom},
};

const struct {
    const char* szKey;
    std::uint32_t S::*pValue;
} kColours[] = {
    {"BackColor", &S::m_crBack},
    {"CurveColor", &S::m_crCurve},
    {"GridColor", &S::m_crGrid},
    {"CursorColor", &S::m_crCursor},
};

constexpr std::string_view kSection = "[Setup]";
constexpr std::string_view kVersionKey = "Version";
constexpr std::string_view kTabNameKey = "TabName";
constexpr std::string_view kArbKey = "Arb";

/// The shortest text that reads back to value; without an exponent where that stays short.
template <typename T> void AppendNumber(std::string& text, T value) {
    char buffer[64];
    std::to_chars_result result{};
    if constexpr (std::is_floating_point_v<T>) {
        const T magnitude = value < 0 ? -value : value;
        const bool plain = magnitude == 0 || (magnitude >= T(1e-4) && magnitude < T(1e15));
        result = std::to_chars(buffer, buffer + sizeof buffer, value,
                               plain ? std::chars_format::fixed : std::chars_format::general);
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, value);
    }
    text.append(buffer, result.ptr);
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20))
            return false;
    return true;
}

/// The whole text as one finite number of type T; from_chars takes no "+" and no blanks.
template <typename T> bool ReadNumber(std::string_view text, T& value) {
    T read{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), read);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty())
        return false;
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(read))
            return false;
    }
    value = read;
    return true;
}

bool ReadColour(std::string_view text, std::uint32_t& value) {
    if (text.size() != 7 || text[0] != '#')
        return false;
    std::uint32_t read = 0;
    const auto result = std::from_chars(text.data() + 1, text.data() + 7, read, 16);
    if (result.ec != std::errc() || result.ptr != text.data() + 7)
        return false;
    value = read;
    return true;
}

bool ReadTable(std::string_view text, std::vector<float>& table) {
    table.clear();
    if (Trim(text).empty())
        return true;
    while (true) {
        const auto comma = text.find(',');
        float value = 0.0f;
        if (table.size() == CSetupFile::kMaxArbPoints ||
            !ReadNumber(Trim(text.substr(0, comma)), value))
            return false;
        table.push_back(value);
        if (comma == std::string_view::npos)
            return true;
        text.remove_prefix(comma + 1);
    }
}

/// Stores one known key's value; false for a value that does not read. Unknown keys pass.
bool ReadKey(std::string_view key, std::string_view value, CDeviceSetup& setup) {
    for (const auto& entry : kDoubles)
        if (EqualsNoCase(key, entry.szKey))
            return ReadNumber(value, setup.*entry.pValue);
    for (const auto& entry : kIntegers)
        if (EqualsNoCase(key, entry.szKey))
            return ReadNumber(value, setup.*entry.pValue);
    for (const auto& entry : kColours)
        if (EqualsNoCase(key, entry.szKey))
            return ReadColour(value, setup.*entry.pValue);
    if (EqualsNoCase(key, kArbKey))
        return ReadTable(value, setup.m_arb);
    if (EqualsNoCase(key, kTabNameKey))
        setup.m_strTabName = value;
    return true;
}

} // namespace

std::string CSetupFile::Format(const CDeviceSetup& setup) {
    std::string text = std::string(kSection) + "\n" + std::string(kVersionKey) + "=" +
                       std::to_string(kVersion) + "\n";
    for (const auto& entry : kIntegers) {
        text += entry.szKey;
        text += '=';
        AppendNumber(text, setup.*entry.pValue);
        text += '\n';
    }
    for (const auto& entry : kDoubles) {
        text += entry.szKey;
        text += '=';
        AppendNumber(text, setup.*entry.pValue);
        text += '\n';
    }
    for (const auto& entry : kColours) {
        char colour[8];
        std::snprintf(colour, sizeof colour, "#%06X", unsigned(setup.*entry.pValue & 0xFFFFFF));
        text += std::string(entry.szKey) + "=" + colour + "\n";
    }
    // A line break would end the name early; the tab edit never lets one in.
    std::string name = setup.m_strTabName;
    for (char& c : name)
        if (c == '\n')
            c = ' ';
    text += std::string(kTabNameKey) + "=" + std::string(Trim(name)) + "\n";
    text += std::string(kArbKey) + "=";
    for (std::size_t i = 0; i < setup.m_arb.size(); ++i) {
        if (i > 0)
            text += ',';
        AppendNumber(text, setup.m_arb[i]);
    }
    text += '\n';
    return text;
}

bool CSetupFile::Parse(const std::string& text, CDeviceSetup& setup, std::string& error) {
    if (text.size() > kMaxBytes) {
        error = "The file is larger than " + std::to_string(kMaxBytes >> 20) +
                " MiB; a device setup is much smaller.";
        return false;
    }
    CDeviceSetup read;
    bool inSetup = false;
    bool sawSection = false;
    int version = 0;
    std::string_view rest(text);
    for (int line = 1; !rest.empty(); ++line) {
        const auto end = rest.find('\n');
        const std::string_view current = Trim(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (current.empty() || current[0] == ';' || current[0] == '#')
            continue;
        const std::string where = "Line " + std::to_string(line) + ": ";
        if (current.front() == '[') {
            inSetup = EqualsNoCase(current, kSection);
            if (inSetup && sawSection) {
                error = where + "a second [Setup] section.";
                return false;
            }
            sawSection = sawSection || inSetup;
            continue;
        }
        if (!inSetup)
            continue; // another section: not ours
        const auto equals = current.find('=');
        if (equals == std::string_view::npos) {
            error = where + "\"" + std::string(current.substr(0, 40)) + "\" is not Key=value.";
            return false;
        }
        const std::string_view key = Trim(current.substr(0, equals));
        const std::string_view value = Trim(current.substr(equals + 1));
        if (EqualsNoCase(key, kVersionKey)) {
            if (!ReadNumber(value, version) || version < 1) {
                error = where + "the version is not a whole number from 1.";
                return false;
            }
        } else if (!ReadKey(key, value, read)) {
            error = where + "the value of " + std::string(key.substr(0, 40)) + " is not valid.";
            return false;
        }
    }
    if (!sawSection || version == 0) {
        error = "This is not a device setup file: it has no [Setup] section with a Version.";
        return false;
    }
    if (version > kVersion) {
        error = "The setup was written by a newer program (version " + std::to_string(version) +
                "); this one reads version " + std::to_string(kVersion) + ".";
        return false;
    }
    setup = std::move(read);
    error.clear();
    return true;
}
