// Wave formulas sample by sample, and the download batch against them.
#include "engine/DDSDevice.h"
#include "engine/NoiseSource.h"
#include "engine/WaveBatch.h"
#include "engine/WaveShape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kScale = static_cast<double>(0.2857143f); // volts to full scale
constexpr double kA = 2.0 * kScale;                        // default amplitude, normalised
constexpr double kUp = 0.35 * 0.2857142857142857, kDown = -0.7 * 0.2857142857142857; // offsets

/// The fields a case sets on a new record; the defaults are a new record's.
struct Wave {
    int type = WAVE_SINE, points = 1000, periods = 1, perPeriod = 1000;
    double offset = 0.0, frequency = 1000.0;
    float phase = 0.0f, tau = 0.001f;
    int single = 0, atten = 0, expFall = 1, fm = 0;
};

/// A new record with a wave's fields set, and an Arb table of 3.5, 4.5, 5.5 ...
struct CRecord : CDDSDevice {
    explicit CRecord(const Wave& s) {
        m_nWaveType = s.type;
        m_nPoints = s.points;
        m_nPeriods = s.periods;
        m_nPointsPerPeriod = s.perPeriod;
        m_dOffset = s.offset;
        m_dFrequency = s.frequency;
        m_fPhase = s.phase;
        m_fExpTau = s.tau;
        m_bSingleWave = s.single;
        m_bAtten20dB = s.atten;
        m_bExpFall = s.expFall;
        m_bFM = s.fm;
        for (int i = 0; i < kMaxPoints; ++i)
            m_fArb[i] = static_cast<float>(i) + 3.5f;
    }
};

TEST(SampleAt, ShapesAtChosenPoints) {
    const double attenuated = 0.2857142857142857 + 0.1 * std::sin(0.25 * 6.28318) * kA;
    const Wave early{.type = WAVE_ARB, .periods = 4, .perPeriod = 250, .phase = -0.4f};
    // The wave, the time in its buffer, the sample expected, the tolerance (0: as near as a
    // double), whether the display asks.
    const std::tuple<Wave, double, double, double, bool> rows[] = {
        // A square's boundary sample is low; the boundaries scale with the periods in the buffer.
        {{.type = WAVE_SQUARE, .periods = 4, .offset = 0.35}, 0.374, kUp + kA, 0, false},
        {{.type = WAVE_SQUARE, .periods = 4, .offset = 0.35}, 0.375, kUp - kA, 0, false},
        {{.type = WAVE_RAMP}, 0.0, -kA, 0, false},
        {{.type = WAVE_RAMP}, 0.5, kA, 1e-12, false},
        // 1 ms time constant at 1 kHz: one period is one time constant. Zero tau is flat.
        {{.type = WAVE_EXPONENT, .offset = -0.7}, 0.0, kDown + kA, 0, false},
        {{.type = WAVE_EXPONENT, .offset = -0.7}, 0.5, kDown + kA * std::exp(-0.5), 1e-6, false},
        {{.type = WAVE_EXPONENT, .offset = -0.7, .expFall = 0}, 0.0, kDown, 0, false},
        {{.type = WAVE_EXPONENT, .offset = -0.7, .tau = 0.0f, .expFall = 0}, 0.3, kDown, 0, false},
        // The attenuator scales the swing, not the offset, and leaves Arb points alone.
        {{.offset = 1.0, .atten = 1}, 0.25, attenuated, 1e-15, false},
        {{.type = WAVE_ARB, .offset = 1.0, .atten = 1}, 0.0, 3.5 * kScale, 0, false},
        // A single wave uses one period and splits the phase; the display keeps the whole phase
        // and its own period number.
        {{.periods = 4, .phase = 0.5f, .single = 1}, 0.0, std::sin(0.125 * 6.28318) * kA, 0, false},
        {{.periods = 4, .phase = 0.5f}, 0.1, std::sin(3 * 0.6 * 6.28318) * kA, 0, true},
        // Arb: sample trunc(points x t) of the buffer plays entry (that mod points per period),
        // whatever size the table was loaded with: 300 mod 250; an 8-point table under the
        // 3000 Hz plan is walked round (1500 mod 8) and the plan's 1333 wraps at 1333; a
        // position before the buffer still indexes the table (-400 mod 250); a figure above the
        // table is held inside it (4800 mod 4096).
        {{.type = WAVE_ARB, .perPeriod = 250}, 0.3, 53.5 * kScale, 0, false},
        {{.type = WAVE_ARB, .periods = 4, .perPeriod = 250}, 0.3, 53.5 * kScale, 0, false},
        {{.type = WAVE_ARB, .points = 4000, .periods = 3, .perPeriod = 8},
         0.375,
         7.5 * kScale,
         0,
         false},
        {{.type = WAVE_ARB, .points = 4000, .periods = 3, .perPeriod = 1333},
         0.375,
         170.5 * kScale,
         0,
         false},
        {early, 0.0, 103.5 * kScale, 0, true},
        {{.type = WAVE_ARB, .points = 8000, .perPeriod = 9000}, 0.6, 707.5 * kScale, 0, false},
        {{.type = WAVE_ARB, .points = 8000, .perPeriod = 0}, 0.6, 3.5 * kScale, 0, false},
        {{.type = 9}, 0.3, 0.0, 0, false},
        {{.type = -1}, 0.3, 0.0, 0, false},
    };
    for (const auto& [wave, t, expected, tolerance, display] : rows) {
        const double v = CRecord(wave).SampleAt(t, display);
        if (tolerance > 0.0)
            EXPECT_NEAR(v, expected, tolerance) << wave.type << " at " << t;
        else
            EXPECT_DOUBLE_EQ(v, expected) << wave.type << " at " << t;
    }
}

