#pragma once
#include "view/PanelTemplate.h"

#include <QPoint>
#include <QRect>
#include <QSize>

/// Where the display, the slider, the hide/show button and the control panel go in the view's
/// client area. Pure geometry, so the view and the tests share it.
class CPanelLayout {
public:
    struct Result {
        QRect rcPanel;   ///< Zero width while the panel is hidden.
        QRect rcDisplay; ///< The waveform display.
        QRect rcSlider;  ///< Empty unless Arb.
        QRect rcButton;  ///< The hide/show button, right edge on the panel's left edge.
        QRect rcFill;    ///< Painted in the button-face colour behind button and panel.
        bool bSliderVisible = false;
    };

    /// panelWidth is the width of the reference group box; buttonSize that of the hide/show button.
    static Result Compute(const QRect& client, int panelWidth, QSize buttonSize, bool showPanel,
                          bool arb);

    /// The smallest client area that shows the whole panel beside a display of a usable width:
    /// panelExtent is where the panel's controls lie around the reference group box's corner,
    /// panelWidth the group box's width. A smaller window scrolls.
    static QSize MinimumClient(const QRect& panelExtent, int panelWidth, QSize buttonSize);

    /// Pixel size of a panel control: knobs, switches, LEDs and toggles have fixed sizes,
    /// everything else keeps its template size.
    static QSize ControlSize(CPanelTemplate::Kind kind, QSize templateSize);

    /// A panel control's rectangle: its template place relative to the reference group box,
    /// moved so that the group box sits at the panel's top-left corner.
    static QRect PlaceControl(const QRect& templateRect, const QPoint& groupTemplatePos,
                              const QPoint& panelTopLeft, QSize size);
};
