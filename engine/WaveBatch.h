#pragma once

class CWaveShape;

/// A whole buffer from a wave shape in one tight loop per wave type: the download path. Every
/// sample equals CWaveShape::At at the same position up to a few units in the last place
/// (sine and exponential are taken with CFastMath inside its limits).
class CWaveBatch {
public:
    /// Samples at positions i / count for i = 0 .. count - 1.
    static void Samples(const CWaveShape& shape, int count, double* out);
    /// The generator's 12-bit codes for the same positions; mid-scale when the output is off.
    static void Codes(const CWaveShape& shape, int count, bool outputOn, unsigned short* out);
    /// 2048 - 2047 x sample, truncated toward zero and held to 0 .. 4095.
    static unsigned short CodeOf(double sample) noexcept {
        // Written as selects so a loop of conversions vectorises; NaN ends up at 0.
        double code = 2048.0 - sample * 2047.0;
        code = code > 0.0 ? code : 0.0;
        code = code < 4095.0 ? code : 4095.0;
        return static_cast<unsigned short>(static_cast<int>(code));
    }
};
