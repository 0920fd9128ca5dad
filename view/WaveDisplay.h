#pragma once
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

class CCmdUI;
class CDDSDevice;
class CMultiDDSTarnDoc;
class QPainter;
class QPrinter;
class QSlider;

/// One device's oscilloscope-like waveform screen, with Arb point drawing, zoom, colours,
/// the printed report and the clipboard copy.
class CWaveDisplay : public QWidget {
    Q_OBJECT
public:
    /// What the report prints from the control panel, read at print time.
    struct ReportFields {
        QString strFrequency; ///< Frequency field text as shown.
        double dAmplitude = 0.0;
        double dOffset = 0.0;
        QString strCounter; ///< Counter field text.
    };

    explicit CWaveDisplay(QWidget* parent = nullptr);
    ~CWaveDisplay() override;

    void SetDocument(CMultiDDSTarnDoc* document);
    CMultiDDSTarnDoc* GetDocument() const { return m_pDocument; }
    /// The view's zoom-position slider (range 0..1000); Zoom In reads its fraction.
    void SetSlider(QSlider* slider);
    /// Supplies the panel values for the printed report.
    void SetReportSource(std::function<ReportFields()> source);

    /// Moves the Arb zoom window to the slider fraction pos (0..1).
    void ComputeView(float pos);

    /// Display commands: Points Edit, zoom, colours, copy, print. True when handled.
    bool HandleCommand(int id);
    /// Update rule of the same commands. True when the id is the display's.
    bool UpdateCommand(CCmdUI& ui);

    /// The picture as currently shown (what the clipboard receives).
    QImage Picture() const { return m_image; }
    /// Draws the one-page report on a printer already begun by the caller's painter.
    void PrintReport(QPainter& painter, QPrinter& printer);

    QColor m_crBack{30, 0, 50};
    QColor m_crCurve{255, 255, 0};
    QColor m_crGrid{100, 100, 100};
    QColor m_crCursor{6, 255, 255};
    int m_nCursorIndex = 0;
    QRect m_rcPlot;                   ///< Plot area of the last draw: client inset by 10.
    QString m_strAtPoint{"At Point"}; ///< Cursor readout label.
    int m_bDragging = 0;              ///< Left button held after a press inside the plot.
    int m_nLastDragIndex = 0;         ///< Point reached by the previous drawing step.

signals:
    /// Points were drawn with the mouse (the view refreshes its fields).
    void PointsEdited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CDDSDevice* Device() const;
    bool IsArb() const;
    void ChooseColor(QColor& color);
    void ZoomIn();
    void ZoomOut();
    void RunPointsEdit(int startIndex);
    void CopyToClipboard();
    void Print(bool withDialog);
    void PrintPreview();

    CMultiDDSTarnDoc* m_pDocument = nullptr;
    QSlider* m_pSlider = nullptr;
    std::function<ReportFields()> m_reportSource;
    QImage m_image; ///< Off-screen picture, rebuilt at the first paint after a resize.
};
