#pragma once
#include <cstdint>
#include <string>
#include <vector>

/// Everything one device window is, as a setup file holds it: the record's settings (what the
/// panel, the wave parameter, sweep and digital I/O dialogs set), the Arb table, and what the
/// window shows around them (display colours, zoom, tab name). Values as stored; the device
/// control clamps them when they are applied.
class CDeviceSetup {
public:
    // Panel
    int m_nWaveType = 0;
    double m_dFrequency = 1000.0;
    double m_dAmplitude = 2.0;
    double m_dOffset = 0.0;
    double m_dPhase = 0.0;
    int m_bOutputOn = 1;
    int m_bAtten20dB = 0;
    int m_bSingleWave = 0;
    int m_bExtTrig = 0;
    int m_nTrigEdge = 0;
    int m_bPowerOnOutput = 1;
    int m_bCounterOn = 1;
    int m_nMeasureMode = 1;
    int m_nPeriodNumber = 3;
    // Wave parameters
    double m_dSquareDuty = 0.5;
    double m_dRampDuty = 0.5;
    int m_bExpFall = 1;
    double m_dExpTau = 0.001;
    double m_dTrapRise = 0.2;
    double m_dTrapHigh = 0.4;
    double m_dTrapFall = 0.2;
    int m_bFM = 0;
    int m_nModCarrier = 10000;
    int m_nFmDeviation = 3000;
    double m_dAmDepth = 0.5;
    // Sweep
    double m_dSweepStart = 1000.0;
    double m_dSweepEnd = 100000.0;
    double m_dSweepStep = 1.0;
    int m_nSweepSpeed = 100;
    // Digital lines
    int m_nDIOMode = 0;
    int m_wDigitalOut = 0; ///< Bit i = output line i.
    // Arb table: its clock and points per period, and the table up to its last non-zero entry
    double m_dSampleRate = 1000.0;
    int m_nPointsPerPeriod = 1000;
    int m_nArbPoints = 250;
    std::vector<float> m_arb{};
    // Window
    int m_nZoom = 0;
    double m_dViewPos = 0.0;
    /// Display colours as 0xRRGGBB: background, curve, grid, cursor.
    std::uint32_t m_crBack = 0x1E0032;
    std::uint32_t m_crCurve = 0xFFFF00;
    std::uint32_t m_crGrid = 0x646464;
    std::uint32_t m_crCursor = 0x06FFFF;
    /// A name the user gave the tab (UTF-8); empty keeps the name the program gives.
    std::string m_strTabName{};

    bool operator==(const CDeviceSetup&) const = default;
};
