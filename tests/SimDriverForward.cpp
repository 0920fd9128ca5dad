// With DDSTARN_DRIVER naming a library, the simulator passes every call on to it. This
// process is started with the variable set to the tiny test driver.
#include "engine/hardware/DDSTarnDll.h"
#include "hwsim/SimControl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <string>

TEST(DriverForward, EveryCallReachesTheNamedDriver) {
    const char* path = std::getenv("DDSTARN_DRIVER");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(DDSSearch(), 7); // loads the driver

    void* driver = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(driver, nullptr) << "the simulator did not load the driver";
    auto calls = reinterpret_cast<const char* (*)(int*)>(dlsym(driver, "TinyDriverCalls"));
    ASSERT_NE(calls, nullptr);

    int points = 0, periods = 0;
    double value = 0.0;
    unsigned short in = 0;
    const unsigned short samples[2] = {1, 2};
    // A braced list calls them in this order; each answer is the driver's own.
    const std::vector<int> answers{DDSCheck(0),
                                   DDSSetFrequency(0, 1000.0, &points, &periods),
                                   DDSDownload(0, samples, 2),
                                   DDSSetSingleWave(0, 1),
                                   DDSSetTrigger(0, 1, 0),
                                   DDSSetPowerOnOutput(0, 1),
                                   DDSGetMeasure(0, 0, &value),
                                   DDSResetCounter(0),
                                   DDSSetDIOMode(0, 1),
                                   DDSSetDigitalOut(0, 3),
                                   DDSGetDigitalIn(0, &in)};
    EXPECT_EQ(answers, (std::vector<int>{5, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(std::tuple(points, periods, value, in), std::tuple(123, 4, 4321.0, 0xAB));
    int count = 0;
    EXPECT_EQ(std::string(calls(&count)), "DDSGetDigitalIn");
    EXPECT_EQ(count, 12);

    // The simulated unit heard none of it; the log still shows the traffic.
    EXPECT_EQ(SimGetUnit(0).frequency, 0.0);
    EXPECT_EQ(SimCallLog().back(), "DDSGetDigitalIn(0)");
    dlclose(driver);
}
