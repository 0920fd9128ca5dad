#pragma once
#include <QDateTime>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

class CDDSDevice;
class QPaintDevice;
class QPainter;
class QPrinter;

/// The one-page generator report: framed page, title, caption, date line, the waveform in black
/// on white, the output values, the measurement and ruled lines for notes. Pages are laid out in
/// logical units: the page mapping fits an 850 x 1202 window, 75 units per inch before the
/// isotropic fit, onto the printer.
class CReportPrinter {
public:
    /// Panel values printed on the report, read when the page is drawn.
    struct Fields {
        QString strFrequency; ///< Frequency field text as shown.
        double dAmplitude = 0.0;
        double dOffset = 0.0;
        QString strCounter; ///< Counter field text.
        /// The frequency the unit plays, printed below the notes; empty prints nothing.
        QString strPlayed;
    };

    /// Everything a page shows besides the device record.
    struct Inputs {
        Fields fields;
        QString strFileName;
        int nCursorIndex = 0;
        std::function<QString(int)> text; ///< Language text by id.
        QDateTime now = QDateTime::currentDateTime();
    };

    /// Logical page of the mapping: window extent 850 x 1202; viewport extent
    /// (850 dpiX / 75, 850 dpiY / 75) device pixels, shrunk on one axis to keep units square.
    struct Mapping {
        double dScale = 1.0; ///< Device pixels per logical unit.
        QRect rcViewport;    ///< Device pixels of the 850 x 1202 window.
        QRect rcPage;        ///< The printable area in logical units (W x H).
    };
    static Mapping MapPage(const QRect& printablePixels, int dpiX, int dpiY);

    /// Positions of the page elements (logical units), for text heights t1 (title font),
    /// t2 (caption font), t3 (text font) and the size of the "Note:" text.
    struct Layout {
        QRect rcFrames[4]; ///< Edge coordinates, outermost first.
        int nTitleY = 0;
        QPoint ptCaption;
        QPoint ptDateLine;
        QRect rcBox; ///< Waveform box, edge coordinates.
        int nColumn1 = 0;
        int nColumn2 = 0;
        int nRow1 = 0;
        int nRow2 = 0;
        QPoint ptNote;
        int nNoteLineLeft = 0; ///< Start of the first notes line (after "Note:").
        int nNoteLineRight = 0;
        int nNoteLinesY[4] = {};
        int nNoteLinesLeft = 0; ///< Start of the three further lines.
        QPoint ptPlayed;        ///< The played frequency, one text line below the notes.
    };
    static Layout ComputeLayout(const QRect& page, int t1, int t2, int t3, QSize noteSize);

    /// Draws the page into `page` (logical units of the painter).
    static void Draw(QPainter& painter, const QRect& page, CDDSDevice& device,
                     const Inputs& inputs);
    /// Begins a painter on the printer, applies the page mapping and draws the page.
    static bool Print(QPrinter& printer, CDDSDevice& device, const Inputs& inputs);

    /// The two value rows: amplitude, frequency, offset and measurement, in drawing order.
    static QStringList ValueTexts(const Inputs& inputs, int measureMode);
    /// "Played Frequency=...Hz  (...ppm)" for the tooltip of the frequency field and the report.
    static QString PlayedLine(const QString& label, double hz, double ppm);
    static QString DateLine(const QString& dateLabel, const QString& timeLabel,
                            const QDateTime& when);
    /// A font whose text height (ascent + descent) is `height` logical units.
    static QFont MakeFont(int height, int weight, bool italic);
};
