#pragma once

class CDDSDevice;

/// What the sweep settings of a device may be set to, by typing and by turning a knob. Every
/// way in (the Sweep dialog, a remote command) goes through these rules.
class CSweepRules {
public:
    /// The four sweep settings, in the order of the dialog's knobs.
    enum Field { FIELD_START = 0, FIELD_END = 1, FIELD_SPEED = 2, FIELD_STEP = 3 };

    /// Knob units per radian: 1000 units for one turn of 6.28.
    static constexpr double kUnitsPerRadian = 159.2356687898089;

    static double ClampStart(double hz);
    static double ClampEnd(double hz);
    /// Milliseconds per step, at least 1; an interval beyond an hour falls back to the default
    /// 100 ms.
    static double LimitSpeed(double ms);
    /// What is stored of LimitSpeed: whole milliseconds, truncated toward zero.
    static int ClampSpeed(double ms);
    /// At least 1 Hz and at most the span from start to end; when that span is under 1 Hz
    /// the step stays 1 Hz, so a sweep always moves up and then starts over.
    static double ClampStep(double hz, double start, double end);

    /// A typed value under its field's clamp, as the field shows it again.
    static double Limit(const CDDSDevice& device, Field field, double value);
    /// Stores Limit's value in the record (the speed truncated); returns what was stored.
    static double Enter(CDDSDevice& device, Field field, double value);

    /// Knob units turned from previous to angle (radians, one turn 6.28). A knob that crossed
    /// its zero mark counts the short way round; exactly half a turn, either way, counts forward.
    /// previous becomes angle.
    static double KnobDelta(double angle, double& previous);
    /// Turns a field of the record by a knob's delta under that knob's own truncation and
    /// limits; returns the stored value.
    static double Turn(CDDSDevice& device, Field field, double delta);
};
