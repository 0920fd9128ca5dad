// The waveform picture: frame, grid, colours, curve limits, cursor, zoom bar, texts, zoom window.
#include "DisplayTestSupport.h"

#include "view/WaveDisplay.h"
#include "view/WaveRenderer.h"
#include "view/ZoomWindow.h"

#include <QPainter>
#include <QtTest>

#include <utility>

namespace {

const QColor kBack(30, 0, 50);
const QColor kCurve(255, 255, 0);
const QColor kGrid(100, 100, 100);
const QColor kCursor(6, 255, 255);

QRect Client(int width, int height) {
    return QRect(QPoint(0, 0), QPoint(width, height));
}

QImage Render(CDDSDevice& device, int width, int height, int* cursor = nullptr,
              QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    QPainter painter(&image);
    CWaveRenderer::Options options;
    options.strFileName = QStringLiteral("wave.csv");
    int none = 0;
    CWaveRenderer::Draw(painter, Client(width, height), device, cursor ? *cursor : none, options);
    return image;
}

} // namespace

class DisplayDrawing : public QObject {
    Q_OBJECT

private slots:
    void pictureShowsFrameGridAndBackground() {
        auto device = MakeDevice(WAVE_SINE);
        device->m_fAmplitude = 0.0f; // flat curve on the centre row, away from the probes
        const QImage image = Render(*device, 120, 100);
        // Sunken frame: light grey top and left, white right and bottom, 8 pixels deep; at the
        // bevel the right edge wins below row 0.
        QCOMPARE(Mismatches(image, QColor(192, 192, 192), {{0, 0}, {7, 50}, {50, 7}}), QString());
        QCOMPARE(Mismatches(image, Qt::white, {{119, 50}, {113, 50}, {50, 99}, {119, 1}}),
                 QString());
        // Dotted grid: every other pixel along a line, nothing between lines, the bottom line on
        // the plot edge; axis ticks of +-1 pixel: columns 59 and 60 on the vertical axis.
        QCOMPARE(Mismatches(image, kGrid, {{14, 20}, {20, 14}, {108, 90}, {59, 22}}), QString());
        // The flat curve, 2 pixels high on the centre row.
        QCOMPARE(Mismatches(image, kCurve, {{30, 49}, {30, 50}}), QString());
        QCOMPARE(Mismatches(image, kBack,
                            {{8, 50}, {111, 50}, {15, 20}, {20, 15}, {15, 25}, {61, 22}, {30, 51}}),
                 QString());
        // No text on the screen for analytic waves.
        QCOMPARE(CountOutside(image, QRect(QPoint(0, 45), QPoint(120, 55)), kCurve), 0);
    }

    void curveBeyondFullScaleStaysOnThePlotAndNoiseFillsIt() {
        auto sine = MakeDevice(WAVE_SINE);
        sine->m_fAmplitude = 3.5f;
        sine->m_dOffset = 7.0; // samples up to 3.0
        const QRect plot = CWaveRenderer::PlotRect(Client(700, 420));
        QImage image = Render(*sine, 700, 420);
        QCOMPARE(CountOutside(image, plot, kCurve), 0);
        QVERIFY(IsColor(image, 200, plot.top(), kCurve) || IsColor(image, 201, plot.top(), kCurve));
        const QList<int> ends{
            CWaveRenderer::SampleToY(3.0, plot), CWaveRenderer::SampleToY(-3.0, plot),
            CWaveRenderer::SampleToY(std::nan(""), plot), CWaveRenderer::VoltToY(3.5f, plot),
            CWaveRenderer::VoltToY(-3.5f, plot)};
        QCOMPARE(ends,
                 (QList<int>{plot.top(), plot.bottom(), plot.top(), plot.top(), plot.bottom()}));

        auto arb = MakeArbDevice(1000);
        for (int i = 0; i < 1000; ++i)
            arb->m_fArb[i] = i % 2 == 0 ? 10.0f : -10.0f;
        image = Render(*arb, 700, 420);
        QCOMPARE(CountOutside(image, plot, kCurve), 0);

        // Noise strokes every column.
        image = Render(*MakeDevice(WAVE_WHITE_NOISE), 700, 420);
        for (int x = plot.left(); x < plot.right(); ++x)
            QVERIFY2(CountOutside(image.copy(x, plot.top(), 1, plot.height()), {}, kCurve) > 0,
                     qPrintable(QString("column %1 has no curve").arg(x)));
    }

