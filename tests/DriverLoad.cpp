// A driver library that cannot be used is refused with a message naming its path and the
// fault, and the program then finds no generator instead of crashing.
#include "SimTestSupport.h"
#include "control/DeviceControl.h"
#include "engine/DDSDevice.h"
#include "engine/DeviceWorker.h"
#include "engine/hardware/DDSTarnDll.h"
#include "hwsim/DriverForward.h"
#include "hwsim/DriverStatus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

/// Files that look like drivers, written into a fresh folder.
class DriverLoad : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_folder); }
    void TearDown() override { fs::remove_all(m_folder); }

    /// An ELF shared-object header of the given class (1: 32-bit, 2: 64-bit) and machine.
    std::string Elf(const char* name, char elfClass, unsigned short machine) const {
        std::string header(64, '\0');
        header.replace(0, 4, "\177ELF");
        header[4] = elfClass;
        header[5] = header[6] = 1; // little-endian, version 1
        header[16] = 3;            // shared object
        header[18] = static_cast<char>(machine & 0xFF);
        header[19] = static_cast<char>(machine >> 8);
        return Write(name, header);
    }
    std::string Write(const char* name, const std::string& content) const {
        const std::string path = (m_folder / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    fs::path m_folder = fs::temp_directory_path() / ("driver-load-" + std::to_string(getpid()));
};

TEST_F(DriverLoad, EachUnusableLibraryIsRefusedNamingPathAndFault) {
    const std::pair<std::string, const char*> cases[] = {
        {(m_folder / "absent.so").string(), "does not exist."},
        {m_folder.string(), "is not a shared library."},
        {Write("notes.so", "just some text\n"), "is not a shared library."},
        {Elf("arm64.so", 2, 183), "is built for another processor architecture (ELF machine 183"},
        {Elf("i386.so", 1, 3), "architecture (ELF machine 3, 32-bit"},
        {INCOMPLETE_DRIVER, "lacks DDSCheck, DDSGetDigitalIn."},
        {SIMULATOR, "is this simulator itself"},
    };
    for (const auto& [path, fault] : cases) {
        CDriverForward driver;
        EXPECT_FALSE(driver.Load(path.c_str())) << path;
        const std::string& problem = driver.m_strProblem;
        EXPECT_EQ(problem.rfind("The driver library " + path + " ", 0), 0u) << problem;
        EXPECT_NE(problem.find(fault), problem.npos) << problem;
    }
}

// Run as its own process by ctest, so this is the first generator call of the process.
TEST_F(DriverLoad, ARefusedDriverLeavesNoGeneratorAndSaysWhy) {
    const std::string path = Write("notes.so", "not a driver\n");
    setenv("DDSTARN_DRIVER", path.c_str(), 1);
    EXPECT_EQ(DDSSearch(), 0) << "a refused driver must not fall back to simulated units";
    int points = 0, periods = 0;
    EXPECT_EQ(DDSSetFrequency(0, 1000.0, &points, &periods), 0);
    EXPECT_EQ(SimDriverProblem(), "The driver library " + path + " is not a shared library.");
}

// Only DDSSearch and DDSCheck are read: a search of -1 finds nothing, a check of -1 still answers,
// and outputs left alone keep the record's plan.
TEST_F(DriverLoad, CallsThatFailLeaveADemoOrAnUnchangedRecord) {
    setenv("DDSTARN_DRIVER", FAILING_DRIVER, 1);
    CDDSDevice::BindContext context;
    context.foundDevices = DDSSearch();
    CDDSDevice demo, bound;
    demo.BindHardware(context);
    EXPECT_EQ(demo.m_bDemo, 1);
    context.foundDevices = 1;
    bound.BindHardware(context);
    bound.m_dFrequency = 5000.0;
    bound.ApplyFrequency();
    EXPECT_EQ(std::pair(int(bound.m_nPoints), int(bound.m_nPeriods)), std::pair(1000, 1));
    EXPECT_TRUE(bound.DeviceStep());
    EXPECT_EQ(std::tuple(int(bound.m_bLost), CDriverForward::Problem()), std::tuple(0, ""));
}

// The user-interface thread never calls the driver, so a call that hangs holds only the
// worker: the setters return and queue, and a bounded stop abandons the stuck worker.
TEST_F(DriverLoad, AHangingDriverHoldsNeitherTheSettersNorTheClose) {
    const std::string hold = (m_folder / "hold").string();
    setenv("DDSTARN_DRIVER", HANGING_DRIVER, 1);
    setenv("TINY_DRIVER_HOLD", hold.c_str(), 1);
    CDDSDevice device;
    OpenOnSimulatedUnits(&device, 1);
    ASSERT_EQ(device.m_bDemo, 0);
    void* driver = dlopen(HANGING_DRIVER, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(driver, nullptr);
    const auto held = reinterpret_cast<int (*)()>(dlsym(driver, "TinyDriverHeld"));
    CDeviceWorker worker;
    worker.Start(&device);
    EXPECT_TRUE(worker.Stop(std::chrono::seconds(10))); // a worker that answers is joined
    Write("hold", "");
    worker.Start(&device);
    ASSERT_TRUE(WaitFor([&] { return held() == 1; }));

    CDeviceControl control(device);
    control.SetFrequency(5000.0);
    control.SelectWaveType(WAVE_SQUARE);
    control.SetDIOMode(1);
    control.SetPowerOnOutput(0);
    EXPECT_EQ(held(), 1) << "a setter waited for the driver";
    const std::vector<int> queued = device.PendingCommands();
    for (const int command : {CMD_SET_FREQUENCY, CMD_SET_DIO_MODE, CMD_SET_POWER_ON_OUTPUT})
        EXPECT_NE(std::find(queued.begin(), queued.end(), command), queued.end()) << command;

    EXPECT_FALSE(worker.Stop(std::chrono::milliseconds(20)));
    EXPECT_EQ(std::tuple(worker.IsRunning(), CDeviceWorker::Abandoned(), held()),
              std::tuple(false, 1, 1)); // the stop did not wait for the driver
    fs::remove(hold);
    // The abandoned thread ends after its step, before the record may go.
    EXPECT_TRUE(WaitFor([] { return CDeviceWorker::Abandoned() == 0; }));
    dlclose(driver);
}
} // namespace
