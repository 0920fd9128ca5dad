#include "engine/NoiseSource.h"

CNoiseSource& CNoiseSource::ThisThread() noexcept {
    thread_local CNoiseSource source;
    return source;
}
