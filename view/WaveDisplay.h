#pragma once
#include "app/ArbHistory.h"
#include "view/ReportPrinter.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class CCmdUI;
class CDisplayInputs;
class CDDSDevice;
class CMultiDDSTarnDoc;
class QPrinter;
class QSlider;

/// One device's oscilloscope-like waveform screen, with Arb point drawing, zoom, colours,
/// the printed report and the clipboard copy.
class CWaveDisplay : public QWidget {
    Q_OBJECT
public:
    /// What the report prints from the control panel, read at print time.
    using ReportFields = CReportPrinter::Fields;

    explicit CWaveDisplay(QWidget* parent = nullptr);
    /// A text of the current language, or of the built-in English while no main frame exists.
    static QString LanguageText(int id);
    ~CWaveDisplay() override;

    void SetDocument(CMultiDDSTarnDoc* document);
    CMultiDDSTarnDoc* GetDocument() const { return m_pDocument; }
    /// Shows a device without a document (tests, benchmarks); the document's wins when set.
    void SetDevice(CDDSDevice* device) { m_pDevice = device; }
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

    /// The view's tick: asks for a frame only when what the picture shows has moved, so an
    /// idle device costs no painting.
    void RefreshIfMoved();
    /// Draws the picture now into the off-screen image and returns it.
    const QImage& Render();
    /// The picture as last painted.
    const QImage& Picture() const { return m_image; }
    /// The report's inputs as they are now.
    CReportPrinter::Inputs ReportInputs() const;
    /// Copies the visible part of the picture to the clipboard (empty when none is visible).
    void CopyToClipboard();

    QColor m_crBack{30, 0, 50};
    QColor m_crCurve{255, 255, 0};
    QColor m_crGrid{100, 100, 100};
    QColor m_crCursor{6, 255, 255};
    int m_nCursorIndex = 0;
    QRect m_rcPlot; ///< Plot area of the last draw (edge coordinates): client inset by 10.
    QString m_strAtPoint{"At Point"}; ///< Cursor readout label.
    int m_bDragging = 0;              ///< Left button held after a press inside the plot.
    int m_nLastDragIndex = 0;         ///< Point reached by the previous drawing step.

    /// Runs the modal Points Edit dialog at startIndex (tests replace it to avoid a modal run).
    std::function<void(int startIndex)> m_runPointsEdit;

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
    CDisplayInputs CurrentInputs() const; ///< What a frame drawn now would be drawn from.
    CDDSDevice* Device() const;
    bool IsArb() const;
    float SliderFraction() const;
    QString FileName() const;
    void ChooseColor(QColor& color);
    void RunPointsEdit(int startIndex);
    CArbHistory* History() const; ///< The document's, or null without one.
    /// The Points Edit dialog at startIndex, its changes one undo step.
    void EditPoints(int startIndex);
    void Print(bool withDialog);
    void PrintPreview();

    CMultiDDSTarnDoc* m_pDocument = nullptr;
    CDDSDevice* m_pDevice = nullptr;
    QSlider* m_pSlider = nullptr;
    std::function<ReportFields()> m_reportSource;
    QImage m_image; ///< Off-screen picture, rebuilt at the first paint after a resize.
    std::unique_ptr<CDisplayInputs> m_pDrawn; ///< What m_image was last drawn from.
    bool m_bPictureDrawn = false;             ///< The last Render drew the whole picture.
    /// The table when the current stroke began; empty while no stroke runs.
    std::optional<CArbHistory::Points> m_strokeStart;
};
