#include "engine/DDSDevice.h"
#include "formats/CsvFile.h"

#include "TextTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

class CsvFileTest : public ::testing::Test {
protected:
    ~CsvFileTest() override { std::setlocale(LC_NUMERIC, "C"); }
    /// Reads text as a file into m_device; false and m_error on refusal.
    bool ReadText(const std::string& text) {
        WriteBytes(m_path, text);
        return CCsvFile::Read(m_device, m_path, m_error);
    }

    CScratchDir m_dir;
    std::string m_path = m_dir / "wave.csv";
    CDDSDevice m_device; // a demo record: SetFrequency stores without queueing
    std::string m_error;
};

} // namespace

// Under a decimal-comma locale when one can be made: the file is the same whatever the locale.
TEST_F(CsvFileTest, WritesClockSizeAndPointsWithCrLfAndReadsThemBack) {
    UseCommaLocale(m_dir);
    m_device.m_nWaveType = WAVE_ARB;
    m_device.m_nPointsPerPeriod = 4;
    const float points[] = {0.0f, 1.75f, 3.5f, 1.75f};
    for (int i = 0; i < 4; ++i)
        m_device.m_fArb[i] = points[i];

    ASSERT_TRUE(CCsvFile::Write(m_device, m_path, m_error)) << m_error;
    EXPECT_EQ(ReadBytes(m_path), "#CLOCK=4000.000000\r\n#SIZE=4\r\n0.000000,0,0\r\n"
                                 "1.750000,0,0\r\n3.500000,0,0\r\n1.750000,0,0\r\n");
    EXPECT_FLOAT_EQ(m_device.m_fSampleRate, 4000.0f);

    // A whole table comes back to six decimals.
    m_device.m_nPointsPerPeriod = kMaxPoints;
    m_device.m_dFrequency = 1234.5;
    for (int i = 0; i < kMaxPoints; ++i)
        m_device.m_fArb[i] = static_cast<float>((i * 7919 % 7001) / 1000.0 - 3.5);
    ASSERT_TRUE(CCsvFile::Write(m_device, m_path, m_error)) << m_error;

    CDDSDevice loaded;
    ASSERT_TRUE(CCsvFile::Read(loaded, m_path, m_error)) << m_error;
    EXPECT_EQ(loaded.m_nPointsPerPeriod, kMaxPoints);
    for (int i = 0; i < kMaxPoints; ++i)
        ASSERT_NEAR(loaded.m_fArb[i], m_device.m_fArb[i], 0.5e-6) << "point " << i;
    // The clock is a float, so the frequency comes back to its precision.
    EXPECT_NEAR(loaded.m_dFrequency, 1234.5, 1234.5 * 1e-7);
}

TEST_F(CsvFileTest, ReadsHeadersByPositionFromTheLastEqualsSign) {
    ASSERT_TRUE(ReadText("1000\n#SIZE=2\n1,0,0\n2,0,0\n"));
    EXPECT_EQ(std::pair(float(m_device.m_fSampleRate), double(m_device.m_dFrequency)),
              std::pair(1000.0f, 500.0));
    ASSERT_TRUE(ReadText("#CLOCK=1000.5,7\r\nX=Y=4,9\r\n"));
    EXPECT_EQ(std::pair(float(m_device.m_fSampleRate), int(m_device.m_nPointsPerPeriod)),
              std::pair(1000.5f, 4));

    // The implied frequency stays in the Arb range.
    ASSERT_TRUE(ReadText("#CLOCK=abc\n#SIZE=4\n"));
    EXPECT_DOUBLE_EQ(m_device.m_dFrequency, CCsvFile::kMinFrequency);
    ASSERT_TRUE(ReadText("#CLOCK=" + std::string(60, '9') + "\n#SIZE=1\n1" + std::string(60, '0') +
                         ",0,0\n"));
    EXPECT_TRUE(m_device.m_dFrequency == CCsvFile::kMaxFrequency &&
                std::isfinite(m_device.m_fArb[0]));
}

TEST_F(CsvFileTest, ReadsPointFieldsStrictlyAndOnlyAsManyAsTheSizeSays) {
    ASSERT_TRUE(ReadText("#CLOCK=8000\r\n#SIZE=8\r\n1.5\r\n1.5,0,0\r\n 1.5,0,0\r\n1e-3,0,0\r\n"
                         "-.25,x\r\n1,5,0\r\n\r\n2.5,0,0"));
    EXPECT_EQ(std::vector<float>(m_device.m_fArb.begin(), m_device.m_fArb.begin() + 8),
              (std::vector<float>{0.0f, 1.5f, 0.0f, 0.0f, -0.25f, 1.0f, 0.0f, 2.5f}));

    // A short file is padded with zeros; lines beyond its size are not read.
    for (int i = 0; i < 12; ++i)
        m_device.m_fArb[i] = 9.0f;
    ASSERT_TRUE(ReadText("#CLOCK=10000\n#SIZE=10\n1,0,0\n2,0,0\n3,0,0\n4,0,0\n"));
    // Beyond the size: untouched.
    EXPECT_EQ(std::vector<float>(m_device.m_fArb.begin(), m_device.m_fArb.begin() + 11),
              (std::vector<float>{1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 9}));
    EXPECT_DOUBLE_EQ(m_device.m_dFrequency, 1000.0);

    ASSERT_TRUE(ReadText("#CLOCK=2000\n#SIZE=2\n1,0,0\n2,0,0\n7,0,0\n"));
    EXPECT_FLOAT_EQ(m_device.m_fArb[2], 3.0f); // the third line is beyond the size
}

TEST_F(CsvFileTest, RefusesSizesOutsideTheTableAndChangesNothing) {
    m_device.m_fArb[0] = 7.0f;
    for (const char* size : {"#SIZE=0", "#SIZE=4097", "#SIZE=+10", "#SIZE= 10", "", "#SIZE=-1"}) {
        EXPECT_FALSE(ReadText(std::string("#CLOCK=5000\n") + size + "\n1,0,0\n")) << size;
        EXPECT_NE(m_error.find(m_path), std::string::npos) << m_error;
        EXPECT_NE(m_error.find("4096"), std::string::npos) << m_error;
    }
    ReadText("#CLOCK=5000\n#SIZE=4097\n");
    EXPECT_NE(m_error.find("size 4097"), std::string::npos) << m_error;
    EXPECT_EQ(std::tuple(float(m_device.m_fArb[0]), int(m_device.m_nPointsPerPeriod),
                         double(m_device.m_dFrequency)),
              std::tuple(7.0f, 1000, 1000.0));
}
