#include "view/CurveStroke.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

CCurveStroke::CCurveStroke(QPainter& painter, const QRect& clip, const QColor& color)
    : m_painter(painter), m_rcClip(clip), m_color(color) {
    if (IsDirectTarget(painter)) {
        m_pImage = static_cast<QImage*>(painter.device());
        m_low.assign(clip.width(), INT_MAX);
        m_high.assign(clip.width(), INT_MIN);
    }
}

bool CCurveStroke::IsDirectTarget(const QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image)
        return false;
    const auto* image = static_cast<const QImage*>(device);
    const bool plainFormat = image->format() == QImage::Format_RGB32 ||
                             image->format() == QImage::Format_ARGB32 ||
                             image->format() == QImage::Format_ARGB32_Premultiplied;
    // The window/viewport mapping counts too: a report page drawn into an image is scaled.
    return plainFormat && painter.combinedTransform().isIdentity() &&
           image->devicePixelRatio() == 1.0;
}

void CCurveStroke::MoveTo(int x, int y) {
    m_nX = x;
    m_nY = y;
}

void CCurveStroke::LineTo(int x, int y) {
    if (m_pImage != nullptr)
        AddSegment(m_nX, m_nY, x, y);
    else
        m_lines.emplace_back(m_nX, m_nY, x, y);
    m_nX = x;
    m_nY = y;
}

// The pen covers the pixel of the ideal line and its left and upper neighbours, so the
// 2-pixel stroke is centred on the line as the painter would centre it.
void CCurveStroke::AddColumnRun(int x, int yLow, int yHigh) {
    for (int column = x - 1; column <= x; ++column) {
        const int i = column - m_rcClip.left();
        if (i < 0 || i >= static_cast<int>(m_low.size()))
            continue;
        m_low[i] = std::min(m_low[i], yLow - 1);
        m_high[i] = std::max(m_high[i], yHigh);
        m_nDirtyFirst = m_nDirtyLast < m_nDirtyFirst ? i : std::min(m_nDirtyFirst, i);
        m_nDirtyLast = std::max(m_nDirtyLast, i);
    }
}

// Each column gets the rows the ideal line passes through within half a pixel of the column.
void CCurveStroke::AddSegment(int x0, int y0, int x1, int y1) {
    if (x1 < x0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    if (x0 == x1) {
        AddColumnRun(x0, std::min(y0, y1), std::max(y0, y1));
        return;
    }
    const double slope = static_cast<double>(y1 - y0) / (x1 - x0);
    for (int x = x0; x <= x1; ++x) {
        const double xa = std::max<double>(x0, x - 0.5);
        const double xb = std::min<double>(x1, x + 0.5);
        const double ya = y0 + (xa - x0) * slope;
        const double yb = y0 + (xb - x0) * slope;
        const int low = static_cast<int>(std::lround(std::min(ya, yb)));
        const int high = static_cast<int>(std::lround(std::max(ya, yb)));
        AddColumnRun(x, low, high);
    }
}

void CCurveStroke::Flush() {
    if (m_pImage == nullptr) {
        if (!m_lines.empty()) {
            m_painter.save();
            m_painter.setClipRect(m_rcClip);
            m_painter.setPen(QPen(m_color, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            m_painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
            m_painter.restore();
            m_lines.clear();
        }
        return;
    }
    const QRect bounds = m_rcClip & m_pImage->rect();
    const QRgb rgb = m_color.rgb();
    uchar* bits = m_pImage->bits();
    const qsizetype stride = m_pImage->bytesPerLine();
    for (int i = m_nDirtyFirst; i <= m_nDirtyLast; ++i) {
        const int x = m_rcClip.left() + i;
        if (m_low[i] <= m_high[i] && x >= bounds.left() && x <= bounds.right()) {
            const int top = std::max(m_low[i], bounds.top());
            const int bottom = std::min(m_high[i], bounds.bottom());
            uchar* p = bits + top * stride + x * static_cast<qsizetype>(sizeof(QRgb));
            for (int y = top; y <= bottom; ++y, p += stride)
                *reinterpret_cast<QRgb*>(p) = rgb;
        }
        m_low[i] = INT_MAX;
        m_high[i] = INT_MIN;
    }
    m_nDirtyFirst = 0;
    m_nDirtyLast = -1;
}
