#include "view/WaveRenderer.h"

#include "engine/DDSDevice.h"
#include "view/CurveStroke.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <atomic>

namespace {

constexpr int kInset = 10;
constexpr int kFrameWidth = 8;
constexpr double kVoltsToSample = 0.2857143; // 1 / 3.5 V

std::atomic<bool> s_bDrawing{false};

/// Frees the program-wide drawing flag when a screen draw ends. A printed draw neither takes
/// nor honours the flag, so a screen paint during printing still draws.
class CDrawGuard {
public:
    explicit CDrawGuard(bool bPrinted) : m_bOwner(!bPrinted && !s_bDrawing.exchange(true)) {}
    ~CDrawGuard() {
        if (m_bOwner)
            s_bDrawing = false;
    }
    CDrawGuard(const CDrawGuard&) = delete;
    CDrawGuard& operator=(const CDrawGuard&) = delete;
    bool Owner() const { return m_bOwner; }

private:
    bool m_bOwner;
};

/// Fills the half-open rectangle [left, right) x [top, bottom). On a scaled device (printer,
/// preview) a one-unit strip is stroked as a line, so that it never drops out when shrunk.
void FillEdges(QPainter& painter, int left, int top, int right, int bottom, const QColor& color) {
    if (right <= left || bottom <= top)
        return;
    const bool strip = right - left == 1 || bottom - top == 1;
    if (!strip || CCurveStroke::IsDirectTarget(painter)) {
        painter.fillRect(QRect(left, top, right - left, bottom - top), color);
        return;
    }
    painter.setPen(QPen(color, 1, Qt::SolidLine, Qt::FlatCap));
    if (right - left == 1)
        painter.drawLine(QLineF(left + 0.5, top, left + 0.5, bottom));
    else
        painter.drawLine(QLineF(left, top + 0.5, right, top + 0.5));
}

/// Dotted line, one pixel on and one off from its start, last pixel excluded.
void DottedLine(QPainter& painter, QPoint from, QPoint to, const QColor& color) {
    if (!CCurveStroke::IsDirectTarget(painter)) {
        painter.setPen(QPen(color, 1, Qt::DotLine, Qt::FlatCap));
        painter.drawLine(from, to);
        return;
    }
    auto* image = static_cast<QImage*>(painter.device());
    const QRgb rgb = color.rgb();
    const int dx = to.x() > from.x() ? 1 : 0;
    const int dy = to.y() > from.y() ? 1 : 0;
    const int length = std::max(to.x() - from.x(), to.y() - from.y());
    const QRect bounds = image->rect();
    for (int k = 0; k < length; k += 2) {
        const QPoint p(from.x() + k * dx, from.y() + k * dy);
        if (bounds.contains(p))
            reinterpret_cast<QRgb*>(image->scanLine(p.y()))[p.x()] = rgb;
    }
}

void DrawText(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QRect(x, y, 100000, 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     text);
}

void DrawSunkenFrame(QPainter& painter, const QRect& r) {
    const QColor white(255, 255, 255);
    const QColor grey(192, 192, 192);
    for (int i = 0; i < kFrameWidth; ++i) {
        FillEdges(painter, r.right() - i, r.top() + i, r.right() - i + 1, r.bottom(), white);
        FillEdges(painter, r.left() + i, r.bottom() - i, r.right(), r.bottom() - i + 1, white);
        FillEdges(painter, r.left(), r.top() + i, r.right() - i, r.top() + i + 1, grey);
        FillEdges(painter, r.left() + i, r.top(), r.left() + i + 1, r.bottom() - i, grey);
    }
}

void DrawGrid(QPainter& painter, const QRect& p, const QColor& color) {
    for (int y : CWaveRenderer::GridRows(p))
        DottedLine(painter, QPoint(p.left(), y), QPoint(p.right(), y), color);
    for (int x : CWaveRenderer::GridColumns(p))
        DottedLine(painter, QPoint(x, p.top()), QPoint(x, p.bottom()), color);
    const int cx = (p.left() + p.right()) / 2;
    const int cy = (p.top() + p.bottom()) / 2;
    const int t = CWaveRenderer::TickHalfWidth(p);
    const int u = CWaveRenderer::TickHalfHeight(p);
    for (int y : CWaveRenderer::TickRows(p))
        FillEdges(painter, cx - t, y, cx + t, y + 1, color);
    for (int x : CWaveRenderer::TickColumns(p))
        FillEdges(painter, x, cy - u, x + 1, cy + u, color);
}

void DrawAnalyticCurve(QPainter& painter, const QRect& p, const CDDSDevice& device,
                       const QColor& color) {
    const int w = p.right() - p.left();
    CCurveStroke stroke(painter, p, color);
    for (int i = 0; i < w; ++i) {
        const double v = device.SampleAt(static_cast<double>(i) / w, true);
        const int y = CWaveRenderer::SampleToY(v, p);
        if (i == 0)
            stroke.MoveTo(p.left(), y);
        else
            stroke.LineTo(p.left() + i, y);
    }
    stroke.Flush();
}

void DrawArbCurve(QPainter& painter, const QRect& p, CDDSDevice& device, int& cursorIndex,
                  const CWaveRenderer::Options& options) {
    const int first = std::clamp<int>(device.m_nViewFirst, 0, kMaxPoints - 1);
    const int last = std::clamp<int>(device.m_nViewLast, first, kMaxPoints - 1);
    const float pixelsPerPoint = CWaveRenderer::PixelsPerPoint(p, first, last);
    device.m_fPixelsPerPoint = pixelsPerPoint;
    // Only an index outside the whole table is reset; one beyond a shortened period stays
    // where it is and is simply not drawn, like any cursor outside the zoom window.
    if (cursorIndex < 0 || cursorIndex >= kMaxPoints)
        cursorIndex = 0;

    const CWaveRenderer::Scheme& scheme = options.scheme;
    CCurveStroke stroke(painter, p, scheme.crCurve);
    for (int j = first; j <= last; ++j) {
        const float volts = device.m_fArb[j];
        const int x = CWaveRenderer::PointToX(j, first, pixelsPerPoint, p);
        const int y = CWaveRenderer::VoltToY(volts, p);
        if (j == first)
            stroke.MoveTo(x, y);
        else
            stroke.LineTo(x, y);
        if (j == cursorIndex) {
            // Later segments are drawn over the cursor lines.
            stroke.Flush();
            painter.setPen(scheme.crCurve);
            DrawText(painter, p.right() - 140, p.top() + 3,
                     CWaveRenderer::CursorText(volts, options.strAtPoint, cursorIndex));
            FillEdges(painter, p.left(), y, p.right(), y + 1, scheme.crCursor);
            FillEdges(painter, x, p.top(), x + 1, p.bottom(), scheme.crCursor);
        }
    }
    stroke.Flush();
}

void DrawZoomBar(QPainter& painter, const QRect& p, const CDDSDevice& device,
                 const CWaveRenderer::Scheme& scheme) {
    const QRect outer = CWaveRenderer::ZoomBarOuter(p);
    painter.fillRect(outer, scheme.crCurve);
    painter.fillRect(outer.adjusted(1, 1, -1, -1),
                     scheme.bPrinted ? scheme.crCurve : scheme.crBack);
    painter.fillRect(CWaveRenderer::ZoomBarThumb(p, device.m_nViewFirst, device.m_nViewLast,
                                                 device.m_nPointsPerPeriod),
                     scheme.crCurve);
}

void DrawStatusTexts(QPainter& painter, const QRect& p, const CDDSDevice& device,
                     const CWaveRenderer::Options& options) {
    const bool printed = options.scheme.bPrinted;
    painter.setPen(options.scheme.crCurve);
    DrawText(painter, p.left() + 3, p.top() + 3, options.strFileName);
    const QString digital =
        CWaveRenderer::DigitalText(device.m_wDigitalOut, device.m_wDigitalIn, printed);
    const int width = QFontMetrics(painter.font(), painter.device()).horizontalAdvance(digital);
    DrawText(painter, p.right() - width - 10, p.bottom() - 18, digital);
    DrawText(painter, p.left() + 3, p.bottom() - 18,
             CWaveRenderer::PointsText(device.m_nPoints, device.m_nPeriods));
}

} // namespace

