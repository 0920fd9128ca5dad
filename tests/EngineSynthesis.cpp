// Wave formulas sample by sample, and the download batch against them.
#include "engine/DDSDevice.h"
#include "engine/NoiseSource.h"
#include "engine/WaveBatch.h"
#include "engine/WaveShape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kA = 2.0 * static_cast<double>(0.2857143f); // default amplitude, normalised

TEST(SampleAt, SquareBoundarySampleIsLow) {
    CDDSDevice device;
    device.m_nWaveType = WAVE_SQUARE;
    device.m_dOffset = 0.35; // 0.1 normalised
    const double ofs = 0.35 * 0.2857142857142857;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.4999, false), ofs + kA);
    EXPECT_DOUBLE_EQ(device.SampleAt(0.5, false), ofs - kA);
    device.m_nPeriods = 4; // boundaries scale with the periods in the buffer
    EXPECT_DOUBLE_EQ(device.SampleAt(0.25 + 0.124, false), ofs + kA);
    EXPECT_DOUBLE_EQ(device.SampleAt(0.25 + 0.125, false), ofs - kA);
}

TEST(SampleAt, RampDutyExtremesKeepOneDirection) {
    CDDSDevice device;
    device.m_nWaveType = WAVE_RAMP;
    for (float duty : {1.0f, 0.0f}) {
        device.m_fRampDuty = duty;
        for (int i = 1; i < 1000; ++i) {
            const double rise =
                device.SampleAt(i / 1000.0, false) - device.SampleAt((i - 1) / 1000.0, false);
            ASSERT_GT(duty == 1.0f ? rise : -rise, 0.0) << duty << " " << i; // also not NaN
            ASSERT_LT(std::fabs(rise), 0.01) << duty << " " << i;            // nor a jump
        }
    }
    device.m_fRampDuty = 0.5f;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.0, false), -kA);
    EXPECT_NEAR(device.SampleAt(0.5, false), kA, 1e-12);
}

TEST(SampleAt, TrapeziumRestsLowForTheLastFifth) {
    CDDSDevice device;
    device.m_nWaveType = WAVE_TRAPEZIA;
    device.m_nPeriods = 2;
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

TEST(SampleAt, ExponentFallStartsHighAndZeroTauIsFlat) {
    CDDSDevice device;
    device.m_nWaveType = WAVE_EXPONENT;
    device.m_dOffset = -0.7;
    const double ofs = -0.7 * 0.2857142857142857;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.0, false), ofs + kA);
    // 1 ms time constant at 1 kHz: one period is one time constant.
    EXPECT_NEAR(device.SampleAt(0.5, false), ofs + kA * std::exp(-0.5), 1e-6);
    device.m_bExpFall = 0;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.0, false), ofs);
    device.m_fExpTau = 0.0f;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.3, false), ofs);
}

TEST(SampleAt, AttenuatorScalesSwingButNotOffsetArbOrNoiseOffset) {
    CDDSDevice device;
    device.m_dOffset = 1.0;
    const double ofs = 0.2857142857142857;
    device.m_bAtten20dB = 1;
    EXPECT_NEAR(device.SampleAt(0.25, false) - ofs, 0.1 * std::sin(0.25 * 6.28318) * kA, 1e-15);

    device.m_nWaveType = WAVE_ARB;
    device.m_fArb[0] = 3.5f;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.0, false), 3.5 * static_cast<double>(0.2857143f));

    device.m_bAtten20dB = 0;
    device.m_dOffset = 3.0;
    for (int type : {WAVE_GAUSS_NOISE, WAVE_WHITE_NOISE}) {
        device.m_nWaveType = type;
        for (int i = 0; i < 2000; ++i) {
            const double v = device.SampleAt(i / 2000.0, false);
            ASSERT_GE(v, -kA);
            ASSERT_LT(v, kA); // no offset term at all
        }
    }
}

TEST(SampleAt, SingleWaveUsesOnePeriodAndSplitsThePhase) {
    CDDSDevice device;
    device.m_nPeriods = 4;
    device.m_fPhase = 0.5f;
    device.m_bSingleWave = 1;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.0, false), std::sin(0.125 * 6.28318) * kA);
    // The display keeps the whole phase and its own period number.
    device.m_bSingleWave = 0;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.1, true), std::sin(3 * (0.1 + 0.5) * 6.28318) * kA);
}

TEST(SampleAt, ArbWalksTheTableOncePerPeriodAndStaysInside) {
    CDDSDevice device;
    device.m_nWaveType = WAVE_ARB;
    for (int i = 0; i < kMaxPoints; ++i)
        device.m_fArb[i] = static_cast<float>(i);
    const double scale = static_cast<double>(0.2857143f);
    device.m_nPoints = 1000;
    device.m_nPointsPerPeriod = 250;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.3, false), 50 * scale); // 300 mod 250
    device.m_nPoints = 8000;
    device.m_nPointsPerPeriod = 9000; // above the table: wrapped into it
    EXPECT_DOUBLE_EQ(device.SampleAt(0.6, false), (4800 % 4096) * scale);
    device.m_nPointsPerPeriod = 0;
    EXPECT_DOUBLE_EQ(device.SampleAt(0.6, false), 0.0);
    device.m_nPointsPerPeriod = 250;
    device.m_fPhase = -0.4f; // a position before the buffer still indexes the table
    EXPECT_GE(device.SampleAt(0.0, true), 0.0);
}

