#pragma once
#include <QColor>
#include <QLine>
#include <QRect>

#include <vector>

class QImage;
class QPainter;

/// Strokes a polyline 2 pixels wide. On a plain raster image it writes the pixels itself, one
/// vertical run per column, because the painter's stroker slows down badly on zigzag curves
/// such as noise; on any other device (printer, preview) it hands the segments to the painter.
class CCurveStroke {
public:
    /// Pixels outside `clip` (edge lines included) are not written.
    CCurveStroke(QPainter& painter, const QRect& clip, const QColor& color);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    /// Puts everything stroked so far on the device (before drawing something over the curve).
    void Flush();

    /// True when the painter's device is an image this class can write directly.
    static bool IsDirectTarget(const QPainter& painter);

private:
    void AddColumnRun(int x, int yLow, int yHigh);
    void AddSegment(int x0, int y0, int x1, int y1);

    QPainter& m_painter;
    QRect m_rcClip;
    QColor m_color;
    QImage* m_pImage = nullptr; ///< Direct target, or null.
    int m_nX = 0;
    int m_nY = 0;
    // Direct path: covered rows per column of the clip, low > high when empty.
    std::vector<int> m_low;
    std::vector<int> m_high;
    int m_nDirtyFirst = 0;
    int m_nDirtyLast = -1;
    // Painter path.
    std::vector<QLine> m_lines;
};
