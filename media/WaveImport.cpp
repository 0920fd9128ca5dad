#include "media/WaveImport.h"

#include "formats/CsvFile.h"
#include "i18n/FileAccess.h"
#include "media/SoundMemory.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Refused(const std::string& name, const std::string& why) {
    return "Cannot import file " + name + ": " + why;
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

/// The fields of a line: split at commas, else semicolons, else tabs, else blanks.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    char separator = 0;
    for (char candidate : {',', ';', '\t'}) {
        if (line.find(candidate) != std::string::npos) {
            separator = candidate;
            break;
        }
    }
    if (separator == 0) {
        std::size_t pos = 0;
        while ((pos = line.find_first_not_of(' ', pos)) != std::string::npos) {
            const std::size_t end = line.find(' ', pos);
            fields.push_back(line.substr(pos, end - pos));
            pos = end;
        }
        return fields;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(Trim(line.substr(start, end - start)));
        if (end == std::string::npos)
            return fields;
        start = end + 1;
    }
}

/// A whole field as a number (a leading "+" and exponents allowed); false for anything else.
/// "nan", "inf" and numbers beyond the double range are read, to be refused as no number.
bool ToNumber(const std::string& field, double& value) {
    const char* first = field.data();
    const char* last = first + field.size();
    if (first != last && *first == '+')
        ++first;
    if (first == last)
        return false;
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range && result.ptr == last) {
        value = HUGE_VAL;
        return true;
    }
    return result.ec == std::errc() && result.ptr == last;
}

std::string Duration(double seconds) {
    const auto whole = static_cast<long long>(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                  whole % 60);
    return text;
}

} // namespace

bool CWaveImport::IsCsvName(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "csv" || extension == "txt" || extension == "dat";
}

namespace {

/// A CSV file's text, read in pieces: a file too large or a line too long (no waveform's) is
/// refused as soon as it shows, before its text fills the memory.
bool ReadCsvText(const std::string& path, std::string& text, std::string& error) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        text.reserve(std::min(static_cast<std::size_t>(st.st_size), CWaveImport::kMaxCsvBytes));
    std::size_t lineLength = 0;
    std::size_t line = 1;
    bool tooLong = false;
    const int result = CFileAccess::ReadEach(
        path,
        [&](const char* data, std::size_t size) {
            for (std::size_t i = 0; i < size; ++i) {
                lineLength = data[i] == '\n' ? 0 : lineLength + 1;
                line += data[i] == '\n';
                if (lineLength > CWaveImport::kMaxCsvLineBytes) {
                    tooLong = true;
                    return false;
                }
            }
            text.append(data, size);
            return true;
        },
        CWaveImport::kMaxCsvBytes + 1);
    if (result != 0) {
        error = Refused(path, CFileAccess::Describe(result, path));
        return false;
    }
    if (tooLong) {
        error = Refused(path, "line " + std::to_string(line) + " is longer than " +
                                  std::to_string(CWaveImport::kMaxCsvLineBytes >> 10) +
                                  " KiB; a waveform line holds one or two numbers.");
        return false;
    }
    if (text.size() > CWaveImport::kMaxCsvBytes) {
        error = Refused(path, "it is larger than " +
                                  std::to_string(CWaveImport::kMaxCsvBytes >> 20) + " MiB.");
        return false;
    }
    return true;
}

} // namespace

