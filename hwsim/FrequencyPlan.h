#pragma once

/// How a simulated unit lays out its buffer for a frequency: the sample clock is the 200 MHz
/// master clock divided by m_nDivider, and m_nPoints samples hold m_nPeriods periods.
class CFrequencyPlan {
public:
    static constexpr double kClock = 200000000.0;
    static constexpr int kMaxPoints = 4096;
    /// Requests are held to this range before planning.
    static constexpr double kLowest = 0.01;
    static constexpr double kHighest = 100000000.0;

    int m_nDivider = 1;
    int m_nPoints = 1;
    int m_nPeriods = 1;

    /// The plan with the smallest divider whose played frequency is within a few parts per
    /// million of the request, else the nearest one found.
    static CFrequencyPlan For(double frequency);
    /// periods x (clock / divider) / points.
    double Played() const;
};
