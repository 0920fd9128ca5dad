#include "view/PointEditor.h"

#include "engine/DDSDevice.h"

#include <algorithm>

namespace {
constexpr double kFullScale = 3.5;

bool IsArb(const CDDSDevice& device) {
    return device.m_nWaveType == WAVE_ARB;
}
} // namespace

int CPointEditor::PixelToIndex(int x, const QRect& plot, const CDDSDevice& device) {
    const float pixelsPerPoint = device.m_fPixelsPerPoint;
    int i = device.m_nViewFirst;
    if (pixelsPerPoint > 0.0f)
        i = static_cast<int>((x - plot.left()) / pixelsPerPoint + device.m_nViewFirst + 0.5);
    i = std::min<int>(i, device.m_nViewLast);
    return std::clamp(i, 0, kMaxPoints - 1);
}

float CPointEditor::PixelToVolt(int y, const QRect& plot) {
    const int top = plot.top();
    const int bottom = plot.bottom();
    if (bottom <= top)
        return 0.0f;
    y = std::clamp(y, top, bottom);
    const int doubledOffset = 2 * (y - top);
    return static_cast<float>(kFullScale - doubledOffset * kFullScale / (bottom - top));
}

void CPointEditor::FillLine(CDDSDevice& device, int from, int to) {
    auto& arb = device.m_fArb;
    const double anchor = arb[from];
    if (to > from) {
        const double step = (arb[to] - anchor) / (to - from);
        for (int k = from + 1; k <= to; ++k)
            arb[k] = static_cast<float>(anchor + (k - from) * step);
    } else if (to < from) {
        const double step = (anchor - arb[to]) / (from - to);
        for (int k = to; k <= from - 1; ++k)
            arb[k] = static_cast<float>(anchor + (k - from) * step);
    }
}

bool CPointEditor::Move(CDDSDevice& device, const QRect& plot, QPoint pos, bool dragging,
                        int& lastDragIndex, int& cursorIndex) {
    if (!IsArb(device) || pos.x() < plot.left() || pos.x() > plot.right())
        return false;
    const int i = PixelToIndex(pos.x(), plot, device);
    cursorIndex = i;
    if (!dragging)
        return false;
    device.m_fArb[i] = PixelToVolt(pos.y(), plot);
    FillLine(device, std::clamp(lastDragIndex, 0, kMaxPoints - 1), i);
    lastDragIndex = i;
    return true;
}

bool CPointEditor::Press(const CDDSDevice& device, const QRect& plot, QPoint pos,
                         int& lastDragIndex, int& cursorIndex) {
    if (!IsArb(device) || !plot.contains(pos))
        return false;
    lastDragIndex = PixelToIndex(pos.x(), plot, device);
    cursorIndex = lastDragIndex;
    return true;
}
