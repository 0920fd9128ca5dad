#include "engine/DDSDevice.h"
#include "formats/CsvFile.h"
#include "media/WaveExport.h"
#include "media/WaveImport.h"
#include "media/WaveResampler.h"

#include "TextTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <sndfile.h>

namespace {

/// One cycle of a sine with a third harmonic (band-limited) and a level, over n samples.
double Wave(std::size_t i, std::size_t n) {
    const double x = 2.0 * std::numbers::pi * double(i) / double(n);
    return std::sin(x) + 0.25 * std::sin(3.0 * x) + 0.125;
}

/// A sound file of n frames: channel 0 the wave at `scale` full scale, channel 1 noise.
void WriteSound(const std::string& path, int format, int channels, std::size_t n, int rate,
                double scale) {
    SF_INFO info{0, rate, channels, format, 0, 0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<double> frames(n * std::size_t(channels));
    for (std::size_t i = 0; i < n; ++i) {
        frames[i * std::size_t(channels)] = scale * Wave(i, n);
        if (channels > 1)
            frames[i * 2 + 1] = (i * 7919 % 100) / 100.0 - 0.5;
    }
    sf_writef_double(file, frames.data(), sf_count_t(n));
    sf_close(file);
}

// Name; libsndfile's format, or 0 for CSV with a time column, -1 for one CSV column; samples;
// points (0: the default); tolerance in volts. Sound files: 0.5 full scale = 1.75 V; CSV files
// hold the wave in volts as it is.
const std::tuple<const char*, int, std::size_t, int, double> kKnownFiles[] = {
    {"stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1000, 0, 2e-4},
    {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 4096, 2e-4},
    {"long.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 400000, 256, 2e-4},
    {"short.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 64, 4096, 5e-4},
    {"eight.csv", -1, 8, 4096, 1e-4},
    {"timed.csv", 0, 2000, 100, 1e-4},
    {"one.csv", -1, 1, 3, 0.0},
};

} // namespace

TEST(WaveImport, KnownFilesResampleToTheirWave) {
    CScratchDir dir;
    for (const auto& [name, format, samples, size, tolerance] : kKnownFiles) {
        SCOPED_TRACE(name);
        const std::string path = dir / name;
        double volts = 1.75;
        if (format > 0) {
            WriteSound(path, format, name == std::string("stereo.wav") ? 2 : 1, samples, 44100,
                       0.5);
        } else {
            std::string text = format == 0 ? "time,volts\n" : "";
            for (std::size_t i = 0; i < samples; ++i)
                text += (format == 0 ? std::to_string(i * 1e-6) + ", " : "") +
                        std::to_string(Wave(i, samples)) + "\r\n";
            WriteBytes(path, text);
            volts = 1.0;
        }
        CWaveImport::Source source;
        std::string error;
        ASSERT_TRUE(CWaveImport::Load(path, source, error)) << error;
        EXPECT_NEAR(source.dSampleRate, format > 0 ? 44100 : format == 0 ? 1e6 : 0, 1e-3);
        const int points = size ? size : CWaveResampler::DefaultPoints(samples);
        std::vector<double> table;
        ASSERT_TRUE(CWaveResampler::Resample(source.values, points, table, error)) << error;
        ASSERT_EQ(table.size(), std::size_t(points));
        double worst = 0.0;
        for (std::size_t j = 0; j < table.size(); ++j) {
            const double expected = volts * (samples == 1 ? 0.125 : Wave(j, table.size()));
            worst = std::max(worst, std::fabs(table[j] - expected));
        }
        EXPECT_LE(worst, tolerance);
    }
}

TEST(WaveImport, ScalingFitsTheAmplitudeAndCountsClippedPoints) {
    const std::vector<double> table{-1.0, 0.5, 5.0, -4.0};
    using R = CWaveResampler;
    EXPECT_EQ(R::Scale(table, R::SCALE_KEEP_VOLTS, 2.0),
              (std::vector<float>{-1, 0.5f, 3.5f, -3.5f}));
    EXPECT_EQ(R::Scale(table, R::SCALE_FIT_AMPLITUDE, 2.0),
              (std::vector<float>{-0.4f, 0.2f, 2, -1.6f}));
    EXPECT_EQ(std::pair(R::CountClipped(table, R::SCALE_KEEP_VOLTS, 2.0),
                        R::CountClipped(table, R::SCALE_FIT_AMPLITUDE, 2.0)),
              std::pair(2, 0));
}

TEST(WaveImport, BadFilesAreRefusedWithTheirReason) {
    CScratchDir dir;
    WriteSound(dir / "empty.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 0, 8000, 0.5);
    WriteSound(dir / "silent.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 500, 8000, 0.0);
    // Ten hours of 8-bit sound at 8 kHz: a header and a sparse file behind it.
    std::string header = "RIFF\xFF\xFF\xFF\x7FWAVEfmt ";
    const unsigned char fmt[] = {16, 0, 0, 0, 1, 0, 1,   0,   0x40, 0x1F, 0, 0,    0x40, 0x1F,
                                 0,  0, 1, 0, 8, 0, 'd', 'a', 't',  'a',  0, 0x88, 0x2A, 0x11};
    header.append(reinterpret_cast<const char*>(fmt), sizeof fmt);
    WriteBytes(dir / "ten-hours.wav", header);
    std::filesystem::resize_file(dir / "ten-hours.wav", header.size() + 288000000);
    WriteSound(dir / "nan.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 10, 8000, NAN);
    // Name, text of a CSV file (none: written above), the reason given.
    const std::tuple<std::string, const char*, std::string> kBad[] = {
        {"empty.wav", nullptr, "it holds no samples"},
        {"silent.flac", nullptr, "it is silent"},
        {"ten-hours.wav", nullptr, "it lasts 10:00:00 (288000000 samples)"},
        {"nan.wav", nullptr, "sample 1 is not a finite number"},
        {"garbage.wav", "not a sound file at all", ""}, // libsndfile says why
        {"middle.csv", "volts\n1.0\n oops \n2.0\n",
         "line 3 holds text where a number belongs: oops"},
        {"nan.csv", "1.0\nnan\n", "line 2 holds a value that is not a finite number"},
        {"blank.csv", "\xEF\xBB\xBFtime;volts\r\n\r\n", "it holds no samples"},
        {"zeros.txt", "0 0\n1 0.0\n", "it is silent"},
        {"wide.csv", "1,2,3\n", "line 1 has 3 columns"},
        {"ragged.csv", "0,1\n2\n", "line 2 has 1 values where the lines above have 2"},
        {"backwards.csv", "0,1\n1,1\n1,2\n", "the time in line 3 does not increase"},
    };
    for (const auto& [name, text, reason] : kBad) {
        SCOPED_TRACE(name);
        if (text)
            WriteBytes(dir / name, text);
        CWaveImport::Source source;
        source.values = {42.0};
        std::string error;
        EXPECT_FALSE(CWaveImport::Load(dir / name, source, error));
        EXPECT_EQ(source.values, std::vector<double>{42.0});
        EXPECT_EQ(error.rfind("Cannot import file " + (dir / name) + ": " + reason, 0), 0u)
            << error;
    }
}

// Every table file File > Open accepts is imported as it reads it: the points by position, the
// first line's clock as the rate of one period.
TEST(WaveImport, TableFilesAreReadAsFileOpenReadsThem) {
    CScratchDir dir;
    // Name, text, the values and rate expected.
    const std::tuple<const char*, std::string, std::vector<double>, double> kTables[] = {
        {"eight.csv",
         CCsvFile::Format(24000.0f, {1, 2, 3, 3.5f, 0, -1, -2, -3}),
         {1, 2, 3, 3.5, 0, -1, -2, -3},
         24000.0},
        // LF ends and points that read as 0; a clock cut at its comma.
        {"plain.csv",
         "#CLOCK=1000\n#SIZE=4\n1.5,0,0\n1.5\n 1.5,0,0\n1e-3,0,0\n",
         {1.5, 0, 0, 0},
         1000.0},
        {"cut.txt", "#CLOCK=1000.5,7\r\n#SIZE=2\r\n-0.25,0,0\r\n0.5,0,0\r\n", {-0.25, 0.5}, 1000.5},
        // A short file: the missing points are 0; a clock that is no number leaves the rate open.
        {"short.dat", "#CLOCK=fast\n#SIZE=5\n1,0,0\n2,0,0\n", {1, 2, 0, 0, 0}, 0.0},
    };
    for (const auto& [name, text, values, rate] : kTables) {
        SCOPED_TRACE(name);
        WriteBytes(dir / name, text);
        CWaveImport::Source source;
        std::string error;
        ASSERT_TRUE(CWaveImport::Load(dir / name, source, error)) << error;
        EXPECT_EQ(source.values, values);
        EXPECT_NEAR(source.dSampleRate, rate, 1e-9);
    }
    // A size File > Open refuses keeps the column reader's reason; a silent table is no wave.
    const std::pair<std::string, std::string> kRefused[] = {
        {"#CLOCK=1000\n#SIZE=0\n", "line 2 holds text where a number belongs: #SIZE=0"},
        {"#CLOCK=1000\n#SIZE=2\n0,0,0\n", "it is silent (every sample is 0)."},
    };
    for (const auto& [text, reason] : kRefused) {
        CWaveImport::Source source;
        std::string error;
        EXPECT_FALSE(CWaveImport::ParseCsv(text, "t.csv", source, error));
        EXPECT_EQ(error, "Cannot import file t.csv: " + reason);
    }
}

TEST(WaveExport, ArbTableReadsBackHeldForItsShareAtTheChosenRate) {
    CScratchDir dir;
    CDDSDevice device; // demo: nothing replaces the table's size
    device.m_nWaveType = WAVE_ARB;
    device.m_nPointsPerPeriod = 4; // at 1000 Hz
    const float table[] = {0.0f, 1.75f, 3.5f, -1.75f};
    std::copy(std::begin(table), std::end(table), device.m_fArb.begin());
    // One period at the table's own rate; three periods, each point held for two samples.
    for (const auto& [format, periods, rate, name] :
         {std::tuple(CWaveExport::FORMAT_WAV, 1, CWaveExport::DefaultSampleRate(device), "a.wav"),
          std::tuple(CWaveExport::FORMAT_CSV, 3, 8000.0, "b.csv")}) {
        SCOPED_TRACE(name);
        CWaveImport::Source source;
        std::string error;
        ASSERT_TRUE(CWaveExport::Write(device, format, periods, rate, dir / name, error)) << error;
        ASSERT_TRUE(CWaveImport::Load(dir / name, source, error)) << error;
        EXPECT_EQ(source.values.size(), std::size_t(periods * rate / 1000.0));
        EXPECT_NEAR(source.dSampleRate, rate, 1e-6 * rate);
        for (std::size_t j = 0; j < source.values.size(); ++j)
            EXPECT_NEAR(source.values[j], table[j * 4000 / std::size_t(rate) % 4], 2e-4) << j;
    }
}
