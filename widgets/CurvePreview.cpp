#include "widgets/CurvePreview.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMargin = 1.1;
constexpr int kGridColumns = 10;
constexpr int kGridRows = 8;
} // namespace

CCurvePreview::CCurvePreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 120);
}

QSize CCurvePreview::sizeHint() const {
    return {480, 240};
}

void CCurvePreview::SetCurve(std::vector<float> values, double limit) {
    m_values = std::move(values);
    m_dLimit = limit > 0.0 ? limit : 1.0;
    update();
}

double CCurvePreview::Span(const std::vector<float>& values, double limit) {
    double peak = limit;
    for (float value : values)
        peak = std::max(peak, std::fabs(double(value)));
    return peak * kMargin;
}

int CCurvePreview::FirstIndex(int x, int width, int count) {
    if (width <= 0 || count <= 0)
        return 0;
    return std::clamp(static_cast<int>(static_cast<long long>(x) * count / width), 0, count - 1);
}

void CCurvePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect plot = rect().adjusted(1, 1, -2, -2);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QPen(QColor(70, 70, 70), 1, Qt::DotLine));
    for (int i = 1; i < kGridColumns; ++i) {
        const int x = plot.left() + plot.width() * i / kGridColumns;
        painter.drawLine(x, plot.top(), x, plot.bottom());
    }
    for (int i = 1; i < kGridRows; ++i) {
        const int y = plot.top() + plot.height() * i / kGridRows;
        painter.drawLine(plot.left(), y, plot.right(), y);
    }
    const double span = Span(m_values, m_dLimit);
    const auto toY = [&](double volts) {
        return plot.top() + (span - volts) / (2.0 * span) * plot.height();
    };
    painter.setPen(QPen(QColor(160, 40, 40), 1, Qt::DashLine));
    for (double limit : {m_dLimit, -m_dLimit})
        painter.drawLine(QPointF(plot.left(), toY(limit)), QPointF(plot.right(), toY(limit)));
    painter.setPen(QColor(160, 160, 160));
    painter.drawText(plot.adjusted(4, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("%1 V").arg(span, 0, 'f', 2));
    if (m_values.empty())
        return;

    // One vertical stroke per pixel column from its lowest to its highest value, joined to
    // the column before: fast for 4096 points, and a held point shows as a flat step.
    const int count = static_cast<int>(m_values.size());
    const int width = plot.width();
    double previous = m_values.front();
    for (int x = 0; x < width; ++x) {
        const int first = FirstIndex(x, width, count);
        const int last = std::max(first, FirstIndex(x + 1, width, count) - 1);
        double low = previous;
        double high = previous;
        for (int i = first; i <= last && i < count; ++i) {
            low = std::min(low, double(m_values[std::size_t(i)]));
            high = std::max(high, double(m_values[std::size_t(i)]));
        }
        const bool clipped = high > m_dLimit || low < -m_dLimit;
        painter.setPen(clipped ? QColor(255, 60, 60) : QColor(0, 255, 0));
        painter.drawLine(QPointF(plot.left() + x, toY(low)), QPointF(plot.left() + x, toY(high)));
        previous = m_values[std::size_t(std::min(last, count - 1))];
    }
}
