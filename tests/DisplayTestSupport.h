#pragma once
#include "engine/DDSDevice.h"
#include "i18n/LanguageManager.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

/// A device record with an empty command queue, showing `type`.
inline std::unique_ptr<CDDSDevice> MakeDevice(int type) {
    auto device = std::make_unique<CDDSDevice>();
    while (device->TakeCommand() != 0) {
    }
    device->m_nWaveType = type;
    return device;
}

/// An Arb record of `points` points per period, every point at `volts`, full view at level 0.
inline std::unique_ptr<CDDSDevice> MakeArbDevice(int points, float volts = 0.0f) {
    auto device = MakeDevice(WAVE_ARB);
    device->m_nPointsPerPeriod = points;
    device->m_nViewLast = points - 1;
    for (int i = 0; i < kMaxPoints; ++i)
        device->m_fArb[i] = volts;
    return device;
}

/// A left-button event; moves carry no button, releases none held.
inline void Send(QWidget* widget, QEvent::Type type, QPoint pos) {
    const bool move = type == QEvent::MouseMove, release = type == QEvent::MouseButtonRelease;
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)),
                      move ? Qt::NoButton : Qt::LeftButton,
                      move || release ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

/// The downloads the record asked for since the last call; its queue is left empty.
inline int TakeDownloads(CDDSDevice& device) {
    int count = 0;
    while (const int command = device.TakeCommand())
        count += command == CMD_DOWNLOAD;
    return count;
}

/// The built-in English texts, written out and loaded once.
inline CLanguageManager& EnglishTexts() {
    static CLanguageManager language;
    [[maybe_unused]] static const bool loaded =
        (language.RefreshLanguageFiles(), language.LoadLanguage(-1), true);
    return language;
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

/// The points of the list that do not have the colour, as "x,y" texts.
inline QString Mismatches(const QImage& image, const QColor& color,
                          std::initializer_list<QPoint> points) {
    QStringList wrong;
    for (const QPoint& p : points)
        if (!IsColor(image, p.x(), p.y(), color))
            wrong << QString("%1,%2").arg(p.x()).arg(p.y());
    return wrong.join(' ');
}

/// An 851 x 1203 page that draws nothing and records the texts drawn on it; `onRects` runs
/// when rectangles are filled (used to start a draw inside a draw).
class CRecordingDevice : public QImage {
public:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawRects(const QRectF*, int) override {
            if (onRects)
                onRects();
        }
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            texts.append(item.text());
            positions.append(p);
        }
        Type type() const override { return QPaintEngine::User; }
        QStringList texts;
        QList<QPointF> positions;
        std::function<void()> onRects;
    };

    CRecordingDevice() : QImage(851, 1203, QImage::Format_RGB32) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    mutable Engine m_engine;
};
