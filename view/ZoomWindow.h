#pragma once

class CDDSDevice;

/// The Arb display's zoom window over the point table: level z shows N / (z + 1) points of the
/// N points per period, never fewer than 200, positioned by the slider fraction.
class CZoomWindow {
public:
    /// Places m_nViewFirst..m_nViewLast for the slider fraction pos (0..1).
    static void Compute(CDDSDevice& device, float pos);
    /// Narrows the window by one level when more than 200 points are visible.
    static void ZoomIn(CDDSDevice& device, float pos);
    static void ZoomOut(CDDSDevice& device);
    static bool CanZoomIn(const CDDSDevice& device);
    static bool CanZoomOut(const CDDSDevice& device);
};
