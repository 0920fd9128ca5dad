// Runs the soak and prints its figures: soak [CHANGES] [--units N] [--seed S] [--pause US].
// The exit status is 1 when a unit disagrees with its record or the devices never settle.
#include "tools/SoakStorm.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[]) {
    CSoakStorm::Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--units") == 0 && i + 1 < argc)
            options.nUnits = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--pause") == 0 && i + 1 < argc)
            options.pause = std::chrono::microseconds(std::atol(argv[++i]));
        else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
            options.nSeed = std::uint32_t(std::strtoul(argv[++i], nullptr, 10));
        else if (std::atol(argv[i]) > 0)
            options.nChanges = std::atol(argv[i]);
        else {
            std::fprintf(stderr, "usage: %s [CHANGES] [--units N] [--seed S] [--pause US]\n",
                         argv[0]);
            return 2;
        }
    }
    CSoakStorm storm(options);
    const CSoakStorm::Figures f = storm.Run();
    std::printf("soak: %d records (%d bound, %d demo), seed %u\n", CSoakStorm::kRecords, f.nBound,
                f.nDemo, options.nSeed);
    std::printf("  changes               %ld in %.2f s, %.0f changes/s\n", f.nChanges,
                f.dStormSeconds, f.nChanges / f.dStormSeconds);
    std::printf("  unplug/replug cycles  %ld survived (%ld replugged unnoticed)\n", f.nCycles,
                f.nUnnoticed);
    std::printf("  measurement reads     %ld\n", f.nReads);
    std::printf("  longest setter        %.1f us (goal < 100 us), %ld over 100 us, 99.9 %% within "
                "%.1f us\n",
                f.dLongestSetterUs, f.nSettersOver100Us, f.dSetter999Us);
    // The thread's CPU clock of a virtual machine may jump by the time the host took the core,
    // so the share within a bound says more than the single largest figure.
    std::printf("  setter's own work     %.1f us at most, 99.9 %% within %.1f us; %ld setters "
                "waited (goal 0)\n",
                f.dLongestSetterCpuUs, f.dSetterCpu999Us, f.nSettersBlocked);
    std::printf("  settled               %s after %.2f s\n", f.bSettled ? "yes" : "NO",
                f.dSettleSeconds);
    std::printf("  mismatches            %zu (goal 0)\n", f.mismatches.size());
    for (std::size_t i = 0; i < f.mismatches.size() && i < 40; ++i)
        std::printf("    %s\n", f.mismatches[i].c_str());
    return f.bSettled && f.mismatches.empty() ? 0 : 1;
}
