#include "engine/DDSDevice.h"

#include <algorithm>

namespace {
constexpr int kMaxFreeListed = 20;
} // namespace

void CDDSDevice::BindHardware(const BindContext& context) {
    std::vector<int> free;
    for (int index = 0;
         index < context.foundDevices && static_cast<int>(free.size()) < kMaxFreeListed; ++index) {
        const auto& used = context.usedIndices;
        if (std::find(used.begin(), used.end(), index) == used.end())
            free.push_back(index);
    }

    int chosen = -1;
    if (free.size() == 1) {
        chosen = free.front();
    } else if (free.size() > 1) {
        chosen = context.chooseDevice ? context.chooseDevice(free) : free.front();
        // Anything but one of the offered indices counts as a cancel.
        if (std::find(free.begin(), free.end(), chosen) == free.end())
            chosen = -1;
    }

    if (chosen >= 0) {
        m_bDemo = 0;
        m_nDevice = chosen;
        return;
    }
    m_bDemo = 1;
    m_nDevice = -1;
    {
        // No worker ever takes a demo record's commands: drop the creation commands so the
        // queue stays at most one download request long.
        std::lock_guard<std::mutex> lock(m_commandLock);
        m_commands.clear();
    }
    if (free.empty() && context.showDemoMessage)
        context.showDemoMessage();
}