TEST(SampleAt, RampDutyExtremesKeepOneDirectionAndTrapeziumRestsLow) {
    for (float duty : {1.0f, 0.0f}) {
        CRecord device({.type = WAVE_RAMP});
        device.m_fRampDuty = duty;
        for (int i = 1; i < 1000; ++i) {
            const double rise =
                device.SampleAt(i / 1000.0, false) - device.SampleAt((i - 1) / 1000.0, false);
            ASSERT_GT(duty == 1.0f ? rise : -rise, 0.0) << duty << " " << i; // also not NaN
            ASSERT_LT(std::fabs(rise), 0.01) << duty << " " << i;            // nor a jump
        }
    }
    // The trapezium rests low for the last fifth of each period.
    const CRecord device({.type = WAVE_TRAPEZIA, .periods = 2});
    for (int i = 0; i < 2000; ++i) {
        const double inPeriod = std::fmod(i / 1000.0, 1.0);
        const double v = device.SampleAt(i / 2000.0, false);
        const bool low = inPeriod >= 0.8 + 1e-6,
                   high = inPeriod >= 0.2 + 1e-6 && inPeriod < 0.6 - 1e-6;
        EXPECT_TRUE(!low || v == -kA) << i;
        EXPECT_TRUE(!high || v == kA) << i;
        ASSERT_LE(std::fabs(v), kA + 1e-15) << i;
    }
}

TEST(SampleAt, NoiseHasNoOffsetTerm) {
    for (int type : {WAVE_GAUSS_NOISE, WAVE_WHITE_NOISE}) {
        const CRecord device({.type = type, .offset = 3.0});
        for (int i = 0; i < 2000; ++i) {
            const double v = device.SampleAt(i / 2000.0, false);
            ASSERT_GE(v, -kA);
            ASSERT_LT(v, kA);
        }
    }
}

TEST(SampleAt, ZeroPlanOrFrequencyNeverDividesByZero) {
    CRecord device({.periods = 0, .perPeriod = 0, .frequency = 0.0, .tau = 0.0f});
    device.m_nPeriodNumber = 0;
    device.m_fRampDuty = 1.0f;
    device.m_fTrapRise = 0.0f;
    device.m_fTrapFall = 0.0f;
    for (int type = 0; type <= 8; ++type) {
        device.m_nWaveType = type;
        for (int i = 0; i < 100; ++i) {
            device.m_bFM = i % 2; // AM/FM divide by the frequency
            ASSERT_TRUE(std::isfinite(device.SampleAt(i / 100.0, false))) << type;
            ASSERT_TRUE(std::isfinite(device.SampleAt(i / 100.0, true))) << type;
        }
    }
}

