#pragma once
#include "control/DeviceControl.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

/// One period of a device's arbitrary wave as a CSV file: "#CLOCK=<sample rate>",
/// "#SIZE=<points>", then one "<volts>,0,0" line per point, CR LF line ends.
class CCsvFile {
public:
    /// What a file holds, before it is given to a device.
    struct Wave {
        float fSampleRate = 0.0f;
        int nPointsPerPeriod = 0;
        std::vector<float> points; ///< nPointsPerPeriod values.
    };

    /// Where Write puts a file when not by its path through CFileAccess: the instrument's
    /// waveform folder gives its own calls, which never leave that folder.
    struct Target {
        std::function<int()> check;                     ///< As CFileAccess::CheckReplaceable.
        std::function<int(const std::string&)> replace; ///< As CFileAccess::ReplaceAll.
        std::string strShown;                           ///< The name messages show.
    };

    /// Most points a file may hold: the size of the device's table.
    static constexpr int kMaxPoints = 4096;
    /// Most of a file Read looks at: 4098 lines of 1 KiB, where a written line takes 50 bytes.
    static constexpr std::size_t kMaxReadBytes = std::size_t(4) << 20;
    /// The frequency a read file implies is kept within the arbitrary wave's range.
    static constexpr double kMinFrequency = CDeviceControl::kMinFrequency;
    static constexpr double kMaxFrequency = CDeviceControl::kMaxOtherFrequency;

    /// Writes m_nPointsPerPeriod x m_dFrequency as the clock and the table's first
    /// m_nPointsPerPeriod points (the caller has switched the device to Arb), then stores that
    /// clock as m_fSampleRate. The file is replaced only once it is complete (see
    /// CFileAccess::ReplaceAll); a wave of no points is refused. On failure the device is
    /// unchanged and error is the message to show.
    static bool Write(CDDSDevice& device, const std::string& path, std::string& error,
                      const Target* target = nullptr);
    /// Loads the file into the device: sample rate, points per period, the frequency they
    /// imply (SetFrequency) and the points. A file that cannot be opened, whose size is not 1
    /// to 4096, or whose points lie beyond kMaxReadBytes changes nothing and sets error to the
    /// message to show.
    static bool Read(CDDSDevice& device, const std::string& path, std::string& error);
    /// Whether ReplaceAll may replace path (not a folder or read-only file), tried before a save
    /// captures the wave into the table, so that a save that cannot happen changes nothing; false
    /// with the message.
    static bool CheckWritable(const std::string& path, std::string& error,
                              const Target* target = nullptr);

    /// Read without the device: the file's wave, or false with the message.
    static bool Load(const std::string& path, Wave& wave, std::string& error);
    /// Load's work once the file was read by other means: result is the reading's error number
    /// (0 when read) and text its first kMaxReadBytes + 1 bytes; path names the file in error.
    static bool LoadRead(int result, std::string text, const std::string& path, Wave& wave,
                         std::string& error);
    /// A wave read (or made) given to the device: sample rate, points per period, the
    /// frequency they imply (SetFrequency) and the points.
    static void Apply(CDDSDevice& device, const Wave& wave);

    /// Read's work once the file's text is in memory; path only names the file in error.
    static bool ReadText(CDDSDevice& device, const std::string& text, const std::string& path,
                         std::string& error);

    /// The file's text for a sample rate and points.
    static std::string Format(float sampleRate, const std::vector<float>& points);
    /// Reads a file's text by position (line 1 clock, line 2 size, then points; LF or CR LF).
    /// Bad numbers read as 0, missing points as 0, surplus lines are ignored. Fails only for a
    /// size outside 1 to 4096, with error naming path.
    static bool Parse(const std::string& text, const std::string& path, Wave& wave,
                      std::string& error);
    /// Sample rate / points per period, kept within kMinFrequency .. kMaxFrequency.
    static double FrequencyOf(const Wave& wave);
};
