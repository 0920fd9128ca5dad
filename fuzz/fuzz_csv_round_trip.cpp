// Builds a device's arbitrary wave from the fuzz bytes, saves it as a CSV file and loads it
// into a fresh record: the size and every point must come back within the written precision.
#include "engine/DDSDevice.h"
#include "formats/CsvFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

/// One file in a folder of this process's own, so parallel fuzzing jobs never share it.
const std::string& WavePath() {
    static const std::string path = [] {
        char folder[] = "/tmp/fuzz_csv_round_trip.XXXXXX";
        Require(::mkdtemp(folder) != nullptr);
        return std::string(folder) + "/wave.csv";
    }();
    return path;
}

/// Six decimals are written; reading rounds that decimal to the nearest float.
bool ReadsBackAs(float written, float read) {
    if (!std::isfinite(written))
        return read == 0.0f; // "nan" and "inf" are no numbers to the reader
    const double tolerance = 5.000001e-7 + std::fabs(static_cast<double>(written)) * 0x1p-23;
    return std::fabs(static_cast<double>(read) - written) <= tolerance;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    static CDDSDevice device; // demo record: SetFrequency only stores
    const int count = 1 + ((data[0] | data[1] << 8) % CCsvFile::kMaxPoints);
    data += 2;
    size -= 2;
    device.m_nPointsPerPeriod = count;
    device.m_dFrequency = 1000.0;
    // The bytes are the points' float bits, repeated as needed to fill the period.
    for (int i = 0; i < count; ++i) {
        std::uint32_t bits = 0;
        for (std::size_t b = 0; b < 4 && size > 0; ++b)
            bits |= static_cast<std::uint32_t>(data[(4 * static_cast<std::size_t>(i) + b) % size])
                    << (8 * b);
        float point = 0.0f;
        std::memcpy(&point, &bits, sizeof point);
        device.m_fArb[static_cast<std::size_t>(i)] = point;
    }

    std::string error;
    Require(CCsvFile::Write(device, WavePath(), error) && error.empty());
    auto fresh = std::make_unique<CDDSDevice>();
    Require(CCsvFile::Read(*fresh, WavePath(), error) && error.empty());
    Require(fresh->m_nPointsPerPeriod == count);
    Require(ReadsBackAs(device.m_fSampleRate, fresh->m_fSampleRate));
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::size_t>(i);
        Require(ReadsBackAs(device.m_fArb[index], fresh->m_fArb[index]));
    }
    return 0;
}
