#pragma once
#include <QFont>
#include <QHash>
#include <QPoint>
#include <QRect>

#include "view/PanelTemplate.h"

class QLabel;
class QWidget;

/// The device form's controls, created in template order at their template places (dialog
/// units through the parent's font), found by control id, and moved as one block by the layout.
class CPanelControls {
public:
    /// Creates every control of the form as a child of parent, the waveform display included.
    explicit CPanelControls(QWidget* parent);

    QWidget* Control(int id) const { return m_controls.value(id); }
    template <typename T> T* Get(int id) const { return static_cast<T*>(Control(id)); }
    /// A control's template place in pixels.
    QRect TemplateRect(int id) const { return m_templateRects.value(id); }

    /// Moves every panel control so that the reference group box sits at panelTopLeft, each
    /// with its size by kind, and shows or hides them; display, slider and arrow button stay.
    void PlacePanel(const QPoint& panelTopLeft, bool visible) const;

    /// Where PlacePanel puts the panel's controls with the reference group box at (0, 0).
    QRect PanelExtent() const;

private:
    /// Where a caption goes in template pixels: its template place, inside the frame round it.
    QRect CaptionRoom(int id) const;
    /// Gives label the largest size of font, at most font's own, in which its text fits width.
    static void FitCaption(QLabel& label, int width, const QFont& font);
    /// A moving control's rectangle with the reference group box at panelTopLeft.
    QRect PlaceOf(const CPanelTemplate::Control& control, const QPoint& panelTopLeft) const;

    QFont m_font; ///< The form's font, which captions shrink from.
    QHash<int, QWidget*> m_controls;
    QHash<int, QRect> m_templateRects;
};
