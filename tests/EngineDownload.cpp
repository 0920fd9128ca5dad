// Frequency planning, buffer building and download, against the recording fake library.
#include "engine/DDSDevice.h"
#include "engine/WaveBatch.h"
#include "tests/EngineFakeDll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

class Download : public ::testing::Test {
protected:
    void SetUp() override {
        CFakeDll::Reset();
        BindEmpty(m_device, 2);
    }
    CDDSDevice m_device;
};

void Drain(CDDSDevice& device) {
    while (!device.PendingCommands().empty())
        device.DeviceStep();
}

std::pair<int, int> Plan(const CDDSDevice& device) {
    return {device.m_nPoints, device.m_nPeriods};
}

TEST(ClockDivider, FollowsTheFourKilosampleRule) {
    const std::pair<double, int> cases[] = {{100000.0, 1},     {99999.0, 1}, {1000.0, 48},
                                            {1.0, 48828},      {0.0, 1},     {-5.0, 1},
                                            {1e-9, 2147483647}};
    for (const auto& [frequency, divider] : cases)
        EXPECT_EQ(CDDSDevice::ClockDivider(frequency), divider) << frequency;
}

TEST_F(Download, OffsetBeyondRangeHoldsCodesAtZero) {
    m_device.m_dOffset = 7.0;
    m_device.m_fAmplitude = 3.5f;
    m_device.DownloadWaveform();
    const auto codes = CFakeDll::Lock()->download;
    // 1 V to 15 V asked of a 3.5 V stage: the top is held, nothing wraps round.
    EXPECT_LE(*std::max_element(codes.begin(), codes.end()), 1);
    EXPECT_GT(std::count(codes.begin(), codes.end(), 0), 900);
}

TEST_F(Download, SweepSendsItsOwnShortBufferAndSingleWaveFillsTheBuffer) {
    m_device.m_bSweepOn = 1;
    m_device.DownloadWaveform();
    EXPECT_EQ(CFakeDll::Calls().back(), "DDSDownload(2,100)");
    m_device.m_bSweepOn = 0;
    m_device.m_nPeriods = 4;
    m_device.m_bSingleWave = 1; // one period of the 1000 points, then silence
    m_device.m_nWaveType = WAVE_SQUARE;
    m_device.DownloadWaveform();
    EXPECT_EQ(CFakeDll::Calls().back(), "DDSDownload(2,4096)");
    const auto codes = CFakeDll::Lock()->download;
    ASSERT_EQ(codes.size(), 4096u);
    EXPECT_EQ(codes[0], CWaveBatch::CodeOf(m_device.SampleAt(0.0, false)));
    EXPECT_EQ(codes[249], CWaveBatch::CodeOf(m_device.SampleAt(249 / 250.0, false)));
    EXPECT_NE(codes[0], codes[249]);
    EXPECT_TRUE(std::all_of(codes.begin() + 250, codes.end(), [](int c) { return c == 2048; }));
}

TEST_F(Download, ApplyFrequencyProgramsAtOnceAndKeepsThePlanInsideTheBuffer) {
    CFakeDll::SetPlan(2000, 5);
    m_device.m_dFrequency = 12345.5;
    m_device.ApplyFrequency();
    EXPECT_EQ(CFakeDll::Calls(), (std::vector<std::string>{"DDSSetFrequency(2,12345.500000)"}));
    EXPECT_EQ(Plan(m_device), std::pair(2000, 5));
    EXPECT_EQ(m_device.PendingCommands(), (std::vector<int>{CMD_DOWNLOAD}));

    CFakeDll::SetPlan(5000, 0);
    m_device.ApplyFrequency();
    EXPECT_EQ(Plan(m_device), std::pair(4096, 1));
    m_device.m_bSingleWave = 1;
    m_device.DownloadWaveform();
    EXPECT_EQ(CFakeDll::Calls().back(), "DDSDownload(2,4096)");
    CFakeDll::SetPlan(0, 3);
    m_device.ApplyFrequency();
    EXPECT_EQ(m_device.m_nPoints, 1);
    m_device.DownloadWaveform(); // one sample over three periods: only silence
    EXPECT_EQ(CFakeDll::Lock()->download.size(), 4096u);

    // A demo record's opening call keeps the default plan when the library leaves it untouched.
    CFakeDll::Lock()->calls.clear();
    CDDSDevice demo;
    demo.BindHardware({});
    CFakeDll::SetPlan(7, 7, false);
    demo.ApplyFrequency();
    EXPECT_EQ(CFakeDll::Calls(), (std::vector<std::string>{"DDSSetFrequency(-1,1000.000000)"}));
    EXPECT_EQ(Plan(demo), std::pair(1000, 1));
}

