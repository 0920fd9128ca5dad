#pragma once
#include <string>

class CDDSDevice;

/// How a remote client's volts relate to the record's peak amplitude: peak-to-peak, RMS or
/// dBm into the load it says is connected. The program does not know the unit's output
/// impedance and takes it as 0 ohms (kSourceImpedance): the volts set are the volts at the
/// output into any load, so the load only turns RMS volts into power for dBm.
class COutputLevels {
public:
    enum Unit { UNIT_VPP = 0, UNIT_VRMS = 1, UNIT_DBM = 2 };

    static constexpr double kSourceImpedance = 0.0; ///< ohms
    static constexpr double kDefaultLoad = 50.0;    ///< ohms
    static constexpr double kMinLoad = 1.0;
    static constexpr double kMaxLoad = 10000.0; ///< Beside it, INFinity (high impedance).

    /// A load as kept: kMinLoad..kMaxLoad, or infinity.
    static double ClampLoad(double ohms);
    /// Volts across load for volts at the unit's output, under kSourceImpedance.
    static double AtLoad(double volts, double load);
    /// The volts at the unit's output that give volts across load (AtLoad's inverse).
    static double OpenFor(double volts, double load);

    /// Peak over RMS of what the device plays, measured from its offset: sine sqrt 2, square 1,
    /// ramp sqrt 3, white noise sqrt 3 (uniform), Gauss noise sqrt 6 (a uniform weight times
    /// the sine of a uniform angle), Arb that of its table about the table's middle. False
    /// with why in reason for Exponent, Trapezia, AM/FM and a flat Arb table, which have none
    /// a client could rely on.
    static bool CrestFactor(const CDDSDevice& device, double& crest, std::string& reason);

    /// The peak amplitude for value in unit; false (nothing to store) with why in reason when
    /// the unit needs a crest factor or a finite load that is missing.
    static bool ToPeak(const CDDSDevice& device, double value, int unit, double load, double& peak,
                       std::string& reason);
    /// A peak amplitude in unit; false as ToPeak.
    static bool FromPeak(const CDDSDevice& device, double peak, int unit, double load,
                         double& value, std::string& reason);
};
