#pragma once

class CLanguageManager;
class CPanelControls;

/// Names the panel's controls for screen readers after their captions, in the current
/// language: "Frequency knob", "Sine switch", "Single Wave lamp", the fields by their captions;
/// the fields by their captions with their units ("Frequency, Hz"); gives lamps, switches and
/// levers the words a reader says for their two states, and the wave switches the role of the
/// radio buttons they act as.
class CPanelAccessNames {
public:
    static void Apply(const CPanelControls& panel, const CLanguageManager& language);
    /// The names that follow a state: a lever's by where it points ("F/C lever: C"), the
    /// counter field's by what it shows ("Count"), the panel arrow's by what it does.
    static void ApplyStates(const CPanelControls& panel, const CLanguageManager& language);
};
