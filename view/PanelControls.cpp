#include "view/PanelControls.h"

#include "res/Resource.h"
#include "view/PanelLayout.h"
#include "view/PanelTemplate.h"
#include "view/WaveDisplay.h"
#include "widgets/CounterEdit.h"
#include "widgets/LED.h"
#include "widgets/LeftRight.h"
#include "widgets/OnOff.h"
#include "widgets/SpinButton.h"
#include "widgets/StepEdit.h"
#include "widgets/TurnButton.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include <algorithm>

namespace {

QWidget* CreateControl(const CPanelTemplate::Control& control, QWidget* parent) {
    switch (control.kind) {
    case CPanelTemplate::KIND_DISPLAY:
        return new CWaveDisplay(parent);
    case CPanelTemplate::KIND_SLIDER:
        return new QSlider(Qt::Horizontal, parent);
    case CPanelTemplate::KIND_TOGGLE:
        return new CLeftRight(parent);
    case CPanelTemplate::KIND_STATIC: {
        auto* label = new QLabel(QString::fromLatin1(control.caption), parent);
        // Only captions and group boxes carry the id the language re-texts by: a language
        // text for a field would be typed into it, and 1051 is also another dialog's "Previous".
        label->setProperty("ctrlId", control.nId);
        return label;
    }
    case CPanelTemplate::KIND_COUNTER: {
        auto* counter = new CCounterEdit(parent);
        counter->setFocusPolicy(Qt::NoFocus);
        return counter;
    }
    case CPanelTemplate::KIND_SWITCH:
        return new COnOff(parent);
    case CPanelTemplate::KIND_LED:
        return new CLED(parent);
    case CPanelTemplate::KIND_GROUP: {
        auto* group = new QGroupBox(parent);
        group->setProperty("ctrlId", control.nId);
        return group;
    }
    case CPanelTemplate::KIND_PANEL_BUTTON: {
        auto* button = new QToolButton(parent);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    }
    case CPanelTemplate::KIND_FIELD:
        return new CStepEdit(parent);
    case CPanelTemplate::KIND_KNOB:
        return new CTurnButton(parent);
    case CPanelTemplate::KIND_SPIN:
        return new CSpinButton(parent);
    }
    return new QWidget(parent);
}

/// Pixels a caption keeps from the line of the frame round it.
constexpr int kFrameInset = 3;
/// Point sizes by which a caption shrinks to fit, and the smallest it takes.
constexpr double kCaptionShrink = 0.5;
constexpr double kSmallestCaption = 6.0;

bool MovesWithPanel(int id) {
    return id != IDC_WAVE_DISPLAY && id != IDC_VIEW_SLIDER && id != IDC_PANEL_BUTTON;
}

} // namespace

CPanelControls::CPanelControls(QWidget* parent) : m_font(CPanelTemplate::FormFont(parent->font())) {
    const QFont& font = m_font;
    const QSize baseUnits = CPanelTemplate::BaseUnits(font);
    // Group boxes first, so that the controls inside them are drawn over them.
    for (bool groups : {true, false}) {
        for (const CPanelTemplate::Control& control : CPanelTemplate::Controls()) {
            if ((control.kind == CPanelTemplate::KIND_GROUP) != groups)
                continue;
            QWidget* widget = CreateControl(control, parent);
            // The display keeps the window's font for its own texts.
            if (control.kind != CPanelTemplate::KIND_DISPLAY)
                widget->setFont(font);
            const QRect rect = CPanelTemplate::ToPixels(control, baseUnits);
            widget->setGeometry(
                QRect(rect.topLeft(), CPanelLayout::ControlSize(control.kind, rect.size())));
            m_templateRects.insert(control.nId, rect);
            m_controls.insert(control.nId, widget);
        }
    }
}

QRect CPanelControls::PlaceOf(const CPanelTemplate::Control& control,
                              const QPoint& panelTopLeft) const {
    const QPoint group = TemplateRect(IDC_GROUP_TOP).topLeft();
    const QRect place = TemplateRect(control.nId);
    const QSize size = CPanelLayout::ControlSize(control.kind, place.size());
    return CPanelLayout::PlaceControl(place, group, panelTopLeft, size);
}

QRect CPanelControls::CaptionRoom(int id) const {
    QRect room = TemplateRect(id);
    // A caption stays inside the frame drawn round it, clear of the frame's line.
    for (int group : {IDC_GROUP_TOP, IDC_GROUP_FUNCTIONS, IDC_GROUP_ENTRY}) {
        const QRect inside = TemplateRect(group).adjusted(kFrameInset, 0, -kFrameInset, 0);
        if (TemplateRect(group).contains(room.center()))
            room = room.intersected(inside);
    }
    return room;
}

void CPanelControls::FitCaption(QLabel& label, int width, const QFont& font) {
    // This platform's fonts are measured, not assumed: a caption wider than its room gets a
    // smaller size of the same font, down to the smallest that still reads.
    QFont fitted(font);
    const QString text = label.text();
    while (QFontMetrics(fitted).horizontalAdvance(text) > width &&
           fitted.pointSizeF() - kCaptionShrink >= kSmallestCaption)
        fitted.setPointSizeF(fitted.pointSizeF() - kCaptionShrink);
    if (label.font() != fitted)
        label.setFont(fitted);
    label.setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

void CPanelControls::PlacePanel(const QPoint& panelTopLeft, bool visible) const {
    const QPoint group = TemplateRect(IDC_GROUP_TOP).topLeft();
    for (const CPanelTemplate::Control& control : CPanelTemplate::Controls()) {
        if (!MovesWithPanel(control.nId))
            continue;
        QWidget* widget = Control(control.nId);
        if (control.kind == CPanelTemplate::KIND_STATIC) {
            const QRect room = CaptionRoom(control.nId);
            FitCaption(*static_cast<QLabel*>(widget), room.width(), m_font);
            widget->setGeometry(room.translated(panelTopLeft - group));
        } else {
            widget->setGeometry(PlaceOf(control, panelTopLeft));
        }
        widget->setVisible(visible);
    }
}

QRect CPanelControls::PanelExtent() const {
    QRect extent;
    for (const CPanelTemplate::Control& control : CPanelTemplate::Controls())
        if (MovesWithPanel(control.nId))
            extent |= PlaceOf(control, QPoint(0, 0));
    return extent;
}
