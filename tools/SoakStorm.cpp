#include "tools/SoakStorm.h"
#include "engine/hardware/DDSTarnDll.h"
#include "hwsim/SimControl.h"
#include "tools/SoakCheck.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <sys/resource.h>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Random = std::mt19937;

double Uniform(Random& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

int Pick(Random& random, int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random);
}

/// 1 Hz to past the highest frequency, evenly over the decades.
double AnyFrequency(Random& random) {
    return std::pow(10.0, Uniform(random, 0.0, 8.0));
}

/// Every kind of change the panel, the dialogs and the point editor make, each a little past
/// its limits now and then, as typed text can be.
using ChangeFn = void (*)(Random&, CDeviceControl&);
const ChangeFn kChanges[] = {
    [](Random& r, CDeviceControl& c) { c.SetFrequency(AnyFrequency(r)); },
    [](Random& r, CDeviceControl& c) { c.TurnFrequency(AnyFrequency(r)); },
    [](Random& r, CDeviceControl& c) { c.RememberFrequency(AnyFrequency(r)); },
    [](Random& r, CDeviceControl& c) { c.SelectWaveType(Pick(r, 9)); },
    [](Random& r, CDeviceControl& c) { c.SetAmplitude(Uniform(r, -0.5, 4.0)); },
    [](Random& r, CDeviceControl& c) { c.TurnAmplitude(Uniform(r, -0.5, 4.0)); },
    [](Random& r, CDeviceControl& c) { c.SetOffset(Uniform(r, -8.0, 8.0)); },
    [](Random& r, CDeviceControl& c) { c.StepOffset(Uniform(r, -8.0, 8.0)); },
    [](Random& r, CDeviceControl& c) { c.SetPhase(Uniform(r, -0.1, 1.1)); },
    [](Random& r, CDeviceControl& c) {
        c.SetDuty(Pick(r, 2) ? WAVE_SQUARE : WAVE_RAMP, Uniform(r, -0.1, 1.1));
    },
    [](Random& r, CDeviceControl& c) { c.SetExpFall(Pick(r, 2)); },
    [](Random& r, CDeviceControl& c) { c.SetExpTau(Uniform(r, 1e-6, 0.01)); },
    [](Random& r, CDeviceControl& c) {
        c.SetTrapezia(CWaveParameterRules::TrapeziaPart(Pick(r, 3)), Uniform(r, 0.0, 1.0));
    },
    [](Random& r, CDeviceControl& c) {
        c.SetModulation({Pick(r, 2), 1 + Pick(r, 100000), Pick(r, 50000), float(Uniform(r, 0, 1))});
    },
    // The point editor: a stroke of the mouse over a few points, then one download.
    [](Random& r, CDeviceControl& c) {
        CDDSDevice& device = c.Device();
        const int first = Pick(r, kMaxPoints - 16);
        const int last = first + Pick(r, 16);
        for (int i = first; i <= last; ++i)
            device.m_fArb[std::size_t(i)] = float(Uniform(r, -3.5, 3.5));
        device.RequestDownload();
    },
    [](Random& r, CDeviceControl& c) { c.SetPeriodNumber(Pick(r, 120) - 10); },
    [](Random& r, CDeviceControl& c) { c.SetDigitalOut(unsigned(Pick(r, 0x10000))); },
    [](Random& r, CDeviceControl& c) { c.SetDIOMode(Pick(r, 2)); },
    [](Random& r, CDeviceControl& c) { c.SetExtTrig(Pick(r, 2)); },
    [](Random& r, CDeviceControl& c) { c.SetTrigEdge(Pick(r, 2)); },
    [](Random& r, CDeviceControl& c) { c.SetSingleWave(Pick(r, 2)); },
    [](Random& r, CDeviceControl& c) { c.SetPowerOnOutput(Pick(r, 2)); },
    [](Random& r, CDeviceControl& c) { c.SetMeasureMode(Pick(r, 2)); },
    [](Random& r, CDeviceControl& c) { c.SetCounterOn(Pick(r, 2)); },
    [](Random& r, CDeviceControl& c) { c.SetOutputOn(Pick(r, 4) != 0); },
    [](Random& r, CDeviceControl& c) { c.SetAtten20dB(Pick(r, 2)); },
};
constexpr int kChangeKinds = int(std::size(kChanges));

/// How long a record may take to see its unit gone before the unit is replugged regardless.
constexpr auto kNoticeLimit = 5s;
/// Far longer than any healthy worker needs to work off its queue.
constexpr auto kSettleLimit = 60s;

double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) * 1e-3;
}

/// The value 99.9 % of the figures stay within (reorders them).
double Percentile999(std::vector<float>& figures) {
    if (figures.empty())
        return 0.0;
    const auto at = figures.begin() + std::ptrdiff_t(figures.size() * 999 / 1000);
    std::nth_element(figures.begin(), at, figures.end());
    return *at;
}

} // namespace

CSoakStorm::CSoakStorm(const Options& options) : m_options(options) {}

CSoakStorm::~CSoakStorm() {
    for (int i = kRecords - 1; i >= 0; --i)
        m_workers[std::size_t(i)].Stop();
}

