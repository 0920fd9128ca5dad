#include "engine/WaveBatch.h"
#include "engine/DDSDevice.h"
#include "engine/FastMath.h"
#include "engine/NoiseSource.h"
#include "engine/WaveShape.h"

#include <algorithm>
#include <cmath>

namespace {

// Blocks small enough for the stack and the first-level cache.
constexpr int kBlock = 256;

// The helpers below are inlined into each variant of Block, so they vectorise for the
// vector unit that variant was built for.

// Sine of every argument, fast when the shape's bound keeps every argument in range.
[[gnu::always_inline]] inline void SinBlock(const double* args, double* out, int n, bool fast) {
    if (fast) {
        for (int i = 0; i < n; ++i)
            out[i] = CFastMath::Sin(args[i]);
    } else {
        for (int i = 0; i < n; ++i)
            out[i] = std::sin(args[i]);
    }
}

[[gnu::always_inline]] inline void ExpBlock(const double* args, double* out, int n, bool fast) {
    if (fast) {
        for (int i = 0; i < n; ++i)
            out[i] = CFastMath::Exp(args[i]);
    } else {
        for (int i = 0; i < n; ++i)
            out[i] = std::exp(args[i]);
    }
}

[[gnu::always_inline]] inline void Positions(const CWaveShape& shape, int first, int n, int count,
                                             double* x) {
    const double total = count;
    for (int i = 0; i < n; ++i)
        x[i] = shape.Position(static_cast<double>(first + i) / total);
}

[[gnu::always_inline]] inline void BlockBody(const CWaveShape& source, int first, int n, int count,
                                             double* out) {
    const CWaveShape shape = source; // a local copy cannot alias out: loops keep it in registers
    double x[kBlock];
    double a[kBlock];
    double s[kBlock];
    switch (shape.Type()) {
    case WAVE_SINE:
        Positions(shape, first, n, count, x);
        for (int i = 0; i < n; ++i)
            a[i] = shape.SineArg(x[i]);
        SinBlock(a, s, n, shape.SineArgBound() < CFastMath::kSinLimit);
        for (int i = 0; i < n; ++i)
            out[i] = shape.SineFrom(s[i]);
        break;
    case WAVE_RAMP:
        Positions(shape, first, n, count, x);
        for (int i = 0; i < n; ++i)
            out[i] = shape.Ramp(x[i]);
        break;
    case WAVE_SQUARE:
        Positions(shape, first, n, count, x);
        for (int i = 0; i < n; ++i)
            out[i] = shape.Square(x[i]);
        break;
    case WAVE_EXPONENT:
        if (shape.ExpFlat()) {
            std::fill(out, out + n, shape.Offset());
            break;
        }
        Positions(shape, first, n, count, x);
        for (int i = 0; i < n; ++i)
            a[i] = shape.ExpArg(x[i]);
        ExpBlock(a, s, n, shape.ExpArgBound() < CFastMath::kExpLimit);
        for (int i = 0; i < n; ++i)
            out[i] = shape.ExpFrom(s[i]);
        break;
    case WAVE_ARB:
        Positions(shape, first, n, count, x);
        for (int i = 0; i < n; ++i)
            out[i] = shape.Arb(x[i]);
        break;
    case WAVE_TRAPEZIA:
        Positions(shape, first, n, count, x);
        for (int i = 0; i < n; ++i)
            out[i] = shape.Trapezia(x[i]);
        break;
    case WAVE_AMFM:
        Positions(shape, first, n, count, x);
        for (int i = 0; i < n; ++i)
            a[i] = shape.ModArg(x[i]);
        SinBlock(a, s, n,
                 shape.ModArgBound() < CFastMath::kSinLimit &&
                     !(shape.IsFM() && shape.FmAmplifiesDeviation()));
        if (shape.IsFM()) {
            for (int i = 0; i < n; ++i)
                a[i] = shape.FmArg(x[i], s[i]);
            SinBlock(a, s, n, shape.CarrierArgBound() < CFastMath::kSinLimit);
            for (int i = 0; i < n; ++i)
                out[i] = shape.FmFrom(s[i]);
        } else {
            for (int i = 0; i < n; ++i)
                a[i] = shape.AmCarrierArg(x[i]);
            // The positions are no longer needed.
            SinBlock(a, x, n, shape.CarrierArgBound() < CFastMath::kSinLimit);
            for (int i = 0; i < n; ++i)
                out[i] = shape.AmFrom(s[i], x[i]);
        }
        break;
    case WAVE_GAUSS_NOISE: {
        // Same draws in the same order as one SampleAt per sample on this thread: the weight
        // first, then the angle.
        int draws[2 * kBlock];
        CNoiseSource::ThisThread().Fill(draws, 2 * n);
        for (int i = 0; i < n; ++i)
            a[i] = CWaveShape::GaussArg(draws[2 * i + 1]);
        SinBlock(a, s, n, true); // angles below one turn
        for (int i = 0; i < n; ++i)
            out[i] = shape.GaussFrom(draws[2 * i], s[i]);
        break;
    }
    case WAVE_WHITE_NOISE: {
        int draws[kBlock];
        CNoiseSource::ThisThread().Fill(draws, n);
        for (int i = 0; i < n; ++i)
            out[i] = shape.White(draws[i]);
        break;
    }
    default:
        std::fill(out, out + n, 0.0);
        break;
    }
}

[[gnu::always_inline]] inline void ToCodesBody(const double* samples, int n, unsigned short* out) {
    for (int i = 0; i < n; ++i)
        out[i] = CWaveBatch::CodeOf(samples[i]);
}

// The loops built for each vector unit. Every variant does the same operations in the same
// order (the engine is built without contraction into fused multiply-adds), so the samples
// do not depend on which one runs. Chosen at run time rather than through ifunc resolvers,
// which the thread sanitizer cannot run.
[[gnu::target("avx512f")]] void BlockAvx512(const CWaveShape& shape, int first, int n, int count,
                                            double* out) {
    BlockBody(shape, first, n, count, out);
}
[[gnu::target("avx2")]] void BlockAvx2(const CWaveShape& shape, int first, int n, int count,
                                       double* out) {
    BlockBody(shape, first, n, count, out);
}
void BlockPlain(const CWaveShape& shape, int first, int n, int count, double* out) {
    BlockBody(shape, first, n, count, out);
}
[[gnu::target("avx512f")]] void ToCodesAvx512(const double* samples, int n, unsigned short* out) {
    ToCodesBody(samples, n, out);
}
[[gnu::target("avx2")]] void ToCodesAvx2(const double* samples, int n, unsigned short* out) {
    ToCodesBody(samples, n, out);
}
void ToCodesPlain(const double* samples, int n, unsigned short* out) {
    ToCodesBody(samples, n, out);
}

enum class CVectorUnit { Plain, Avx2, Avx512 };

CVectorUnit Unit() {
    static const CVectorUnit unit = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f"))
            return CVectorUnit::Avx512;
        if (__builtin_cpu_supports("avx2"))
            return CVectorUnit::Avx2;
        return CVectorUnit::Plain;
    }();
    return unit;
}

