#include "view/ZoomWindow.h"

#include "engine/DDSDevice.h"

#include <algorithm>

namespace {
constexpr int kFewestVisible = 200;
}

void CZoomWindow::Compute(CDDSDevice& device, float pos) {
    const int n = device.m_nPointsPerPeriod;
    int visible = n / (device.m_nZoom + 1);
    if (visible >= kFewestVisible) {
        device.m_fViewPos = pos;
    } else {
        visible = n;
        device.m_nZoom = 0;
        device.m_fViewPos = 0.0f;
    }
    const float start = static_cast<float>(n) * device.m_fViewPos;
    if (static_cast<float>(visible) + start >= static_cast<float>(n)) {
        device.m_nViewLast = n - 1;
        device.m_nViewFirst = n - visible;
    } else {
        const int first = static_cast<int>(start);
        device.m_nViewFirst = first;
        device.m_nViewLast = std::min(first + visible, n - 1);
    }
}

void CZoomWindow::ZoomIn(CDDSDevice& device, float pos) {
    Compute(device, pos);
    if (device.m_nViewLast - device.m_nViewFirst + 1 >= kFewestVisible + 1)
        device.m_nZoom = device.m_nZoom + 1;
}

void CZoomWindow::ZoomOut(CDDSDevice& device) {
    device.m_nZoom = std::max(0, device.m_nZoom - 1);
}

bool CZoomWindow::CanZoomIn(const CDDSDevice& device) {
    return device.m_nWaveType == WAVE_ARB &&
           device.m_nViewLast - device.m_nViewFirst + 1 > kFewestVisible;
}

bool CZoomWindow::CanZoomOut(const CDDSDevice& device) {
    return device.m_nWaveType == WAVE_ARB && device.m_nZoom > 0;
}
