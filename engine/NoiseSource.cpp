#include "engine/NoiseSource.h"

namespace {

constexpr int kLanes = 8;

struct CJump {
    std::uint32_t multiplier;
    std::uint32_t increment;
};

// kLanes steps of the recurrence folded into one: s -> s x m + c.
constexpr CJump LaneJump() {
    CJump jump{1u, 0u};
    for (int i = 0; i < kLanes; ++i) {
        jump.multiplier *= CNoiseSource::kMultiplier;
        jump.increment = jump.increment * CNoiseSource::kMultiplier + CNoiseSource::kIncrement;
    }
    return jump;
}

constexpr CJump kJump = LaneJump();

} // namespace

CNoiseSource& CNoiseSource::ThisThread() noexcept {
    thread_local CNoiseSource source;
    return source;
}

void CNoiseSource::Fill(int* out, int n) noexcept {
    int done = 0;
    if (n >= kLanes) {
        std::uint32_t lanes[kLanes];
        std::uint32_t state = m_state;
        for (int j = 0; j < kLanes; ++j) {
            state = state * kMultiplier + kIncrement;
            lanes[j] = state; // lane j holds the state of draw j, then j + 8, j + 16, ...
        }
        for (; done + kLanes <= n; done += kLanes) {
            state = lanes[kLanes - 1]; // the state of the last draw handed out so far
            for (int j = 0; j < kLanes; ++j) {
                out[done + j] = static_cast<int>((lanes[j] >> 16) & 0x7FFFu);
                lanes[j] = lanes[j] * kJump.multiplier + kJump.increment;
            }
        }
        m_state = state;
    }
    for (; done < n; ++done)
        out[done] = Next();
}