// A sine stores the plan and leaves the Arb figures alone; Arb takes the plan's samples per
// period (at least one), clips its points to the buffer and goes back to the full view.
TEST_F(Download, FrequencyCommandRefreshesTheArbPlanOnly) {
    m_device.m_bCounterOn = 0;
    m_device.m_nZoom = 3;
    m_device.m_fViewPos = 0.5f;
    m_device.m_nArbPoints = 4090;
    // Wave type, plan points and periods; then points per period, Arb points, zoom level.
    const std::array<int, 6> rows[] = {{WAVE_SINE, 4000, 8, 1000, 4090, 3},
                                       {WAVE_ARB, 4000, 8, 500, 4000, 0},
                                       {WAVE_ARB, 4000, 3, 1333, 4000, 0},
                                       {WAVE_ARB, 3, 8, 1, 3, 0}};
    for (const auto& [wave, points, periods, perPeriod, arbPoints, zoom] : rows) {
        CFakeDll::SetPlan(points, periods);
        m_device.m_nWaveType = wave;
        m_device.QueueCommand(CMD_SET_FREQUENCY);
        Drain(m_device);
        EXPECT_EQ((std::vector<int>{m_device.m_nPoints, m_device.m_nPointsPerPeriod,
                                    m_device.m_nArbPoints, m_device.m_nZoom}),
                  (std::vector<int>{points, perPeriod, arbPoints, zoom}))
            << wave << " " << points;
    }
    EXPECT_EQ(std::pair(float(m_device.m_fViewPos), float(m_device.m_fSampleRate)),
              std::pair(0.0f, 4166666.0f));
}

// A frequency typed while the worker is between a frequency command and its download: the
// second download request merges into the waiting one, which then runs for the old plan (or,
// in Arb, for a table size a file just set, before the plan's points per period replace it).
TEST_F(Download, ANewPlanBehindAMergedDownloadStillGetsItsBuffer) {
    m_device.m_bCounterOn = 0;
    // The wave; the new plan's points and periods; the points per period a file set just
    // before (0: none); the downloads then made.
    const std::tuple<int, int, int, int, std::vector<int>> rows[] = {
        {WAVE_SINE, 4000, 8, 0, {1000, 4000}},
        {WAVE_SINE, 1000, 1, 0, {1000}},
        {WAVE_ARB, 1000, 1, 8, {1000, 1000}},
        {WAVE_ARB, 1000, 1, 1000, {1000}}};
    for (const auto& [wave, points, periods, fileSize, expected] : rows) {
        m_device.m_nWaveType = wave;
        CFakeDll::SetPlan(1000, 1);
        m_device.SetFrequency(1000.0);
        Drain(m_device);
        m_device.SetFrequency(2000.0);
        m_device.DeviceStep(); // the frequency command; its download still waits
        if (fileSize > 0)
            m_device.m_nPointsPerPeriod = fileSize;
        CFakeDll::SetPlan(points, periods);
        m_device.SetFrequency(50000.0);
        ASSERT_EQ(m_device.PendingCommands(), (std::vector<int>{CMD_DOWNLOAD, CMD_SET_FREQUENCY}));
        CFakeDll::Lock()->calls.clear();
        Drain(m_device);
        std::vector<int> downloads;
        for (const std::string& call : CFakeDll::Calls())
            if (call.rfind("DDSDownload(", 0) == 0)
                downloads.push_back(std::stoi(call.substr(call.find(',') + 1)));
        EXPECT_EQ(downloads, expected) << wave << " " << points << " " << fileSize;
    }
}

} // namespace
