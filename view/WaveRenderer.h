#pragma once
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

class CDDSDevice;
class QPainter;

/// The one drawing routine of the waveform picture (screen and printed report) and the geometry
/// it follows. Rectangles hold edge coordinates: right() and bottom() are the edge lines of the
/// drawing rules, so a client area of 120 x 100 pixels is QRect(QPoint(0, 0), QPoint(120, 100)).
class CWaveRenderer {
public:
    /// Colours and the differences between the screen picture and the printed one.
    struct Scheme {
        QColor crBack{30, 0, 50};
        QColor crCurve{255, 255, 0};
        QColor crGrid{100, 100, 100};
        QColor crCursor{6, 255, 255};
        /// Printed: the plot is the rectangle itself (no inset, no frame), the zoom bar is a
        /// solid strip, the status texts appear for every wave type in lower-case hexadecimal,
        /// and no re-entrancy guard applies.
        bool bPrinted = false;
        static Scheme Printed();
    };

    /// What the picture shows besides the device record.
    struct Options {
        Scheme scheme;
        QString strFileName;
        QString strAtPoint{"At Point"};
        QFont font;
    };

    /// Draws the picture of `device` into `rect`. Writes the Arb pixels-per-point into the
    /// record and resets an out-of-table cursor index to 0. Returns the plot rectangle, or an
    /// empty one when a screen draw was already running and this one returned at once.
    static QRect Draw(QPainter& painter, const QRect& rect, CDDSDevice& device, int& cursorIndex,
                      const Options& options);

    // Geometry, shared by the paint, the point editor and the tests.
    static QRect PlotRect(const QRect& client);             ///< Client inset by 10 on every side.
    static std::vector<int> GridRows(const QRect& plot);    ///< Nine dotted horizontal lines.
    static std::vector<int> GridColumns(const QRect& plot); ///< Eleven dotted vertical lines.
    static std::vector<int> TickRows(const QRect& plot);    ///< 40 ticks on the vertical axis.
    static std::vector<int> TickColumns(const QRect& plot); ///< 50 ticks on the horizontal axis.
    static int TickHalfWidth(const QRect& plot);  ///< Half length of the vertical axis' ticks.
    static int TickHalfHeight(const QRect& plot); ///< Half length of the horizontal axis' ticks.
    /// Row of a normalised sample (1.0 = 3.5 V), limited to the plot.
    static int SampleToY(double sample, const QRect& plot);
    /// Row of an Arb point in volts (+3.5 V top, -3.5 V bottom), limited to the plot.
    static int VoltToY(float volts, const QRect& plot);
    /// Horizontal scale of the Arb curve for the zoom window first..last.
    static float PixelsPerPoint(const QRect& plot, int first, int last);
    static int PointToX(int index, int first, float pixelsPerPoint, const QRect& plot);
    /// Outer frame of the zoom-position bar, as filled (edge coordinates, right/bottom excluded).
    static QRect ZoomBarOuter(const QRect& plot);
    /// Thumb of the zoom-position bar for the window first..last of `points` points.
    static QRect ZoomBarThumb(const QRect& plot, int first, int last, int points);

    static QString DigitalText(std::uint16_t digitalOut, std::uint16_t digitalIn, bool printed);
    static QString PointsText(int points, int periods);
    static QString CursorText(float volts, const QString& atPoint, int index);
};