TEST(SampleAt, UnknownTypeIsSilentAndZeroPlanOrFrequencyNeverDividesByZero) {
    CDDSDevice device;
    for (int type : {9, -1}) {
        device.m_nWaveType = type;
        EXPECT_EQ(device.SampleAt(0.3, false), 0.0) << type;
    }
    device.m_nPeriods = 0;
    device.m_nPeriodNumber = 0;
    device.m_nPointsPerPeriod = 0;
    device.m_dFrequency = 0.0; // AM/FM divide by it
    device.m_fExpTau = 0.0f;
    device.m_fRampDuty = 1.0f;
    device.m_fTrapRise = 0.0f;
    device.m_fTrapFall = 0.0f;
    for (int type = 0; type <= 8; ++type) {
        device.m_nWaveType = type;
        for (int i = 0; i < 100; ++i) {
            device.m_bFM = i % 2;
            ASSERT_TRUE(std::isfinite(device.SampleAt(i / 100.0, false))) << type;
            ASSERT_TRUE(std::isfinite(device.SampleAt(i / 100.0, true))) << type;
        }
    }
}

TEST(CaptureToArb, StoresOneDisplayedPeriodInVolts) {
    CDDSDevice device;
    device.m_nWaveType = WAVE_SQUARE;
    device.m_nPoints = 1000;
    device.m_nPeriods = 4;
    device.m_nPeriodNumber = 3;
    device.CaptureToArb();
    EXPECT_EQ(device.m_fSampleRate, 4166666.0f);
    EXPECT_EQ(device.m_nPointsPerPeriod, 250);
    EXPECT_EQ(device.m_nArbPoints, 1000);
    EXPECT_EQ(device.m_nPeriodNumber, 3);
    EXPECT_FLOAT_EQ(device.m_fArb[0], 2.0f * 0.2857143f * 3.5f);
    EXPECT_FLOAT_EQ(device.m_fArb[124], 2.0f * 0.2857143f * 3.5f);
    EXPECT_FLOAT_EQ(device.m_fArb[125], -2.0f * 0.2857143f * 3.5f);
}

// The batch must agree with SampleAt sample by sample.
struct BatchCase {
    int type, points, periods;
    float phase;
    int singleWave, fm;
    double frequency;
};

class BatchMatchesSampleAt : public ::testing::TestWithParam<BatchCase> {};

TEST_P(BatchMatchesSampleAt, EverySampleWithin1e12) {
    const BatchCase& c = GetParam();
    CDDSDevice device;
    device.m_nWaveType = c.type;
    device.m_nPoints = c.points;
    device.m_nPeriods = c.periods;
    device.m_fPhase = c.phase;
    device.m_bSingleWave = c.singleWave;
    device.m_bFM = c.fm;
    device.m_dFrequency = c.frequency;
    device.m_dOffset = -0.4;
    device.m_fAmplitude = 3.3f;
    for (int i = 0; i < kMaxPoints; ++i)
        device.m_fArb[i] = static_cast<float>(std::sin(i * 0.01) * 3.0);

    std::vector<double> batch(c.points);
    CNoiseSource::ThisThread().Seed(77);
    CWaveBatch::Samples(CWaveShape(device, false), c.points, batch.data());
    CNoiseSource::ThisThread().Seed(77);
    double worst = 0.0;
    for (int i = 0; i < c.points; ++i) {
        const double single = device.SampleAt(static_cast<double>(i) / c.points, false);
        worst = std::max(worst, std::fabs(batch[i] - single));
    }
    EXPECT_LE(worst, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    AllWaves, BatchMatchesSampleAt,
    ::testing::Values(BatchCase{WAVE_SINE, 4096, 1, 0.0f, 0, 0, 1000.0},
                      BatchCase{WAVE_SINE, 4096, 1536, 0.3f, 0, 0, 75e6},
                      BatchCase{WAVE_SINE, 1000, 4, 0.5f, 1, 0, 1000.0},
                      BatchCase{WAVE_RAMP, 4093, 7, 0.2f, 0, 0, 1000.0},
                      BatchCase{WAVE_SQUARE, 4096, 3, 0.0f, 0, 0, 1000.0},
                      BatchCase{WAVE_EXPONENT, 4096, 2, 0.1f, 0, 0, 1000.0},
                      BatchCase{WAVE_EXPONENT, 4096, 1, 0.0f, 0, 0, 0.2}, // beyond fast range
                      BatchCase{WAVE_ARB, 4096, 4, 0.0f, 0, 0, 1000.0},
                      BatchCase{WAVE_TRAPEZIA, 4000, 5, 0.7f, 0, 0, 1000.0},
                      BatchCase{WAVE_AMFM, 4096, 1, 0.0f, 0, 0, 1000.0},
                      BatchCase{WAVE_AMFM, 4096, 1, 0.0f, 0, 1, 1000.0},
                      BatchCase{WAVE_AMFM, 4096, 1, 0.0f, 0, 1, 0.01}, // huge carrier phase
                      BatchCase{WAVE_GAUSS_NOISE, 4096, 1, 0.0f, 0, 0, 1000.0},
                      BatchCase{WAVE_WHITE_NOISE, 777, 1, 0.0f, 0, 0, 1000.0},
                      BatchCase{12, 100, 1, 0.0f, 0, 0, 1000.0}));

TEST(Codes, ConversionTruncatesAndClamps) {
    // 0.5 gives 1024.5, truncated; beyond full scale and NaN stay at the ends.
    const std::pair<double, int> cases[] = {{1.0, 1},     {-1.0, 4095},      {0.0, 2048},
                                            {0.5, 1024},  {1.0005, 0},       {1.5, 0},
                                            {-1.5, 4095}, {std::nan(""), 0}, {-INFINITY, 4095}};
    for (const auto& [sample, code] : cases)
        EXPECT_EQ(CWaveBatch::CodeOf(sample), code) << sample;
}

} // namespace
