// The printed report (page mapping, layout, texts, picture) and the clipboard copy.
#include "DisplayTestSupport.h"

#include "view/ReportPrinter.h"
#include "view/WaveDisplay.h"

#include <QClipboard>
#include <QPainter>
#include <QtTest>

namespace {

CReportPrinter::Inputs MakeInputs() {
    CReportPrinter::Inputs inputs;
    inputs.fields.strFrequency = QStringLiteral("1000.000");
    inputs.fields.dAmplitude = 2.0;
    inputs.fields.dOffset = -0.5;
    inputs.fields.strCounter = QStringLiteral("00000000042");
    inputs.strFileName = QStringLiteral("CSV File Empty");
    inputs.text = [](int id) { return QString::fromUtf8(EnglishTexts().GetText(id).c_str()); };
    return inputs;
}

const QRect kPage(QPoint(0, 0), QPoint(850, 1202));

} // namespace

class DisplayReport : public QObject {
    Q_OBJECT

private slots:
    void pageOf850By1202SquareUnitsIsLaidOutAsDescribed() {
        const CReportPrinter::Layout layout =
            CReportPrinter::ComputeLayout(kPage, 50, 30, 20, QSize(70, 30));
        // The four frames, inset symmetrically.
        for (const auto& [k, left, top] :
             {std::tuple(0, 34, 48), {1, 42, 60}, {2, 44, 62}, {3, 45, 63}})
            QCOMPARE(layout.rcFrames[k], QRect(QPoint(left, top), QPoint(850 - left, 1202 - top)));
        QCOMPARE(layout.rcBox, QRect(QPoint(63, 172), QPoint(850 - 63, 773)));
        const QList<int> placed{layout.nTitleY,        layout.ptCaption.x(),  layout.ptCaption.y(),
                                layout.ptDateLine.x(), layout.ptDateLine.y(), layout.nRow1,
                                layout.nRow2,          layout.ptNote.x(),     layout.ptNote.y(),
                                layout.nNoteLineLeft,  layout.nNoteLineRight, layout.nNoteLinesY[0],
                                layout.nNoteLinesY[3]};
        QCOMPARE(placed,
                 (QList<int>{72, 595, 122, 63, 152, 833, 873, 85, 913, 155, 765, 943, 1033}));

        // 600 dpi: viewport extent 6800 x 6800 device pixels, shrunk to the 850 x 1202 shape.
        const CReportPrinter::Mapping mapping =
            CReportPrinter::MapPage(QRect(0, 0, 4808, 6800), 600, 600);
        QCOMPARE(mapping.dScale, 6800.0 / 1202.0);
        QCOMPARE(mapping.rcViewport, QRect(0, 0, 4808, 6800));
        QCOMPARE(mapping.rcPage.bottomRight(), QPoint(849, 1202));
        // A wider than tall resolution keeps the shape of the units.
        QCOMPARE(CReportPrinter::MapPage(QRect(0, 0, 1000, 1000), 150, 75).dScale, 850.0 / 1202.0);
    }

    void sinePageStillPrintsTheStatusTexts() {
        auto device = MakeDevice(WAVE_SINE);
        device->m_wDigitalOut = 0x5A5;
        device->m_wDigitalIn = 0b101010;
        device->m_nMeasureMode = 0;
        CRecordingDevice recorder;
        {
            QPainter painter(&recorder);
            CReportPrinter::Draw(painter, kPage, *device, MakeInputs());
        }
        const QStringList& texts = recorder.m_engine.texts;
        for (const char* expected :
             {"GENERATOR REPORT", "DDS-Tarn USB", "CSV File Empty", "Dout:5a5H   Din:2aH",
              "1000 Points per Period", "Output Amplitude=2.000V", "Output Frequency=1000.000Hz",
              "Y Offset=-0.500V", "Counter Measure = 00000000042", "Note:"})
            QVERIFY2(texts.contains(QString::fromUtf8(expected)), expected);
        // The title is centred on the page.
        const int title = int(texts.indexOf("GENERATOR REPORT"));
        const QPointF at = recorder.m_engine.positions[title];
        const QFont titleFont = CReportPrinter::MakeFont(50, 700, true);
        const double width = QFontMetricsF(titleFont).horizontalAdvance("GENERATOR REPORT");
        QVERIFY(std::fabs(at.x() + width / 2 - 425) < 2);
    }

    void printedWaveformIsBlackOnWhite() {
        auto device = MakeArbDevice(1000, 1.75f);
        QImage image(851, 1203, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            CReportPrinter::Draw(painter, kPage, *device, MakeInputs());
        }
        const QRect box(QPoint(63, 172), QPoint(787, 773)); // as the layout test places it
        // Frame lines, white box, black curve at +1.75 V, a solid black zoom bar.
        const int cx = box.left() + (box.right() - box.left()) / 2;
        const int y = box.top() + (box.bottom() - box.top()) / 2 - (box.bottom() - box.top()) / 4;
        QCOMPARE(Mismatches(image, Qt::black, {{34, 600}, {cx - 50, box.top() + 10}}), QString());
        QCOMPARE(Mismatches(image, Qt::white, {{38, 600}, {box.left() + 201, y + 20}}), QString());
        QVERIFY(IsColor(image, box.left() + 200, y, Qt::black) ||
                IsColor(image, box.left() + 200, y - 1, Qt::black));
        // Nothing of the screen colours.
        QCOMPARE(CountOutside(image, QRect(), QColor(30, 0, 50)) +
                     CountOutside(image, QRect(), QColor(255, 255, 0)),
                 0);

        // Through a page mapping of twice the size the solid curve lands at twice the place.
        QImage scaled(1702, 2406, QImage::Format_RGB32);
        scaled.fill(Qt::white);
        {
            QPainter painter(&scaled);
            painter.setViewport(0, 0, 1700, 2404);
            painter.setWindow(0, 0, 850, 1202);
            CReportPrinter::Inputs noCursor = MakeInputs();
            noCursor.nCursorIndex = 2000; // its line would lie on the curve
            CReportPrinter::Draw(painter, kPage, *device, noCursor);
        }
        const QRect band(QPoint(2 * (box.left() + 100), 2 * y - 4),
                         QPoint(2 * (box.left() + 150), 2 * y + 4));
        QVERIFY(CountOutside(scaled.copy(band), QRect(), Qt::black) > 250);
    }

    void clipboardReceivesThePictureAsShown() {
        auto device = MakeArbDevice(1000);
        CWaveDisplay display;
        display.SetDevice(device.get());
        display.resize(260, 180);
        display.move(100, 100);
        display.show();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        QCOMPARE(display.Render().size(), QSize(260, 180));
        display.resize(300, 200); // the picture is rebuilt at the new size
        QCOMPARE(display.Render().size(), QSize(300, 200));
        // Partly off the left edge of the screen: only the visible part is copied.
        display.move(-120, 100);
        QTRY_VERIFY(display.mapToGlobal(QPoint(0, 0)).x() < 0);
        const int hidden = -display.mapToGlobal(QPoint(0, 0)).x();
        display.CopyToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 display.Picture().copy(hidden, 0, 300 - hidden, 200));
    }
};

QTEST_MAIN(DisplayReport)
#include "DisplayReport.moc"
