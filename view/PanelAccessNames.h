#pragma once

class CLanguageManager;
class CPanelControls;

/// Names the panel's controls for screen readers after their captions, in the current
/// language: "Frequency knob", "Sine switch", "Single Wave lamp", the fields by their captions;
/// and gives lamps, switches and levers the words a reader says for their two states.
class CPanelAccessNames {
public:
    static void Apply(const CPanelControls& panel, const CLanguageManager& language);
};
