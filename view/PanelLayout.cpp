#include "view/PanelLayout.h"

#include <algorithm>

namespace {

/// A rectangle from exclusive edges, as the layout rules are written.
QRect FromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

/// Room kept right of the panel and between the display and the panel.
constexpr int kRightMargin = 5;
constexpr int kDisplayGap = 10;
constexpr int kSliderHeight = 20;
/// The fill reaches this far left of the hide/show button.
constexpr int kFillLead = 2;
/// The narrowest display worth showing, and the room kept below the panel's lowest frame.
constexpr int kMinDisplayWidth = 120;
constexpr int kBottomMargin = 4;

} // namespace

CPanelLayout::Result CPanelLayout::Compute(const QRect& client, int panelWidth, QSize buttonSize,
                                           bool showPanel, bool arb) {
    const int left = client.left();
    const int top = client.top();
    const int right = client.left() + client.width() - kRightMargin;
    const int bottom = client.top() + client.height();

    Result result;
    const int panelLeft = showPanel ? right - panelWidth : right;
    result.rcPanel = FromEdges(panelLeft, top, right, bottom);
    const int panelW = right - panelLeft;

    const int displayRight = right - panelW - kDisplayGap;
    if (arb) {
        result.rcSlider = FromEdges(left, bottom - kSliderHeight, panelLeft - kDisplayGap, bottom);
        result.rcDisplay = FromEdges(left, top, displayRight, bottom - kSliderHeight);
        result.bSliderVisible = true;
    } else {
        result.rcDisplay = FromEdges(left, top, displayRight, bottom);
    }

    const int buttonTop = top + (bottom - top - buttonSize.height()) / 2;
    result.rcButton = QRect(QPoint(panelLeft - buttonSize.width(), buttonTop), buttonSize);
    result.rcFill =
        FromEdges(panelLeft - buttonSize.width() - kFillLead, top, right + kRightMargin, bottom);
    return result;
}

QSize CPanelLayout::MinimumClient(const QRect& panelExtent, int panelWidth, QSize buttonSize) {
    // The panel's right edge sits kRightMargin from the client's; its controls may reach past
    // the reference box on either side.
    const int rightOfPanel = std::max(0, panelExtent.right() + 1 - panelWidth);
    const int leftOfPanel = std::max(buttonSize.width(), -panelExtent.left());
    const int width = kMinDisplayWidth + kDisplayGap + leftOfPanel + panelWidth +
                      std::max(kRightMargin, rightOfPanel);
    const int height = std::max(panelExtent.bottom() + 1, 0) + kBottomMargin;
    return QSize(width, height);
}

QSize CPanelLayout::ControlSize(CPanelTemplate::Kind kind, QSize templateSize) {
    switch (kind) {
    case CPanelTemplate::KIND_KNOB:
        return QSize(82, 83);
    case CPanelTemplate::KIND_SWITCH:
        return QSize(32, 19);
    case CPanelTemplate::KIND_LED:
        return QSize(12, 12);
    case CPanelTemplate::KIND_TOGGLE:
        return QSize(29, 14);
    default:
        return templateSize;
    }
}

QRect CPanelLayout::PlaceControl(const QRect& templateRect, const QPoint& groupTemplatePos,
                                 const QPoint& panelTopLeft, QSize size) {
    return QRect(templateRect.topLeft() - groupTemplatePos + panelTopLeft, size);
}
