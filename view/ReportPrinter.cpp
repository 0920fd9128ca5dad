#include "view/ReportPrinter.h"

#include "engine/DDSDevice.h"
#include "res/Resource.h"
#include "view/WaveRenderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWindowWidth = 850;
constexpr int kWindowHeight = 1202;
constexpr int kUnitsPerInch = 75;
constexpr double kFrameFractions[4] = {0.04, 0.05, 0.052, 0.053};
/// Height of the status texts inside the printed waveform box.
constexpr int kBoxTextHeight = 16;

int Part(int extent, double fraction) {
    return static_cast<int>(extent * fraction);
}

void DrawText(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QRect(x, y, 100000, 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     text);
}

int TextHeight(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

} // namespace

CReportPrinter::Mapping CReportPrinter::MapPage(const QRect& printablePixels, int dpiX, int dpiY) {
    const int extentX = kWindowWidth * dpiX / kUnitsPerInch;
    const int extentY = kWindowWidth * dpiY / kUnitsPerInch;
    Mapping mapping;
    mapping.dScale = std::min(static_cast<double>(extentX) / kWindowWidth,
                              static_cast<double>(extentY) / kWindowHeight);
    mapping.rcViewport = QRect(0, 0, static_cast<int>(kWindowWidth * mapping.dScale),
                               static_cast<int>(kWindowHeight * mapping.dScale));
    mapping.rcPage =
        QRect(QPoint(0, 0), QPoint(static_cast<int>(printablePixels.width() / mapping.dScale),
                                   static_cast<int>(printablePixels.height() / mapping.dScale)));
    return mapping;
}

CReportPrinter::Layout CReportPrinter::ComputeLayout(const QRect& page, int t1, int t2, int t3,
                                                     QSize noteSize) {
    const int w = page.right() - page.left();
    const int h = page.bottom() - page.top();
    Layout layout;
    for (int k = 0; k < 4; ++k) {
        const double f = kFrameFractions[k];
        layout.rcFrames[k] =
            QRect(QPoint(Part(w, f), Part(h, f)), QPoint(w - Part(w, f), h - Part(h, f)));
    }
    const int y0 = Part(h, 0.06);
    layout.nTitleY = y0;
    layout.ptCaption = QPoint(Part(w, 0.7), y0 + t1);
    layout.ptDateLine = QPoint(Part(w, 0.075), y0 + t1 + t2);
    const int y1 = y0 + t1 + t2 + t3;
    layout.rcBox = QRect(QPoint(Part(w, 0.075), y1), QPoint(w - Part(w, 0.075), y1 + Part(h, 0.5)));
    layout.nColumn1 = Part(w, 0.15);
    layout.nColumn2 = Part(w, 0.45);
    layout.nRow1 = layout.rcBox.bottom() + 3 * t3;
    layout.nRow2 = layout.nRow1 + 2 * t3;
    const int y2 = layout.nRow2 + 2 * t3;
    layout.ptNote = QPoint(Part(w, 0.1), y2);
    layout.nNoteLineLeft = Part(w, 0.1) + noteSize.width();
    layout.nNoteLineRight = Part(w, 0.9);
    layout.nNoteLinesLeft = Part(w, 0.1);
    layout.nNoteLinesY[0] = y2 + noteSize.height();
    for (int k = 1; k < 4; ++k)
        layout.nNoteLinesY[k] = layout.nNoteLinesY[k - 1] + t2;
    layout.ptPlayed = QPoint(layout.nColumn1, layout.nNoteLinesY[3] + t3);
    return layout;
}

QStringList CReportPrinter::ValueTexts(const Inputs& inputs, int measureMode) {
    const Fields& f = inputs.fields;
    auto label = [&inputs](int id) { return inputs.text(id).toUtf8(); };
    const int measure = measureMode != 0 ? IDS_FREQUENCY_MEASURE : IDS_COUNTER_MEASURE;
    return {
        QString::asprintf("%s=%.3fV", label(IDS_REPORT_AMPLITUDE).constData(), f.dAmplitude),
        QString::asprintf("%s=%sHz", label(IDS_REPORT_FREQUENCY).constData(),
                          f.strFrequency.toUtf8().constData()),
        QString::asprintf("%s=%.3fV", label(IDC_TXT_OFFSET).constData(), f.dOffset),
        inputs.text(measure) + QStringLiteral(" = ") + f.strCounter,
    };
}

QString CReportPrinter::PlayedLine(const QString& label, double hz, double ppm) {
    return QString::asprintf("%s=%.4fHz  (%+.3f ppm)", label.toUtf8().constData(), hz, ppm);
}

