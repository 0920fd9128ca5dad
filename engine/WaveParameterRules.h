#pragma once

/// What the shape parameters of a wave may be set to. The dialogs call these, and so must
/// every other way of setting them, so that each rule has one home.
class CWaveParameterRules {
public:
    /// Knob reading of one full turn, the knob showing duty 1.0.
    static constexpr double kKnobTurn = 6.28;
    /// The three parts of a trapezium period, each a fraction of the period.
    enum TrapeziaPart { TRAP_RISE, TRAP_HIGH, TRAP_FALL };
    static constexpr int kMinPeriodNumber = 1;
    static constexpr int kMaxPeriodNumber = 99;

    /// Duty of a knob reading, held to 0..1 (a knob past its end stop gives 1).
    static float KnobToDuty(double knob);
    static double DutyToKnob(float duty);

    /// value for the given part, lowered where needed so that the three parts add up to no
    /// more than one period with the other two parts as they stand (the part's own current
    /// value is not used). Worked in single precision, like the stored fractions.
    static float LimitTrapezia(TrapeziaPart part, float value, float rise, float high, float fall);

    /// Number of periods the display draws, held to 1..99.
    static int ClampPeriodNumber(long long n);
};
