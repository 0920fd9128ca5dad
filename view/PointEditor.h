#pragma once
#include <QPoint>
#include <QRect>

class CDDSDevice;

/// Drawing Arb points with the mouse: pixel-to-index and pixel-to-volt rules, and the straight
/// line that fills the points a fast movement skipped. Acts only while the wave type is Arb.
class CPointEditor {
public:
    /// Point index under column x of the plot, within the zoom window of the last draw.
    static int PixelToIndex(int x, const QRect& plot, const CDDSDevice& device);
    /// Volts of row y: +3.5 V on the top edge, -3.5 V on the bottom one, limited to the plot.
    static float PixelToVolt(int y, const QRect& plot);
    /// Sets the points between `from` (kept) and `to` on the line joining their values.
    static void FillLine(CDDSDevice& device, int from, int to);

    /// Mouse movement: the cursor follows; while dragging, the point under the mouse takes the
    /// mouse height and the gap to the previous point is filled. True when points changed.
    static bool Move(CDDSDevice& device, const QRect& plot, QPoint pos, bool dragging,
                     int& lastDragIndex, int& cursorIndex);
    /// Button press: true (dragging starts) when pos lies inside the plot, edges included.
    static bool Press(const CDDSDevice& device, const QRect& plot, QPoint pos, int& lastDragIndex,
                      int& cursorIndex);
};