QString CReportPrinter::DateLine(const QString& dateLabel, const QString& timeLabel,
                                 const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    return QString::asprintf("%s : %02d.%02d.%4d    %s : %02d:%02d:%02d",
                             dateLabel.toUtf8().constData(), d.day(), d.month(), d.year(),
                             timeLabel.toUtf8().constData(), t.hour(), t.minute(), t.second());
}

QFont CReportPrinter::MakeFont(int height, int weight, bool italic) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(italic);
    font.setPixelSize(height);
    // The height asked for is the whole text cell, as the page layout counts it.
    const int cell = TextHeight(font);
    if (cell > 0 && cell != height)
        font.setPixelSize(
            std::max(1, static_cast<int>(std::lround(height * double(height) / cell))));
    return font;
}

void CReportPrinter::Draw(QPainter& painter, const QRect& page, CDDSDevice& device,
                          const Inputs& inputs) {
    const QFont titleFont = MakeFont(50, 700, true);
    const QFont captionFont = MakeFont(30, 700, true);
    const QFont textFont = MakeFont(20, 20, false);
    const int t1 = TextHeight(titleFont);
    const int t2 = TextHeight(captionFont);
    const int t3 = TextHeight(textFont);
    const QString note = inputs.text(IDS_REPORT_NOTE);
    const QFontMetrics captionMetrics(captionFont);
    const QSize noteSize(captionMetrics.horizontalAdvance(note), t2);
    const Layout layout = ComputeLayout(page, t1, t2, t3, noteSize);

    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    for (const QRect& frame : layout.rcFrames)
        painter.drawRect(QRect(frame.topLeft(),
                               QSize(frame.right() - frame.left(), frame.bottom() - frame.top())));
    painter.setBrush(Qt::NoBrush);

    painter.setFont(titleFont);
    const QString title = inputs.text(IDS_REPORT_TITLE);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title);
    DrawText(painter, (page.left() + page.right()) / 2 - titleWidth / 2, layout.nTitleY, title);

    painter.setFont(captionFont);
    DrawText(painter, layout.ptCaption.x(), layout.ptCaption.y(), QStringLiteral("DDS-Tarn USB"));

    painter.setFont(textFont);
    DrawText(painter, layout.ptDateLine.x(), layout.ptDateLine.y(),
             DateLine(inputs.text(IDS_REPORT_DATE), inputs.text(IDS_REPORT_TIME), inputs.now));

    CWaveRenderer::Options options;
    options.scheme = CWaveRenderer::Scheme::Printed();
    options.strFileName = inputs.strFileName;
    options.font = MakeFont(kBoxTextHeight, 400, false);
    int cursorIndex = inputs.nCursorIndex;
    CWaveRenderer::Draw(painter, layout.rcBox, device, cursorIndex, options);

    painter.setFont(textFont);
    painter.setPen(QPen(Qt::black, 0));
    const QStringList values = ValueTexts(inputs, device.m_nMeasureMode);
    DrawText(painter, layout.nColumn1, layout.nRow1, values[0]);
    DrawText(painter, layout.nColumn2, layout.nRow1, values[1]);
    DrawText(painter, layout.nColumn1, layout.nRow2, values[2]);
    DrawText(painter, layout.nColumn2, layout.nRow2, values[3]);
    if (!inputs.fields.strPlayed.isEmpty())
        DrawText(painter, layout.ptPlayed.x(), layout.ptPlayed.y(), inputs.fields.strPlayed);

    painter.setFont(captionFont);
    DrawText(painter, layout.ptNote.x(), layout.ptNote.y(), note);
    painter.drawLine(layout.nNoteLineLeft, layout.nNoteLinesY[0], layout.nNoteLineRight,
                     layout.nNoteLinesY[0]);
    for (int k = 1; k < 4; ++k)
        painter.drawLine(layout.nNoteLinesLeft, layout.nNoteLinesY[k], layout.nNoteLineRight,
                         layout.nNoteLinesY[k]);
    painter.restore();
}

bool CReportPrinter::Print(QPrinter& printer, CDDSDevice& device, const Inputs& inputs) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    const Mapping mapping = MapPage(printable, printer.logicalDpiX(), printer.logicalDpiY());
    painter.setViewport(mapping.rcViewport);
    painter.setWindow(0, 0, kWindowWidth, kWindowHeight);
    Draw(painter, mapping.rcPage, device, inputs);
    return painter.end();
}