using Scheme = CWaveRenderer::Scheme;

Scheme CWaveRenderer::Scheme::Printed() {
    Scheme scheme;
    scheme.crBack = Qt::white;
    scheme.crCurve = Qt::black;
    scheme.crGrid = Qt::black;
    scheme.crCursor = Qt::black;
    scheme.bPrinted = true;
    return scheme;
}

QRect CWaveRenderer::Draw(QPainter& painter, const QRect& rect, CDDSDevice& device,
                          int& cursorIndex, const Options& options) {
    const Scheme& scheme = options.scheme;
    CDrawGuard guard(scheme.bPrinted);
    if (!scheme.bPrinted && !guard.Owner())
        return {};
    const QRect p = scheme.bPrinted ? rect : PlotRect(rect);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    QFont font = options.font;
    if (!scheme.bPrinted)
        font.setStyleStrategy(QFont::NoAntialias); // texts in the exact curve colour
    painter.setFont(font);
    FillEdges(painter, rect.left(), rect.top(), rect.right(), rect.bottom(), scheme.crBack);
    if (!scheme.bPrinted)
        DrawSunkenFrame(painter, rect);
    DrawGrid(painter, p, scheme.crGrid);

    const bool arb = device.m_nWaveType == WAVE_ARB;
    if (arb) {
        DrawArbCurve(painter, p, device, cursorIndex, options);
        DrawZoomBar(painter, p, device, scheme);
    } else {
        DrawAnalyticCurve(painter, p, device, scheme.crCurve);
    }
    if (arb || scheme.bPrinted)
        DrawStatusTexts(painter, p, device, options);
    painter.restore();
    return p;
}

