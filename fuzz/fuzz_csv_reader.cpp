// Feeds arbitrary bytes to the CSV reader as a file's text and checks what reaches the device.
#include "engine/DDSDevice.h"
#include "formats/CsvFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CDDSDevice device; // demo record: SetFrequency only stores
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (!CCsvFile::ReadText(device, text, "fuzz.csv", error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    const int points = device.m_nPointsPerPeriod;
    const double frequency = device.m_dFrequency;
    if (points < 1 || points > CCsvFile::kMaxPoints || !error.empty())
        std::abort();
    if (!(frequency >= CCsvFile::kMinFrequency && frequency <= CCsvFile::kMaxFrequency))
        std::abort();
    for (int i = 0; i < points; ++i) {
        if (!std::isfinite(device.m_fArb[static_cast<std::size_t>(i)]))
            std::abort();
    }
    return 0;
}
