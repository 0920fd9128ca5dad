#pragma once
#include <QWidget>

#include <vector>

/// One period of a wave in volts, drawn as a generator holds each point for its share of the
/// period, between the output's limits; the parts beyond the limits are drawn red.
class CCurvePreview : public QWidget {
    Q_OBJECT

public:
    explicit CCurvePreview(QWidget* parent = nullptr);

    /// Shows values (volts) against limits of ±limit volts.
    void SetCurve(std::vector<float> values, double limit);
    const std::vector<float>& Curve() const { return m_values; }

    /// Half the height the plot spans, in volts: the limit, or the largest value past it,
    /// with a margin.
    static double Span(const std::vector<float>& values, double limit);
    /// The table index column x of a plot width pixels wide shows (first of the range).
    static int FirstIndex(int x, int width, int count);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<float> m_values;
    double m_dLimit = 1.0;
};
