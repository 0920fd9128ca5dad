#pragma once
#include <bit>
#include <cstdint>

/// Branch-free sine and exponential that the compiler can vectorise over a buffer. Both stay
/// within a few units in the last place of std::sin and std::exp inside their limits; callers
/// check a block's arguments against the limits and use the standard functions beyond them.
class CFastMath {
public:
    /// |x| below this keeps the quadrant count under 2^20, so the reduction stays exact.
    static constexpr double kSinLimit = 1.0e6;
    /// |x| below this keeps 2^n a normal number.
    static constexpr double kExpLimit = 708.0;

    /// Nearest whole number (ties to even) for |x| < 2^51, without a library call.
    static double Round(double x) noexcept {
        constexpr double kShift = 6755399441055744.0; // 1.5 x 2^52
        return (x + kShift) - kShift;
    }

    static double Sin(double x) noexcept {
        // Cody-Waite reduction by pi/2 with a 33-bit leading part, so n * part is exact.
        constexpr double kTwoOverPi = 6.36619772367581382433e-01;
        constexpr double kPio2Hi = 1.57079632673412561417e+00;
        constexpr double kPio2Mid = 6.07710050630396597660e-11;
        constexpr double kPio2Lo = 2.02226624879595063154e-21;
        const double n = Round(x * kTwoOverPi);
        const double r = ((x - n * kPio2Hi) - n * kPio2Mid) - n * kPio2Lo;
        const double z = r * r;
        const double s = r + r * z *
                                 (-1.66666666666666324348e-01 +
                                  z * (8.33333333332248946124e-03 +
                                       z * (-1.98412698298579493134e-04 +
                                            z * (2.75573137070700676789e-06 +
                                                 z * (-2.50507602534068634195e-08 +
                                                      z * 1.58969099521155010221e-10)))));
        const double c = 1.0 - 0.5 * z +
                         z * z *
                             (4.16666666666666019037e-02 +
                              z * (-1.38888888888741095749e-03 +
                                   z * (2.48015872894767294178e-05 +
                                        z * (-2.75573143513906633035e-07 +
                                             z * (2.08757232129817482790e-09 +
                                                  z * -1.13596475577881948265e-11)))));
        // Quadrant j = n mod 4 from floor(n / 4) = round((n - 1.5) / 4), which never ties.
        // Odd quadrants take the cosine, quadrants 2 and 3 negate; the blends are exact
        // (multiplying by 0 or 1 and adding 0) and keep the loop free of branches.
        const double j = n - 4.0 * Round((n - 1.5) * 0.25);
        const double half = Round((j - 0.5) * 0.5);
        const double odd = j - 2.0 * half;
        return (s * (1.0 - odd) + c * odd) * (1.0 - 2.0 * half);
    }

    static double Exp(double x) noexcept {
        constexpr double kLog2e = 1.44269504088896338700e+00;
        constexpr double kLn2Hi = 6.93147180369123816490e-01;
        constexpr double kLn2Lo = 1.90821492927058770002e-10;
        const double n = Round(x * kLog2e);
        const double r = (x - n * kLn2Hi) - n * kLn2Lo;
        // Taylor series to degree 13: below 1e-17 for |r| <= ln2 / 2.
        double p = 1.0 / 6227020800.0;
        p = p * r + 1.0 / 479001600.0;
        p = p * r + 1.0 / 39916800.0;
        p = p * r + 1.0 / 3628800.0;
        p = p * r + 1.0 / 362880.0;
        p = p * r + 1.0 / 40320.0;
        p = p * r + 1.0 / 5040.0;
        p = p * r + 1.0 / 720.0;
        p = p * r + 1.0 / 120.0;
        p = p * r + 1.0 / 24.0;
        p = p * r + 1.0 / 6.0;
        p = p * r + 0.5;
        p = p * r + 1.0;
        p = p * r + 1.0;
        // 2^n from the bits of n + 1023 placed in the exponent field.
        constexpr double kBias = 4503599627370496.0 + 1023.0; // 2^52 + 1023
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(n + kBias) << 52;
        return p * std::bit_cast<double>(bits);
    }
};