QRect CWaveRenderer::PlotRect(const QRect& client) {
    return QRect(QPoint(client.left() + kInset, client.top() + kInset),
                 QPoint(client.right() - kInset, client.bottom() - kInset));
}

std::vector<int> CWaveRenderer::GridRows(const QRect& plot) {
    const double dy = (plot.bottom() - plot.top()) * 0.125;
    std::vector<int> rows;
    for (int k = 0; k <= 8; ++k)
        rows.push_back(static_cast<int>(plot.top() + k * dy));
    return rows;
}

std::vector<int> CWaveRenderer::GridColumns(const QRect& plot) {
    const double dx = (plot.right() - plot.left()) * 0.1;
    std::vector<int> columns;
    for (int k = 0; k <= 10; ++k)
        columns.push_back(static_cast<int>(plot.left() + k * dx));
    return columns;
}

std::vector<int> CWaveRenderer::TickRows(const QRect& plot) {
    const double dy = (plot.bottom() - plot.top()) * 0.125;
    std::vector<int> rows;
    for (int k = 0; k < 40; ++k)
        rows.push_back(static_cast<int>(plot.top() + k * dy * 0.2));
    return rows;
}

std::vector<int> CWaveRenderer::TickColumns(const QRect& plot) {
    const double dx = (plot.right() - plot.left()) * 0.1;
    std::vector<int> columns;
    for (int k = 0; k < 50; ++k)
        columns.push_back(static_cast<int>(plot.left() + k * dx * 0.2));
    return columns;
}

int CWaveRenderer::TickHalfWidth(const QRect& plot) {
    return static_cast<int>((plot.right() - plot.left()) * 0.1 * 0.1);
}

int CWaveRenderer::TickHalfHeight(const QRect& plot) {
    return static_cast<int>((plot.bottom() - plot.top()) * 0.125 * 0.1);
}

namespace {
int LimitRow(double y, const QRect& plot) {
    // Written so that NaN lands on the top edge.
    if (!(y >= plot.top()))
        return plot.top();
    if (y > plot.bottom())
        return plot.bottom();
    return static_cast<int>(y);
}
} // namespace

int CWaveRenderer::SampleToY(double sample, const QRect& plot) {
    const int h = plot.bottom() - plot.top();
    const int cy = plot.top() + h / 2;
    return LimitRow(cy - sample * (h / 2), plot);
}

int CWaveRenderer::VoltToY(float volts, const QRect& plot) {
    const int h = plot.bottom() - plot.top();
    const int cy = plot.top() + h / 2;
    // Float product first, then the double scale: rows on a truncation boundary depend on it.
    const float scaled = static_cast<float>(h / 2) * volts;
    return LimitRow(cy - static_cast<double>(scaled) * kVoltsToSample, plot);
}

float CWaveRenderer::PixelsPerPoint(const QRect& plot, int first, int last) {
    const int w = plot.right() - plot.left();
    return static_cast<float>(w) / static_cast<float>(std::max(1, last - first));
}

int CWaveRenderer::PointToX(int index, int first, float pixelsPerPoint, const QRect& plot) {
    return static_cast<int>(static_cast<float>(index - first) * pixelsPerPoint +
                            static_cast<float>(plot.left()));
}

QRect CWaveRenderer::ZoomBarOuter(const QRect& plot) {
    const int cx = plot.left() + (plot.right() - plot.left()) / 2;
    return QRect(QPoint(cx - 100, plot.top() + 5), QPoint(cx + 99, plot.top() + 14));
}

QRect CWaveRenderer::ZoomBarThumb(const QRect& plot, int first, int last, int points) {
    const int cx = plot.left() + (plot.right() - plot.left()) / 2;
    const double n = std::max(1, points);
    const int left = static_cast<int>(first / n * 198 + cx - 99);
    int right = left + static_cast<int>((last - first + 1) / n * 198);
    if (right >= cx + 99 || last == points - 1)
        right = cx + 99;
    // Filled as the half-open rectangle left..right, rows top + 6 .. top + 14.
    return QRect(QPoint(left, plot.top() + 6), QPoint(right - 1, plot.top() + 13));
}

QString CWaveRenderer::DigitalText(std::uint16_t digitalOut, std::uint16_t digitalIn,
                                   bool printed) {
    const char* format = printed ? "Dout:%2.3xH   Din:%2.2xH" : "Dout:%.3XH   Din:%.2XH";
    return QString::asprintf(format, static_cast<unsigned>(digitalOut),
                             static_cast<unsigned>(digitalIn & 0x3F));
}

QString CWaveRenderer::PointsText(int points, int periods) {
    return QString::asprintf("%d Points per Period", periods != 0 ? points / periods : points);
}

QString CWaveRenderer::CursorText(float volts, const QString& atPoint, int index) {
    return QString::asprintf("%5.3fV %s %d", static_cast<double>(volts),
                             atPoint.toUtf8().constData(), index);
}