    // The direct stroke must put its pixels where the painter's 2-pixel pen would.
    void directStrokeFollowsThePainterStroke() {
        auto device = MakeDevice(WAVE_SINE);
        device->m_fAmplitude = 3.0f;
        const QImage direct = Render(*device, 400, 300);
        const QImage painted = Render(*device, 400, 300, nullptr, QImage::Format_RGB888)
                                   .convertToFormat(QImage::Format_RGB32);
        auto near = [](const QImage& image, int x, int y) {
            return CountOutside(image.copy(x - 1, y - 1, 3, 3), {}, kCurve) > 0;
        };
        int curvePixels = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) {
                const QString at = QString("%1,%2").arg(x).arg(y);
                curvePixels += IsColor(direct, x, y, kCurve);
                QVERIFY2(!IsColor(direct, x, y, kCurve) || near(painted, x, y), qPrintable(at));
                QVERIFY2(!IsColor(painted, x, y, kCurve) || near(direct, x, y), qPrintable(at));
            }
        QVERIFY(curvePixels > 2 * 380);
    }

    void cursorLinesCrossThePlotAtThePoint() {
        auto arb = MakeArbDevice(1001);
        for (int i = 0; i < 1001; ++i)
            arb->m_fArb[i] = -3.5f + 7.0f * static_cast<float>(i) / 1000.0f; // rising ramp
        int cursor = 300;
        const QImage image = Render(*arb, 1020, 420, &cursor);
        const QRect plot = CWaveRenderer::PlotRect(Client(1020, 420));
        // Point 300 at one pixel per point; the plot spans 10..1010 x 10..410.
        const int x = 310, y = CWaveRenderer::VoltToY(arb->m_fArb[300], plot);
        QCOMPARE(Mismatches(image, kCursor, {{x, 50}, {x, 409}, {15, y}, {1009, y}}), QString());
        QVERIFY(!IsColor(image, x + 1, 50, kCursor));

        // Outside the zoom window the cursor is not drawn; beyond the period it stays, undrawn;
        // outside the table it returns to 0.
        arb->m_nViewFirst = 500;
        arb->m_nViewLast = 1000;
        QCOMPARE(CountOutside(Render(*arb, 1020, 420, &cursor), QRect(), kCursor), 0);
        arb->m_nViewFirst = 0;
        cursor = 2000;
        const QImage beyond = Render(*arb, 1020, 420, &cursor);
        QCOMPARE(std::pair(CountOutside(beyond, QRect(), kCursor), cursor), std::pair(0, 2000));
        cursor = 5000;
        Render(*arb, 1020, 420, &cursor);
        QCOMPARE(cursor, 0);
    }

    // Arb shows a zoom bar whose thumb ends one pixel inside the bar at the table's end, and its
    // texts in the curve colour.
    void arbShowsItsZoomBarAndTexts() {
        auto arb = MakeArbDevice(1000, -3.5f); // curve on the bottom edge, rows 409 and 410
        arb->m_wDigitalOut = 0x5A5;
        arb->m_nZoom = 1;
        CZoomWindow::Compute(*arb, 1.0f); // points 500 to 999
        const QRect plot = CWaveRenderer::PlotRect(Client(700, 420));
        const int cx = 350;
        QCOMPARE(CWaveRenderer::ZoomBarThumb(plot, 500, 999, 1000).right(),
                 CWaveRenderer::ZoomBarOuter(plot).right() - 1);
        // A window short of the end stops short of the bar's end.
        QVERIFY(CWaveRenderer::ZoomBarThumb(plot, 0, 500, 1000).right() < cx);

        const QImage image = Render(*arb, 700, 420);
        const int row = plot.top() + 10;
        // Thumb from cx to cx + 98 with the outer frame at cx + 99, background before it.
        QCOMPARE(
            Mismatches(image, kCurve,
                       {{cx, row}, {cx + 98, row}, {cx + 99, row}, {cx - 100, plot.top() + 5}}),
            QString());
        QVERIFY(IsColor(image, cx - 1, row, kBack));

        auto textPixels = [&](int left, int top, int right, int bottom) {
            return CountOutside(image.copy(QRect(QPoint(left, top), QPoint(right, bottom))), {},
                                kCurve);
        };
        // File name at the top left; points per period bottom left; Dout/Din right-aligned
        // 10 pixels before the plot's right edge.
        QVERIFY(std::min({textPixels(13, 13, 80, 30), textPixels(13, 392, 150, 406),
                          textPixels(450, 392, 689, 406)}) > 20);
        QCOMPARE(textPixels(plot.right() - 10, 392, 689, 406), 0);
        QVERIFY(textPixels(plot.right() - 14, 392, plot.right() - 11, 406) > 0);
    }

    // The screen keeps its last picture only while nothing it shows has moved; noise is new
    // on every frame.
    void screenFollowsEveryInputItShows() {
        auto device = MakeArbDevice(1000);
        CWaveDisplay display;
        display.resize(300, 200);
        display.SetDevice(device.get());
        using Change = std::function<void(CDDSDevice&, CWaveDisplay&)>;
        const std::pair<const char*, Change> changes[] = {
            {"point", [](CDDSDevice& d, CWaveDisplay&) { d.m_fArb[500] = 3.0f; }},
            {"zoom window", [](CDDSDevice& d, CWaveDisplay&) { d.m_nViewFirst = 400; }},
            {"points", [](CDDSDevice& d, CWaveDisplay&) { d.m_nPointsPerPeriod = 600; }},
            {"digital out", [](CDDSDevice& d, CWaveDisplay&) { d.m_wDigitalOut = 0xFFF; }},
            {"cursor", [](CDDSDevice&, CWaveDisplay& w) { w.m_nCursorIndex = 450; }},
            {"curve colour", [](CDDSDevice&, CWaveDisplay& w) { w.m_crCurve = Qt::red; }},
            {"wave type", [](CDDSDevice& d, CWaveDisplay&) { d.m_nWaveType = WAVE_SQUARE; }},
            {"duty", [](CDDSDevice& d, CWaveDisplay&) { d.m_fSquareDuty = 0.2f; }},
            {"amplitude", [](CDDSDevice& d, CWaveDisplay&) { d.m_fAmplitude = 1.0f; }},
            {"offset", [](CDDSDevice& d, CWaveDisplay&) { d.m_dOffset = 1.0; }},
            {"period number", [](CDDSDevice& d, CWaveDisplay&) { d.m_nPeriodNumber = 5; }},
            {"noise", [](CDDSDevice& d, CWaveDisplay&) { d.m_nWaveType = WAVE_WHITE_NOISE; }},
            {"noise again", [](CDDSDevice&, CWaveDisplay&) {}},
        };
        QImage last = display.grab().toImage();
        QCOMPARE(display.grab().toImage(), last);
        for (const auto& [name, change] : changes) {
            change(*device, display);
            const QImage now = display.grab().toImage();
            QVERIFY2(now != last, name);
            last = now;
        }
    }

    // A screen draw that starts while another one runs returns at once, drawing nothing.
    void nestedDrawReturnsAtOnce() {
        auto sine = MakeDevice(WAVE_SINE);
        CRecordingDevice device;
        QImage image(120, 100, QImage::Format_RGB32);
        image.fill(Qt::black);
        QRect inner(1, 1, 1, 1);
        bool nested = false;
        device.m_engine.onRects = [&] {
            if (std::exchange(nested, true))
                return;
            QPainter painter(&image);
            int cursor = 0;
            inner = CWaveRenderer::Draw(painter, Client(120, 100), *sine, cursor, {});
        };
        int cursor = 0;
        QPainter painter(&device);
        QVERIFY(!CWaveRenderer::Draw(painter, Client(200, 200), *sine, cursor, {}).isNull());
        painter.end();
        QVERIFY(inner.isNull() && IsColor(image, 50, 50, Qt::black));
        // Once the outer draw is over, draws run again; a printed draw takes no flag at all.
        nested = false;
        CWaveRenderer::Options printed;
        printed.scheme = CWaveRenderer::Scheme::Printed();
        QPainter printing(&device);
        CWaveRenderer::Draw(printing, Client(200, 200), *sine, cursor, printed);
        printing.end();
        QVERIFY(!inner.isNull());
    }
};

QTEST_MAIN(DisplayDrawing)
#include "DisplayDrawing.moc"
