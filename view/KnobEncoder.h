#pragma once

/// The panel knobs read as relative encoders: 200 steps per turn, counted from the angle seen at
/// the previous event. One previous angle per knob role is shared by every device view.
class CKnobEncoder {
public:
    enum Role { ROLE_FREQUENCY = 0, ROLE_AMPLITUDE = 1 };
    static constexpr int kStepsPerTurn = 200;

    /// Steps from previous to angle (radians), taking the short way across the zero mark;
    /// the fraction of a step is dropped. previous becomes angle.
    static int Steps(double angle, double& previous);
    /// Steps for the knob of a role, against that role's remembered angle.
    static int Turn(Role role, double angle);
    /// Forgets the remembered angles (both back to 0).
    static void Reset();

private:
    static double s_dPrevious[2];
};