void CSoakStorm::Open() {
    SimReset(std::clamp(m_options.nUnits, 0, kRecords));
    const int found = DDSSearch();
    std::vector<int> used;
    for (CDDSDevice& device : m_devices) {
        // As a device window opens: bound to the first free unit (the Device List's first
        // entry), programmed once, then its worker.
        CDDSDevice::BindContext context;
        context.foundDevices = found;
        context.usedIndices = used;
        context.chooseDevice = [](const std::vector<int>& free) { return free.front(); };
        context.showDemoMessage = [] {};
        device.BindHardware(context);
        used.push_back(device.m_nDevice);
        device.ApplyFrequency();
        m_controls.push_back(std::make_unique<CDeviceControl>(device));
        ++(device.m_bDemo != 0 ? m_figures.nDemo : m_figures.nBound);
    }
    for (std::size_t i = 0; i < kRecords; ++i)
        m_workers[i].Start(&m_devices[i]);
}

void CSoakStorm::Change(std::mt19937& random, CDeviceControl& control) {
    const ChangeFn change = kChanges[Pick(random, kChangeKinds)];
    // Wall time counts the moments the machine gave the core to another thread; the thread's own
    // CPU time and its voluntary switches tell work and waiting apart from that.
    rusage before{}, after{};
    getrusage(RUSAGE_THREAD, &before);
    const double cpuFrom = ThreadCpuMicroseconds();
    const Clock::time_point start = Clock::now();
    change(random, control);
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    const double cpuUs = ThreadCpuMicroseconds() - cpuFrom;
    m_figures.dLongestSetterCpuUs = std::max(m_figures.dLongestSetterCpuUs, cpuUs);
    m_setterCpuUs.push_back(float(cpuUs));
    getrusage(RUSAGE_THREAD, &after);
    m_figures.nSettersBlocked += after.ru_nvcsw > before.ru_nvcsw;
    m_figures.dLongestSetterUs = std::max(m_figures.dLongestSetterUs, us);
    m_setterUs.push_back(float(us));
    if (us > 100.0)
        ++m_figures.nSettersOver100Us;
}

void CSoakStorm::ChangeLoop() {
    Random random(m_options.nSeed);
    m_setterUs.reserve(std::size_t(std::max(0L, m_options.nChanges)));
    m_setterCpuUs.reserve(m_setterUs.capacity());
    for (long n = 0; n < m_options.nChanges; ++n) {
        Change(random, *m_controls[std::size_t(Pick(random, kRecords))]);
        if (m_options.pause.count() > 0)
            std::this_thread::sleep_for(m_options.pause);
    }
    m_figures.nChanges = m_options.nChanges;
    m_figures.dSetter999Us = Percentile999(m_setterUs);
    m_figures.dSetterCpu999Us = Percentile999(m_setterCpuUs);
}

void CSoakStorm::PlugLoop() {
    if (m_figures.nBound == 0)
        return;
    Random random(m_options.nSeed * 7919u + 1u);
    while (m_bStorming.load()) {
        CDDSDevice& device = m_devices[std::size_t(Pick(random, m_figures.nBound))];
        const int unit = device.m_nDevice;
        SimUnplug(unit);
        // A cable pulled out for good stays out longer than one presence check; replugging
        // before the record noticed would be a unit that lost power without going away.
        const Clock::time_point until = Clock::now() + kNoticeLimit;
        while (device.m_bLost == 0 && Clock::now() < until)
            std::this_thread::sleep_for(100us);
        ++(device.m_bLost != 0 ? m_figures.nCycles : m_figures.nUnnoticed);
        std::this_thread::sleep_for(std::chrono::microseconds(Pick(random, 2000)));
        SimReplug(unit);
        std::this_thread::sleep_for(std::chrono::microseconds(1000 + Pick(random, 3000)));
    }
}

void CSoakStorm::ReadLoop() {
    // What the view's and the frame's timers read, at a far higher rate.
    volatile double sink = 0.0;
    while (m_bStorming.load()) {
        for (const CDDSDevice& device : m_devices) {
            sink = sink + device.m_dMeasuredFreq + device.m_nCount + device.m_wDigitalIn +
                   device.m_bLost + double(device.PendingCommands().size()) +
                   device.SampleAt(0.25, true);
            ++m_figures.nReads;
        }
        std::this_thread::sleep_for(1ms);
    }
}

bool CSoakStorm::Settle() {
    // A replug powers a unit up afresh, so only a unit still out is plugged back in.
    for (int unit = 0; unit < m_figures.nBound; ++unit)
        if (!SimGetUnit(unit).present)
            SimReplug(unit);
    const Clock::time_point until = Clock::now() + kSettleLimit;
    const auto settled = [](const CDDSDevice& device) {
        return device.m_bDemo != 0 ||
               (device.m_bLost == 0 && device.CommandsDone() &&
                SimGetUnit(device.m_nDevice).digitalOut == device.m_wDigitalOut);
    };
    while (!std::all_of(m_devices.begin(), m_devices.end(), settled)) {
        if (Clock::now() > until)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

CSoakStorm::Figures CSoakStorm::Run() {
    Open();
    m_bStorming = true;
    const Clock::time_point start = Clock::now();
    std::thread plug([this] { PlugLoop(); });
    std::thread read([this] { ReadLoop(); });
    std::thread user([this] { ChangeLoop(); });
    user.join();
    m_figures.dStormSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    m_bStorming = false;
    plug.join();
    read.join();

    const Clock::time_point settling = Clock::now();
    m_figures.bSettled = Settle();
    m_figures.dSettleSeconds = std::chrono::duration<double>(Clock::now() - settling).count();
    // Stopped first, so that nothing moves while units and records are compared.
    for (int i = kRecords - 1; i >= 0; --i)
        m_workers[std::size_t(i)].Stop();
    for (const CDDSDevice& device : m_devices)
        for (std::string& line : CSoakCheck::Compare(device))
            m_figures.mismatches.push_back(std::move(line));
    return m_figures;
}
