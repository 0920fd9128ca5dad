#pragma once
#include "engine/Relaxed.h"

#include <algorithm>
#include <cmath>

class CDDSDevice;

/// The wave parameters of one record, read once, and the formula of every wave type split into
/// its argument and its combination, so that SampleAt (one sample) and the download batch (a
/// whole buffer) share one definition and differ only in how sine and exponential are taken.
class CWaveShape {
public:
    /// Amplitude factor as a 32-bit float (1/3.5 V); offsets use the exact double.
    static constexpr float kAmplitudeScale = 0.2857143f;
    static constexpr double kOffsetScale = 0.2857142857142857;

    CWaveShape(const CDDSDevice& device, bool forDisplay);

    /// One period per buffer, as the capture into the arbitrary table draws it.
    void UseOnePeriod() noexcept;

    /// One sample at buffer position t; the noise waves draw from the calling thread's source.
    double At(double t) const;

    int Type() const noexcept { return m_nType; }
    double Offset() const noexcept { return m_dOfs; }
    double Position(double t) const noexcept { return t + m_dShift; }

    /// Position inside the current period, in buffer units (0 <= u < 1/k for x >= 0).
    double InPeriod(double x) const noexcept {
        const double n = std::trunc(x / m_dPeriod);
        return x - n * m_dPeriod;
    }

    /// Largest |x| of a buffer: positions run over [shift, 1 + shift).
    double MaxAbsPosition() const noexcept {
        return std::max(std::fabs(m_dShift), std::fabs(1.0 + m_dShift));
    }
    /// Largest |argument| a buffer can give each sine or exponential (with some slack), so
    /// the batch can tell once whether the fast functions are in range.
    double SineArgBound() const noexcept { return m_dK * MaxAbsPosition() * 6.3; }
    double ExpArgBound() const noexcept { return 1.01 / std::fabs(m_dTau * m_dExpFreq); }
    double ModArgBound() const noexcept { return SineArgBound(); }
    double CarrierArgBound() const noexcept {
        const double carrier = std::fabs(m_dCarrier * m_dK) * MaxAbsPosition() * 6.3;
        return m_bFM ? (carrier + std::fabs(m_dDeviation)) / std::fabs(m_dFmFreq)
                     : carrier / std::fabs(m_dAmFreq);
    }

    double SineArg(double x) const noexcept { return m_dK * x * 6.28318; }
    double SineFrom(double s) const noexcept { return s * m_dA + m_dOfs; }

    double Ramp(double x) const noexcept {
        const double u = InPeriod(x);
        if (u < m_dRampRise && m_dRampRise > 0.0)
            return m_dA * (2.0 * u / m_dRampRise - 1.0) + m_dOfs;
        if (m_dRampFall <= 0.0)
            return m_dOfs + m_dA; // a rise that fills the period has no falling edge
        return m_dA * (1.0 - 2.0 * (u - m_dRampRise) / m_dRampFall) + m_dOfs;
    }

    double Square(double x) const noexcept {
        return InPeriod(x) < m_dSquareHigh ? m_dOfs + m_dA : m_dOfs - m_dA;
    }

    /// True when the exponent collapses to the offset (time constant exactly 0).
    bool ExpFlat() const noexcept { return m_dTau == 0.0; }
    double ExpArg(double x) const noexcept { return -(m_dK * InPeriod(x)) / (m_dTau * m_dExpFreq); }
    double ExpFrom(double e) const noexcept { return m_dOfs + m_dA * (m_bExpFall ? e : 1.0 - e); }

    double Arb(double x) const noexcept {
        return static_cast<double>(m_pArb[ArbIndex(x)].Get()) * kAmplitudeScale;
    }
    /// Table index of position x, always inside the 4096-entry table.
    int ArbIndex(double x) const noexcept;

    double Trapezia(double x) const noexcept {
        const double u = InPeriod(x);
        if (u >= m_dTrapLowFrom)
            return m_dOfs - m_dA;
        if (u >= m_dTrapFallFrom) {
            if (m_dTrapFall <= 0.0)
                return m_dOfs - m_dA;
            const double v =
                m_dA * (1.0 - 2.0 * (u - m_dTrapRise - m_dTrapHigh) / m_dTrapFall) + m_dOfs;
            return std::clamp(v, std::min(m_dOfs - m_dA, m_dOfs + m_dA),
                              std::max(m_dOfs - m_dA, m_dOfs + m_dA));
        }
        if (u >= m_dTrapRise)
            return m_dOfs + m_dA;
        if (m_dTrapRise <= 0.0)
            return m_dOfs - m_dA;
        return m_dA * (2.0 * u / m_dTrapRise - 1.0) + m_dOfs;
    }

    bool IsFM() const noexcept { return m_bFM; }
    /// The FM phase multiplies the deviation sine by deviation / F: beyond this the last bit
    /// of that sine shows in the sample, so it must be taken exactly as SampleAt takes it.
    bool FmAmplifiesDeviation() const noexcept {
        return std::fabs(m_dDeviation / m_dFmFreq) > 1000.0;
    }
    /// Envelope (AM) or deviation (FM) argument: k periods per buffer.
    double ModArg(double x) const noexcept { return m_dK * x * 6.2831852; }
    double AmCarrierArg(double x) const noexcept {
        return m_dCarrier * m_dK * x * 6.2831852 / m_dAmFreq;
    }
    double AmFrom(double sinEnvelope, double sinCarrier) const noexcept {
        const double m = m_dDepth * sinEnvelope + (1.0 - m_dDepth);
        return m * sinCarrier * m_dA + m_dOfs;
    }
    double FmArg(double x, double sinDeviation) const noexcept {
        return m_dCarrier * m_dK * x * 6.2831852 / m_dFmFreq +
               m_dDeviation * sinDeviation / m_dFmFreq;
    }
    double FmFrom(double s) const noexcept { return s * m_dA + m_dOfs; }

    static double GaussArg(int angleDraw) noexcept { return angleDraw * 6.2831852 / 32768; }
    double GaussFrom(int weightDraw, double s) const noexcept {
        return s * m_dA * (weightDraw * 3.0517578125e-05);
    }
    double White(int draw) const noexcept { return (draw - 16384) * m_dA * 6.103515625e-05; }

private:
    int m_nType;
    double m_dA;
    double m_dOfs;
    double m_dK;      ///< Periods per buffer, at least 1.
    double m_dShift;  ///< Phase shift in buffer units.
    double m_dPeriod; ///< 1 / k.
    // Edges in buffer units (fractions of a period divided by k).
    double m_dSquareHigh;
    double m_dRampRise;
    double m_dRampFall;
    double m_dTrapRise;
    double m_dTrapHigh;
    double m_dTrapFall;
    double m_dTrapFallFrom;
    double m_dTrapLowFrom;
    double m_dSquareDuty;
    double m_dRampDuty;
    double m_dRise, m_dHigh, m_dFall; ///< Trapezium fractions of a period.
    double m_dTau;
    bool m_bExpFall;
    double m_dExpFreq; ///< At least 1 Hz.
    double m_dAmFreq;  ///< At least 1 Hz.
    double m_dFmFreq;  ///< 1 Hz only in place of 0.
    double m_dDepth;   ///< Half the modulation depth.
    double m_dCarrier;
    double m_dDeviation;
    bool m_bFM;
    const CRelaxed<float>* m_pArb;
    double m_dPoints;
    int m_nPointsPerPeriod; ///< Arb table entries played per period, at least 1.

    void SetPeriods(double k) noexcept;
};