bool CWaveImport::Load(const std::string& path, Source& source, std::string& error) {
    if (IsCsvName(path)) {
        std::string text;
        return ReadCsvText(path, text, error) && ParseCsv(text, path, source, error);
    }
    // Opened without waiting, so that a pipe or device is refused instead of holding the
    // window for ever; from disk, not read whole: a recording too long is refused by its header.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st;
    const int openError = fd < 0 ? errno : ::fstat(fd, &st) != 0 ? errno : 0;
    const int refusal = openError              ? openError
                        : S_ISDIR(st.st_mode)  ? EISDIR
                        : !S_ISREG(st.st_mode) ? CFileAccess::kNotRegularFile
                                               : 0;
    if (refusal != 0 || ::fcntl(fd, F_SETFL, O_RDONLY) != 0) {
        if (fd >= 0)
            ::close(fd);
        error = Refused(path, CFileAccess::Describe(refusal ? refusal : errno, path));
        return false;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    if (!file) {
        ::close(fd);
        error = Refused(path, sf_strerror(nullptr));
        return false;
    }
    const bool read = ReadSound(file, info, path, source, error);
    sf_close(file);
    ::close(fd);
    return read;
}

bool CWaveImport::ReadSoundBytes(const std::string& bytes, const std::string& name, Source& source,
                                 std::string& error) {
    CSoundMemory memory(bytes);
    SF_INFO info{};
    SNDFILE* file = memory.Open(SFM_READ, info);
    if (!file) {
        error = Refused(name, sf_strerror(nullptr));
        return false;
    }
    return ReadSound(file, info, name, source, error);
}

bool CWaveImport::ReadSound(SNDFILE* file, const SF_INFO& info, const std::string& name,
                            Source& source, std::string& error) {
    if (info.channels < 1 || info.samplerate < 1) {
        error = Refused(name, "its header names no channel or no sample rate.");
        return false;
    }
    if (info.frames > kMaxSamples) {
        error = Refused(name, "it lasts " + Duration(double(info.frames) / info.samplerate) + " (" +
                                  std::to_string(info.frames) + " samples); at most " +
                                  std::to_string(kMaxSamples) + " samples make one period.");
        return false;
    }
    Source read;
    read.dSampleRate = info.samplerate;
    read.values.reserve(static_cast<std::size_t>(std::max<sf_count_t>(info.frames, 0)));
    const auto channels = static_cast<std::size_t>(info.channels);
    constexpr sf_count_t kChunk = 4096;
    std::vector<double> buffer(static_cast<std::size_t>(kChunk) * channels);
    // The header's frame count may be wrong; never more than it promised is taken.
    while (read.values.size() < static_cast<std::size_t>(std::max<sf_count_t>(info.frames, 0))) {
        const sf_count_t got = sf_readf_double(file, buffer.data(), kChunk);
        if (got <= 0)
            break;
        for (sf_count_t i = 0; i < got; ++i)
            read.values.push_back(buffer[static_cast<std::size_t>(i) * channels] * kFullScale);
    }
    read.values.resize(std::min(read.values.size(), static_cast<std::size_t>(info.frames)));
    if (!Check(read, name, error))
        return false;
    source = std::move(read);
    return true;
}

bool CWaveImport::ParseCsv(const std::string& text, const std::string& name, Source& source,
                           std::string& error) {
    if (ParseColumns(text, name, source, error))
        return true;
    // A table file ("#CLOCK=", "#SIZE=", "<volts>,0,0" lines) is read as File > Open reads it:
    // its points are one period at its clock. Any other refusal keeps the column reader's
    // reason, which says more than a size read by position.
    const std::size_t first = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    CCsvFile::Wave wave;
    std::string fileError;
    if (text.compare(first, 1, "#") != 0 || !CCsvFile::Parse(text, name, wave, fileError))
        return false;
    Source read;
    read.values.assign(wave.points.begin(), wave.points.end());
    if (std::isfinite(wave.fSampleRate) && wave.fSampleRate > 0.0f)
        read.dSampleRate = wave.fSampleRate;
    if (!Check(read, name, error))
        return false;
    source = std::move(read);
    return true;
}

bool CWaveImport::ParseColumns(const std::string& text, const std::string& name, Source& source,
                               std::string& error) {
    Source read;
    std::vector<double> times;
    std::size_t columns = 0;
    std::size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    bool firstLine = true;
    for (int line = 1; pos < text.size(); ++line) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string content = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (content.empty())
            continue;
        const std::vector<std::string> fields = Fields(content);
        std::vector<double> numbers(fields.size());
        bool numeric = true;
        for (std::size_t i = 0; i < fields.size() && numeric; ++i)
            numeric = ToNumber(fields[i], numbers[i]);
        const bool header = firstLine;
        firstLine = false;
        if (!numeric) {
            if (header)
                continue; // column titles
            error =
                Refused(name, "line " + std::to_string(line) +
                                  " holds text where a number belongs: " + content.substr(0, 40));
            return false;
        }
        if (columns == 0)
            columns = fields.size();
        if (columns > 2) {
            error =
                Refused(name, "line " + std::to_string(line) + " has " + std::to_string(columns) +
                                  " columns; a waveform has one (volts) or two (time, volts).");
            return false;
        }
        if (fields.size() != columns) {
            error = Refused(
                name, "line " + std::to_string(line) + " has " + std::to_string(fields.size()) +
                          " values where the lines above have " + std::to_string(columns) + ".");
            return false;
        }
        for (double number : numbers) {
            if (!std::isfinite(number)) {
                error = Refused(name, "line " + std::to_string(line) +
                                          " holds a value that is not a finite number.");
                return false;
            }
        }
        if (columns == 2 && !times.empty() && !(numbers[0] > times.back())) {
            error =
                Refused(name, "the time in line " + std::to_string(line) + " does not increase.");
            return false;
        }
        if (std::int64_t(read.values.size()) >= kMaxSamples) {
            error = Refused(name, "it holds more than " + std::to_string(kMaxSamples) + " values.");
            return false;
        }
        if (columns == 2)
            times.push_back(numbers[0]);
        read.values.push_back(numbers.back());
    }
    // Evenly spaced times: n samples span n - 1 steps.
    if (times.size() >= 2) {
        const double rate = double(times.size() - 1) / (times.back() - times.front());
        read.dSampleRate = std::isfinite(rate) ? rate : 0.0;
    }
    if (!Check(read, name, error))
        return false;
    source = std::move(read);
    return true;
}

bool CWaveImport::Check(const Source& source, const std::string& name, std::string& error) {
    if (source.values.empty()) {
        error = Refused(name, "it holds no samples.");
        return false;
    }
    const auto bad = std::find_if(source.values.begin(), source.values.end(),
                                  [](double v) { return !std::isfinite(v); });
    if (bad != source.values.end()) {
        error = Refused(name, "sample " + std::to_string(bad - source.values.begin() + 1) +
                                  " is not a finite number.");
        return false;
    }
    if (std::all_of(source.values.begin(), source.values.end(),
                    [](double v) { return v == 0.0; })) {
        error = Refused(name, "it is silent (every sample is 0).");
        return false;
    }
    return true;
}