TEST(CaptureToArb, StoresOneDisplayedPeriodInVolts) {
    CRecord device({.type = WAVE_SQUARE, .periods = 4});
    device.CaptureToArb();
    EXPECT_EQ(std::tuple(float(device.m_fSampleRate), int(device.m_nPointsPerPeriod),
                         int(device.m_nArbPoints), int(device.m_nPeriodNumber)),
              std::tuple(4166666.0f, 250, 1000, 3));
    EXPECT_FLOAT_EQ(device.m_fArb[0], 2.0f * 0.2857143f * 3.5f);
    EXPECT_FLOAT_EQ(device.m_fArb[124], 2.0f * 0.2857143f * 3.5f);
    EXPECT_FLOAT_EQ(device.m_fArb[125], -2.0f * 0.2857143f * 3.5f);
}

// The batch must agree with SampleAt sample by sample.
TEST(WaveBatch, MatchesSampleAtForEveryWave) {
    const Wave cases[] = {
        {.points = 4096},
        {.points = 4096, .periods = 1536, .frequency = 75e6, .phase = 0.3f},
        {.periods = 4, .phase = 0.5f, .single = 1},
        {.type = WAVE_RAMP, .points = 4093, .periods = 7, .phase = 0.2f},
        {.type = WAVE_SQUARE, .points = 4096, .periods = 3},
        {.type = WAVE_EXPONENT, .points = 4096, .periods = 2, .phase = 0.1f},
        {.type = WAVE_EXPONENT, .points = 4096, .frequency = 0.2}, // beyond the fast range
        {.type = WAVE_ARB, .points = 4096, .periods = 4},
        {.type = WAVE_ARB, .points = 4000, .periods = 3, .perPeriod = 8, .phase = 0.3f},
        {.type = WAVE_ARB, .points = 4000, .periods = 3, .perPeriod = 1333},
        {.type = WAVE_TRAPEZIA, .points = 4000, .periods = 5, .phase = 0.7f},
        {.type = WAVE_AMFM, .points = 4096},
        {.type = WAVE_AMFM, .points = 4096, .fm = 1},
        {.type = WAVE_AMFM, .points = 4096, .frequency = 0.01, .fm = 1}, // huge carrier phase
        {.type = WAVE_GAUSS_NOISE, .points = 4096},
        {.type = WAVE_WHITE_NOISE, .points = 777},
        {.type = 12, .points = 100},
    };
    for (const Wave& c : cases) {
        CRecord device(c);
        device.m_dOffset = -0.4;
        device.m_fAmplitude = 3.3f;
        for (int i = 0; i < kMaxPoints; ++i)
            device.m_fArb[i] = static_cast<float>(std::sin(i * 0.01) * 3.0);
        std::vector<double> batch(c.points);
        CNoiseSource::ThisThread().Seed(77);
        CWaveBatch::Samples(CWaveShape(device, false), c.points, batch.data());
        CNoiseSource::ThisThread().Seed(77);
        double worst = 0.0;
        for (int i = 0; i < c.points; ++i)
            worst =
                std::max(worst, std::fabs(batch[i] - device.SampleAt(double(i) / c.points, false)));
        EXPECT_LE(worst, 1e-12) << c.type << " " << c.points << " " << c.frequency;
    }
}

TEST(Codes, ConversionTruncatesAndClamps) {
    // 0.5 gives 1024.5, truncated; beyond full scale and NaN stay at the ends.
    const std::pair<double, int> cases[] = {{1.0, 1},     {-1.0, 4095},      {0.0, 2048},
                                            {0.5, 1024},  {1.0005, 0},       {1.5, 0},
                                            {-1.5, 4095}, {std::nan(""), 0}, {-INFINITY, 4095}};
    for (const auto& [sample, code] : cases)
        EXPECT_EQ(CWaveBatch::CodeOf(sample), code) << sample;
}

} // namespace
