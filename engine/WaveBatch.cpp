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

void StdSinBlock(const double* args, double* out, int n) {
    for (int i = 0; i < n; ++i)
        out[i] = std::sin(args[i]);
}

// Sine of every argument; a block with an argument beyond the fast limit uses std::sin.
void SinBlock(double* args, double* out, int n) {
    double largest = 0.0;
    for (int i = 0; i < n; ++i)
        largest = std::max(largest, std::fabs(args[i]));
    if (largest < CFastMath::kSinLimit) {
        for (int i = 0; i < n; ++i)
            out[i] = CFastMath::Sin(args[i]);
    } else {
        StdSinBlock(args, out, n);
    }
}

void ExpBlock(double* args, double* out, int n) {
    double largest = 0.0;
    for (int i = 0; i < n; ++i)
        largest = std::max(largest, std::fabs(args[i]));
    if (largest < CFastMath::kExpLimit) {
        for (int i = 0; i < n; ++i)
            out[i] = CFastMath::Exp(args[i]);
    } else {
        for (int i = 0; i < n; ++i)
            out[i] = std::exp(args[i]);
    }
}

void Positions(const CWaveShape& shape, int first, int n, int count, double* x) {
    const double total = count;
    for (int i = 0; i < n; ++i)
        x[i] = shape.Position(static_cast<double>(first + i) / total);
}

void Block(const CWaveShape& shape, int first, int n, int count, double* out) {
    double x[kBlock];
    double a[kBlock];
    double s[kBlock];
    Positions(shape, first, n, count, x);
    switch (shape.Type()) {
    case WAVE_SINE:
        for (int i = 0; i < n; ++i)
            a[i] = shape.SineArg(x[i]);
        SinBlock(a, s, n);
        for (int i = 0; i < n; ++i)
            out[i] = shape.SineFrom(s[i]);
        break;
    case WAVE_RAMP:
        for (int i = 0; i < n; ++i)
            out[i] = shape.Ramp(x[i]);
        break;
    case WAVE_SQUARE:
        for (int i = 0; i < n; ++i)
            out[i] = shape.Square(x[i]);
        break;
    case WAVE_EXPONENT:
        if (shape.ExpFlat()) {
            for (int i = 0; i < n; ++i)
                out[i] = shape.Offset();
            break;
        }
        for (int i = 0; i < n; ++i)
            a[i] = shape.ExpArg(x[i]);
        ExpBlock(a, s, n);
        for (int i = 0; i < n; ++i)
            out[i] = shape.ExpFrom(s[i]);
        break;
    case WAVE_ARB:
        for (int i = 0; i < n; ++i)
            out[i] = shape.Arb(x[i]);
        break;
    case WAVE_TRAPEZIA:
        for (int i = 0; i < n; ++i)
            out[i] = shape.Trapezia(x[i]);
        break;
    case WAVE_AMFM:
        for (int i = 0; i < n; ++i)
            a[i] = shape.ModArg(x[i]);
        if (shape.IsFM() && shape.FmAmplifiesDeviation())
            StdSinBlock(a, s, n);
        else
            SinBlock(a, s, n);
        if (shape.IsFM()) {
            for (int i = 0; i < n; ++i)
                a[i] = shape.FmArg(x[i], s[i]);
            SinBlock(a, s, n);
            for (int i = 0; i < n; ++i)
                out[i] = shape.FmFrom(s[i]);
        } else {
            for (int i = 0; i < n; ++i)
                a[i] = shape.AmCarrierArg(x[i]);
            SinBlock(a, x, n); // positions are no longer needed
            for (int i = 0; i < n; ++i)
                out[i] = shape.AmFrom(s[i], x[i]);
        }
        break;
    case WAVE_GAUSS_NOISE: {
        // Same draws in the same order as one SampleAt per sample on this thread.
        CNoiseSource& source = CNoiseSource::ThisThread();
        CNoiseSource noise = source;
        int weights[kBlock];
        for (int i = 0; i < n; ++i) {
            weights[i] = noise.Next();
            a[i] = CWaveShape::GaussArg(noise.Next());
        }
        source = noise;
        SinBlock(a, s, n);
        for (int i = 0; i < n; ++i)
            out[i] = shape.GaussFrom(weights[i], s[i]);
        break;
    }
    case WAVE_WHITE_NOISE: {
        CNoiseSource& source = CNoiseSource::ThisThread();
        CNoiseSource noise = source;
        for (int i = 0; i < n; ++i)
            out[i] = shape.White(noise.Next());
        source = noise;
        break;
    }
    default:
        std::fill(out, out + n, 0.0);
        break;
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
        for (int i = 0; i < n; ++i)
            out[first + i] = CodeOf(samples[i]);
    }
}