void Block(const CWaveShape& shape, int first, int n, int count, double* out) {
    switch (Unit()) {
    case CVectorUnit::Avx512:
        return BlockAvx512(shape, first, n, count, out);
    case CVectorUnit::Avx2:
        return BlockAvx2(shape, first, n, count, out);
    default:
        return BlockPlain(shape, first, n, count, out);
    }
}

void ToCodes(const double* samples, int n, unsigned short* out) {
    switch (Unit()) {
    case CVectorUnit::Avx512:
        return ToCodesAvx512(samples, n, out);
    case CVectorUnit::Avx2:
        return ToCodesAvx2(samples, n, out);
    default:
        return ToCodesPlain(samples, n, out);
    }
}

} // namespace

void CWaveBatch::Samples(const CWaveShape& shape, int count, double* out) {
    for (int first = 0; first < count; first += kBlock)
        Block(shape, first, std::min(kBlock, count - first), count, out + first);
}

void CWaveBatch::Codes(const CWaveShape& shape, int count, bool outputOn, unsigned short* out) {
    if (!outputOn) {
        std::fill(out, out + count, static_cast<unsigned short>(2048));
        return;
    }
    double samples[kBlock];
    for (int first = 0; first < count; first += kBlock) {
        const int n = std::min(kBlock, count - first);
        Block(shape, first, n, count, samples);
        ToCodes(samples, n, out + first);
    }
}
