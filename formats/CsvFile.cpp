#include "formats/CsvFile.h"

#include "engine/DDSDevice.h"
#include "i18n/FileAccess.h"
#include "i18n/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

const char* const kOpenFailed = "Cann't Save file: %s";

std::string OpenFailedMessage(int error, const std::string& path) {
    std::string message = kOpenFailed;
    message.replace(message.find("%s"), 2, CFileAccess::Describe(error, path));
    return message;
}

/// A double as float without leaving the float range (a huge value is no reason to crash).
float ToFloat(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isnan(value))
        return 0.0f;
    return static_cast<float>(std::clamp(value, -kMax, kMax));
}

/// "%f": six decimals, never an exponent, whatever the locale.
void AppendFixed(std::string& text, double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    text.append(buffer, result.ptr);
}

/// Hands out a text's lines one by one, without line ends; empty lines after the end.
class LineReader {
public:
    explicit LineReader(const std::string& text) : m_text(text) {}
    std::string Next() {
        if (m_pos >= m_text.size())
            return std::string();
        std::size_t end = m_text.find('\n', m_pos);
        if (end == std::string::npos)
            end = m_text.size();
        std::string line = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }

private:
    const std::string& m_text;
    std::size_t m_pos = 0;
};

/// Text after the last "=" (the whole line without one), cut before its first ",".
std::string HeaderField(const std::string& line) {
    const std::size_t equals = line.rfind('=');
    std::string field = equals == std::string::npos ? line : line.substr(equals + 1);
    return field.substr(0, field.find(','));
}

/// Text before the first "," of a point line; none there: empty.
std::string PointField(const std::string& line) {
    const std::size_t comma = line.find(',');
    return comma == std::string::npos ? std::string() : line.substr(0, comma);
}

} // namespace

std::string CCsvFile::Format(float sampleRate, const std::vector<float>& points) {
    std::string text = "#CLOCK=";
    AppendFixed(text, sampleRate);
    text += "\r\n#SIZE=" + std::to_string(points.size()) + "\r\n";
    for (float point : points) {
        AppendFixed(text, point);
        text += ",0,0\r\n";
    }
    return text;
}

bool CCsvFile::CheckWritable(const std::string& path, std::string& error, const Target* target) {
    const int failure = target ? target->check() : CFileAccess::CheckReplaceable(path);
    if (failure == 0)
        return true;
    error = OpenFailedMessage(failure, target ? target->strShown : path);
    return false;
}

bool CCsvFile::Write(CDDSDevice& device, const std::string& path, std::string& error,
                     const Target* target) {
    const std::string& shown = target ? target->strShown : path;
    const int count = std::clamp(static_cast<int>(device.m_nPointsPerPeriod), 0, kMaxPoints);
    if (count < 1) {
        // "#SIZE=0" is a file Read refuses.
        error = kOpenFailed;
        error.replace(error.find("%s"), 2,
                      CFileAccess::DisplayName(shown) + ": the wave has no points");
        return false;
    }
    const float sampleRate = ToFloat(count * static_cast<double>(device.m_dFrequency));
    std::vector<float> points(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        points[static_cast<std::size_t>(i)] = device.m_fArb[static_cast<std::size_t>(i)];

    const std::string text = Format(sampleRate, points);
    const int result = target ? target->replace(text) : CFileAccess::ReplaceAll(path, text);
    if (result != 0) {
        // A save that failed leaves the device as it was.
        error = OpenFailedMessage(result, shown);
        return false;
    }
    device.m_fSampleRate = sampleRate;
    error.clear();
    return true;
}

bool CCsvFile::Parse(const std::string& text, const std::string& path, Wave& wave,
                     std::string& error) {
    LineReader lines(text);
    const float sampleRate = ToFloat(CNumberText::ToDouble(HeaderField(lines.Next())));
    const int size = CNumberText::ToInteger(CNumberText::BASE_DECIMAL, HeaderField(lines.Next()));
    if (size < 1 || size > kMaxPoints) {
        error = "Cannot open file " + CFileAccess::DisplayName(path) + ": its size " +
                std::to_string(size) + " is not between 1 and " + std::to_string(kMaxPoints) +
                " points.";
        return false;
    }
    wave.fSampleRate = sampleRate;
    wave.nPointsPerPeriod = size;
    wave.points.assign(static_cast<std::size_t>(size), 0.0f);
    for (float& point : wave.points)
        point = ToFloat(CNumberText::ToDouble(PointField(lines.Next())));
    error.clear();
    return true;
}

double CCsvFile::FrequencyOf(const Wave& wave) {
    if (wave.nPointsPerPeriod <= 0)
        return kMinFrequency;
    const double frequency = static_cast<double>(wave.fSampleRate) / wave.nPointsPerPeriod;
    return CDeviceControl::ClampFrequency(frequency, WAVE_ARB);
}

bool CCsvFile::Load(const std::string& path, Wave& wave, std::string& error) {
    std::string text;
    const int result = CFileAccess::ReadAll(path, text, kMaxReadBytes + 1);
    return LoadRead(result, std::move(text), path, wave, error);
}

bool CCsvFile::LoadRead(int result, std::string text, const std::string& path, Wave& wave,
                        std::string& error) {
    if (result != 0) {
        error = OpenFailedMessage(result, path);
        return false;
    }
    if (text.size() > kMaxReadBytes) {
        // Only the lines the size header asks for are used, so a huge file is read no further
        // than they may reach, and refused when they do not fit there: never half a point.
        text.resize(text.rfind('\n', kMaxReadBytes) + 1); // no line break at all: empty
        if (Parse(text, path, wave, error) &&
            std::count(text.begin(), text.end(), '\n') < wave.nPointsPerPeriod + 2) {
            error = "Cannot open file " + CFileAccess::DisplayName(path) + ": its " +
                    std::to_string(wave.nPointsPerPeriod) + " points do not fit in its first " +
                    std::to_string(kMaxReadBytes >> 20) + " MiB.";
            return false;
        }
    }
    return Parse(text, path, wave, error);
}

bool CCsvFile::Read(CDDSDevice& device, const std::string& path, std::string& error) {
    Wave wave;
    if (!Load(path, wave, error))
        return false;
    Apply(device, wave);
    return true;
}

bool CCsvFile::ReadText(CDDSDevice& device, const std::string& text, const std::string& path,
                        std::string& error) {
    Wave wave;
    if (!Parse(text, path, wave, error))
        return false;
    Apply(device, wave);
    return true;
}

void CCsvFile::Apply(CDDSDevice& device, const Wave& wave) {
    device.m_fSampleRate = wave.fSampleRate;
    device.m_nPointsPerPeriod = wave.nPointsPerPeriod;
    device.SetFrequency(FrequencyOf(wave));
    for (std::size_t i = 0; i < std::min(wave.points.size(), std::size_t(kMaxPoints)); ++i)
        device.m_fArb[i] = wave.points[i];
}
