#pragma once
// Codes of the panel controls' mouse events: the button and shift arguments keep the
// classic control-event convention, so owners written against it read them unchanged.
#include <Qt>

/// 1 left, 2 right, 4 middle; 0 when the event did not come from a mouse button.
inline int PanelButtonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

/// 1 Shift, 2 Ctrl, 4 Alt.
inline int PanelShiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}
