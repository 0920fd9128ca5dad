#include "media/WaveExport.h"

#include "engine/DDSDevice.h"
#include "i18n/FileAccess.h"
#include "media/SoundMemory.h"
#include "media/WaveImport.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>

namespace {

/// Volts at fraction x (0 to 1) of one period of the device's wave.
double VoltsAt(const CDDSDevice& device, double x) {
    if (device.m_nWaveType == WAVE_ARB) {
        const int points = std::clamp(static_cast<int>(device.m_nPointsPerPeriod), 1,
                                      static_cast<int>(kMaxPoints));
        const int index = std::min(static_cast<int>(x * points), points - 1);
        return device.m_fArb[static_cast<std::size_t>(index)];
    }
    // The display draws its period number of periods over t = 0 .. 1.
    const int periods = device.m_bSingleWave ? 1 : std::max<int>(1, device.m_nPeriodNumber);
    return device.SampleAt(x / periods, true) * CWaveImport::kFullScale;
}

void Append(std::string& text, double value, std::chars_format format, int precision) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    text.append(buffer, result.ptr);
}

} // namespace

double CWaveExport::DefaultSampleRate(const CDDSDevice& device) {
    const int points = device.m_nPointsPerPeriod;
    const double rate = std::round(std::max(points, 1) * static_cast<double>(device.m_dFrequency));
    return std::clamp(rate, kMinSampleRate, kMaxSampleRate);
}

double CWaveExport::SampleCount(const CDDSDevice& device, int periods, double sampleRate) {
    const double frequency = std::max(1.0, static_cast<double>(device.m_dFrequency));
    return std::round(std::clamp(periods, 1, kMaxPeriods) * sampleRate / frequency);
}

std::vector<float> CWaveExport::Samples(const CDDSDevice& device, int periods, double sampleRate) {
    const double count = SampleCount(device, periods, sampleRate);
    if (!(count >= 1.0) || count > double(kMaxSamples))
        return {};
    const auto total = static_cast<std::size_t>(count);
    const int whole = std::clamp(periods, 1, kMaxPeriods);
    std::vector<float> volts(total);
    // Exactly `whole` periods over the file, whatever rounding the rate took.
    for (std::size_t j = 0; j < total; ++j) {
        const double position = double(j) * whole / double(total);
        volts[j] = static_cast<float>(VoltsAt(device, position - std::floor(position)));
    }
    return volts;
}

std::string CWaveExport::WavBytes(const std::vector<float>& volts, double sampleRate) {
    CSoundMemory memory;
    SF_INFO info{};
    info.samplerate =
        static_cast<int>(std::clamp(std::round(sampleRate), kMinSampleRate, kMaxSampleRate));
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = memory.Open(SFM_WRITE, info);
    if (!file)
        return std::string();
    // Values beyond full scale (a table point typed up to 10 V) are held there, not wrapped.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    std::vector<double> samples(volts.size());
    std::transform(volts.begin(), volts.end(), samples.begin(),
                   [](float v) { return v / CWaveImport::kFullScale; });
    sf_write_double(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    memory.Close();
    return memory.Bytes();
}

std::string CWaveExport::CsvText(const std::vector<float>& volts, double sampleRate) {
    std::string text = "Time (s),Voltage (V)\r\n";
    text.reserve(volts.size() * 28);
    for (std::size_t j = 0; j < volts.size(); ++j) {
        Append(text, double(j) / sampleRate, std::chars_format::general, 9);
        text += ',';
        Append(text, volts[j], std::chars_format::fixed, 6);
        text += "\r\n";
    }
    return text;
}

bool CWaveExport::Write(const CDDSDevice& device, int format, int periods, double sampleRate,
                        const std::string& path, std::string& error) {
    const double rate = std::clamp(sampleRate, kMinSampleRate, kMaxSampleRate);
    const std::vector<float> volts = Samples(device, periods, rate);
    if (volts.empty()) {
        error = "Cannot export " + path + ": " + std::to_string(periods) + " periods at " +
                std::to_string(static_cast<long long>(rate)) + " samples per second pass " +
                std::to_string(kMaxSamples) + " samples.";
        return false;
    }
    const std::string bytes = format == FORMAT_CSV ? CsvText(volts, rate) : WavBytes(volts, rate);
    const int result = bytes.empty() ? EIO : CFileAccess::ReplaceAll(path, bytes);
    if (result != 0) {
        error = "Cannot export " + CFileAccess::Describe(result, path);
        return false;
    }
    error.clear();
    return true;
}
