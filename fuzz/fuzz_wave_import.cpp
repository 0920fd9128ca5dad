// Feeds arbitrary bytes to the waveform importers: the first byte chooses the reader (odd: CSV
// text, even: a sound file in memory through libsndfile) and the table size; an accepted file
// must hold finite samples that are not all 0, and resample and scale to a table that agrees
// with its clipped count.
#include "media/WaveImport.h"
#include "media/WaveResampler.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    CWaveImport::Source source;
    source.values = {42.0};
    std::string error;
    const bool read = (data[0] & 1) ? CWaveImport::ParseCsv(bytes, "fuzz.csv", source, error)
                                    : CWaveImport::ReadSoundBytes(bytes, "fuzz.wav", source, error);
    if (!read) {
        // Refused: a message, and nothing handed on.
        if (error.empty() || source.values.size() != 1 || source.values[0] != 42.0)
            std::abort();
        return 0;
    }
    bool sound = false;
    for (double value : source.values) {
        if (!std::isfinite(value))
            std::abort();
        sound = sound || value != 0.0;
    }
    if (!sound || !(source.dSampleRate >= 0.0) || !std::isfinite(source.dSampleRate))
        std::abort();

    const int points = 1 + (data[0] >> 1) * 32;
    std::vector<double> table;
    if (!CWaveResampler::Resample(source.values, points, table, error))
        std::abort();
    if (table.size() != std::size_t(points))
        std::abort();
    for (int scaling : {CWaveResampler::SCALE_KEEP_VOLTS, CWaveResampler::SCALE_FIT_AMPLITUDE}) {
        const std::vector<float> loose = CWaveResampler::Scale(table, scaling, 2.0, false);
        const std::vector<float> clipped = CWaveResampler::Scale(table, scaling, 2.0);
        int beyond = 0;
        for (std::size_t i = 0; i < table.size(); ++i) {
            beyond += std::fabs(double(loose[i])) > CWaveResampler::kOutputLimit;
            if (!(std::fabs(double(clipped[i])) <= CWaveResampler::kOutputLimit))
                std::abort();
        }
        if (beyond != CWaveResampler::CountClipped(table, scaling, 2.0))
            std::abort();
    }
    return 0;
}
