#pragma once
#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

/// Reads a waveform made elsewhere: a sound file through libsndfile (its first channel) or a
/// numeric CSV file (one column of volts, or time and volts, with or without a header line, or
/// the program's own table file).
/// The whole file stands for one period. A file that would make no wave (no samples, silence,
/// values that are not numbers, text among the numbers, a recording too long) is refused with
/// the message to show, and nothing is handed on.
class CWaveImport {
public:
    /// What a file holds, in volts.
    struct Source {
        std::vector<double> values;
        /// Samples per second when the file says (a sound file's rate, a CSV file's time
        /// column), else 0: the period is then the device's own.
        double dSampleRate = 0.0;
    };

    /// Volts that a sound file's full scale (±1) stands for: the output's limits.
    static constexpr double kFullScale = 3.5;
    /// Most samples a file may hold, found from a sound file's header before anything is
    /// decoded: about 47 s of CD sound, which the best converter takes a few seconds to turn
    /// into a table.
    static constexpr std::int64_t kMaxSamples = std::int64_t(1) << 21;
    /// Largest CSV file read (a number per line of up to 16 characters).
    static constexpr std::size_t kMaxCsvBytes = std::size_t(64) << 20;
    /// Longest line of a CSV file: room for column titles; numbers take a few dozen bytes.
    static constexpr std::size_t kMaxCsvLineBytes = std::size_t(64) << 10;

    /// Reads path: ".csv", ".txt" and ".dat" files as CSV, anything else as a sound file. A pipe,
    /// device or folder is refused before anything is read from it.
    static bool Load(const std::string& path, Source& source, std::string& error);
    /// A sound file in memory, as Load reads one from disk; name only names it in error.
    static bool ReadSoundBytes(const std::string& bytes, const std::string& name, Source& source,
                               std::string& error);
    /// A CSV file's text: columns as above, or else a table file as File > Open reads it
    /// (its points at its "#CLOCK" rate); name only names it in error.
    static bool ParseCsv(const std::string& text, const std::string& name, Source& source,
                         std::string& error);

private:
    static bool IsCsvName(const std::string& path);
    /// One column of volts, or time and volts, with or without a header line.
    static bool ParseColumns(const std::string& text, const std::string& name, Source& source,
                             std::string& error);
    /// Decodes the first channel of an opened sound file, refusing one that is too long.
    static bool ReadSound(SNDFILE* file, const SF_INFO& info, const std::string& name,
                          Source& source, std::string& error);
    /// Refuses a source without samples, with a value that is no number, or silent.
    static bool Check(const Source& source, const std::string& name, std::string& error);
};
