#pragma once
#include "engine/DDSDevice.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <memory>

/// A device record with an empty command queue, showing `type`.
inline std::unique_ptr<CDDSDevice> MakeDevice(int type) {
    auto device = std::make_unique<CDDSDevice>();
    while (device->TakeCommand() != 0) {
    }
    device->m_nWaveType = type;
    return device;
}

/// An Arb record of `points` points per period, every point at `volts`, full view.
inline std::unique_ptr<CDDSDevice> MakeArbDevice(int points, float volts = 0.0f) {
    auto device = MakeDevice(WAVE_ARB);
    device->m_nPointsPerPeriod = points;
    device->m_nViewFirst = 0;
    device->m_nViewLast = points - 1;
    device->m_nZoom = 0;
    device->m_fViewPos = 0.0f;
    for (int i = 0; i < kMaxPoints; ++i)
        device->m_fArb[i] = volts;
    return device;
}

inline bool IsColor(const QImage& image, int x, int y, const QColor& color) {
    return QColor(image.pixel(x, y)).rgb() == color.rgb();
}

/// Number of pixels of `color` outside `inside` (edge lines count as inside).
inline int CountOutside(const QImage& image, const QRect& inside, const QColor& color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!inside.contains(x, y) && IsColor(image, x, y, color))
                ++count;
    return count;
}
