#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

#include <span>

/// The device form's controls with their places in dialog units, and the conversion of dialog
/// units to pixels through a font's average character size.
class CPanelTemplate {
public:
    enum Kind {
        KIND_DISPLAY,
        KIND_SLIDER,
        KIND_TOGGLE,
        KIND_STATIC,
        KIND_COUNTER,
        KIND_SWITCH,
        KIND_LED,
        KIND_GROUP,
        KIND_PANEL_BUTTON,
        KIND_FIELD,
        KIND_KNOB,
        KIND_SPIN,
    };

    struct Control {
        int nId;
        Kind kind;
        const char* caption; ///< Text of a static before the language re-texts it.
        int x, y, cx, cy;    ///< Dialog units.
    };

    /// Every control in template order.
    static std::span<const Control> Controls();
    static const Control* Find(int id);
    /// Size of the whole form in dialog units.
    static QSize FormSize() { return QSize(636, 470); }

    /// The form's font: the given family at 8 points, the size the template was drawn for.
    static QFont FormFont(const QFont& base);
    /// Dialog base units of a font: average character width and character height.
    static QSize BaseUnits(const QFont& font);
    /// A dialog-unit rectangle in pixels: each edge scaled, x by width/4 and y by height/8.
    static QRect ToPixels(int x, int y, int cx, int cy, QSize baseUnits);
    static QRect ToPixels(const Control& control, QSize baseUnits) {
        return ToPixels(control.x, control.y, control.cx, control.cy, baseUnits);
    }
};
