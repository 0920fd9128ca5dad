#include "view/WaveDisplay.h"

#include "view/DisplayInputs.h"

#include "app/ChildFrame.h"
#include "app/CmdUI.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnApp.h"
#include "app/MultiDDSTarnDoc.h"
#include "dialogs/PointsEditDlg.h"
#include "engine/DDSDevice.h"
#include "i18n/LanguageManager.h"
#include "res/Resource.h"
#include "view/PointEditor.h"
#include "view/WaveRenderer.h"
#include "view/ZoomWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QSlider>

#include <utility>

namespace {

/// The current language, or the built-in English one while no main frame exists.
const CLanguageManager& Language() {
    if (CMainFrame* frame = CMainFrame::Get())
        return frame->Language();
    static const CLanguageManager* builtIn = [] {
        auto* language = new CLanguageManager;
        language->RefreshLanguageFiles();
        language->LoadLanguage(-1);
        return language;
    }();
    return *builtIn;
}

/// The printer Print Setup configures, or one of our own while no application runs (tests).
QPrinter& ChosenPrinter() {
    if (CMultiDDSTarnApp* app = CMultiDDSTarnApp::Get())
        return app->Printer();
    // Never destroyed: static destructors run after the application object is gone.
    static QPrinter* fallback = new QPrinter(QPrinter::HighResolution);
    return *fallback;
}

} // namespace

QString CWaveDisplay::LanguageText(int id) {
    return QString::fromUtf8(Language().GetText(id).c_str());
}

CWaveDisplay::CWaveDisplay(QWidget* parent) : QWidget(parent) {
    setProperty("ctrlId", IDC_WAVE_DISPLAY);
    // Every paint covers every pixel: nothing to erase, nothing to flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    m_runPointsEdit = [this](int startIndex) { RunPointsEdit(startIndex); };
}

CWaveDisplay::~CWaveDisplay() = default;

void CWaveDisplay::SetDocument(CMultiDDSTarnDoc* document) {
    m_pDocument = document;
    update();
}

void CWaveDisplay::SetSlider(QSlider* slider) {
    m_pSlider = slider;
}

void CWaveDisplay::SetReportSource(std::function<ReportFields()> source) {
    m_reportSource = std::move(source);
}

CDDSDevice* CWaveDisplay::Device() const {
    if (m_pDocument != nullptr && m_pDocument->m_pDevice != nullptr)
        return m_pDocument->m_pDevice;
    return m_pDevice;
}

bool CWaveDisplay::IsArb() const {
    const CDDSDevice* device = Device();
    return device != nullptr && device->m_nWaveType == WAVE_ARB;
}

float CWaveDisplay::SliderFraction() const {
    if (m_pSlider != nullptr && m_pSlider->maximum() > 0)
        return static_cast<float>(m_pSlider->value()) / static_cast<float>(m_pSlider->maximum());
    const CDDSDevice* device = Device();
    return device != nullptr ? static_cast<float>(device->m_fViewPos) : 0.0f;
}

QString CWaveDisplay::FileName() const {
    return m_pDocument != nullptr ? m_pDocument->m_strFileName
                                  : QString::fromUtf8(CMultiDDSTarnDoc::kNoFile);
}

void CWaveDisplay::ComputeView(float pos) {
    if (CDDSDevice* device = Device())
        CZoomWindow::Compute(*device, pos);
}

const QImage& CWaveDisplay::Render() {
    // On a scaled screen the picture has the screen's pixels, drawn in the widget's coordinates,
    // so that the curve stays sharp.
    const qreal ratio = devicePixelRatioF();
    if (m_image.deviceIndependentSize() != QSizeF(size()) || m_image.devicePixelRatio() != ratio) {
        m_image = QImage(size() * ratio, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(ratio);
    }
    if (m_image.isNull())
        return m_image;
    QPainter painter(&m_image);
    const QRect client(QPoint(0, 0), QPoint(width(), height()));
    CDDSDevice* device = Device();
    if (device == nullptr) {
        painter.fillRect(rect(), m_crBack);
        m_bPictureDrawn = true;
        return m_image;
    }
    CWaveRenderer::Options options;
    options.scheme.crBack = m_crBack;
    options.scheme.crCurve = m_crCurve;
    options.scheme.crGrid = m_crGrid;
    options.scheme.crCursor = m_crCursor;
    options.strFileName = FileName();
    options.strAtPoint = m_strAtPoint;
    options.font = font();
    const QRect plot = CWaveRenderer::Draw(painter, client, *device, m_nCursorIndex, options);
    m_bPictureDrawn = !plot.isNull();
    if (m_bPictureDrawn)
        m_rcPlot = plot;
    return m_image;
}

CDisplayInputs CWaveDisplay::CurrentInputs() const {
    // In screen pixels: a window moved to a screen of another scale is drawn again.
    CDisplayInputs inputs(Device(), size() * devicePixelRatioF(), m_nCursorIndex);
    inputs.m_crBack = m_crBack;
    inputs.m_crCurve = m_crCurve;
    inputs.m_crGrid = m_crGrid;
    inputs.m_crCursor = m_crCursor;
    inputs.m_strFileName = FileName();
    inputs.m_strAtPoint = m_strAtPoint;
    inputs.m_font = font();
    return inputs;
}

void CWaveDisplay::RefreshIfMoved() {
    if (!m_pDrawn || !CurrentInputs().Same(*m_pDrawn))
        update();
}

void CWaveDisplay::paintEvent(QPaintEvent*) {
    // The view asks for a frame ten times a second; most show what the last one showed.
    if (!m_pDrawn || !CurrentInputs().Same(*m_pDrawn)) {
        m_pDrawn.reset();
        Render();
        // Taken after the draw, which may pull the cursor back into the table. A draw that
        // found another one running left the picture as it was.
        if (m_bPictureDrawn)
            m_pDrawn = std::make_unique<CDisplayInputs>(CurrentInputs());
    }
    QPainter(this).drawImage(0, 0, m_image);
}

void CWaveDisplay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_image = QImage();
    m_pDrawn.reset();
    m_rcPlot = CWaveRenderer::PlotRect(QRect(QPoint(0, 0), QPoint(width(), height())));
    update();
}

void CWaveDisplay::mouseMoveEvent(QMouseEvent* event) {
    CDDSDevice* device = Device();
    if (device == nullptr)
        return;
    const int cursor = m_nCursorIndex;
    if (CPointEditor::Move(*device, m_rcPlot, event->position().toPoint(), m_bDragging != 0,
                           m_nLastDragIndex, m_nCursorIndex))
        emit PointsEdited();
    if (m_bDragging != 0 || cursor != m_nCursorIndex)
        update();
}

void CWaveDisplay::mousePressEvent(QMouseEvent* event) {
    CDDSDevice* device = Device();
    if (device == nullptr || event->button() != Qt::LeftButton)
        return;
    if (CPointEditor::Press(*device, m_rcPlot, event->position().toPoint(), m_nLastDragIndex,
                            m_nCursorIndex)) {
        m_bDragging = 1;
        // A press while still dragging (released outside) continues the same stroke.
        if (CArbHistory* history = History(); history && !m_strokeStart)
            m_strokeStart = history->Snapshot();
        update();
    }
}

void CWaveDisplay::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<CArbHistory::Points> strokeStart = std::exchange(m_strokeStart, {});
    if (!IsArb())
        return;
    m_bDragging = 0;
    Device()->RequestDownload();
    if (CArbHistory* history = History(); history && strokeStart)
        history->Record(*strokeStart, QStringLiteral("Stroke"));
}

void CWaveDisplay::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !IsArb())
        return;
    CDDSDevice* device = Device();
    const QPoint pos = event->position().toPoint();
    if (m_rcPlot.contains(pos))
        EditPoints(CPointEditor::PixelToIndex(pos.x(), m_rcPlot, *device));
    device->RequestDownload();
}

CArbHistory* CWaveDisplay::History() const {
    return m_pDocument != nullptr ? m_pDocument->ArbHistory() : nullptr;
}

void CWaveDisplay::EditPoints(int startIndex) {
    CArbHistory* history = History();
    const CArbHistory::Points before = history ? history->Snapshot() : CArbHistory::Points{};
    m_runPointsEdit(startIndex);
    if (history)
        history->Record(before, QStringLiteral("Points Edit"));
}

void CWaveDisplay::RunPointsEdit(int startIndex) {
    CDDSDevice* device = Device();
    if (device == nullptr)
        return;
    CPointsEditDlg dialog(
        *device, startIndex,
        [this](int index) {
            m_nCursorIndex = index;
            update();
        },
        Language(), this);
    dialog.exec();
}

void CWaveDisplay::ChooseColor(QColor& color) {
    const QColor chosen = QColorDialog::getColor(color, this);
    if (chosen.isValid()) {
        color = chosen;
        update();
    }
}

CReportPrinter::Inputs CWaveDisplay::ReportInputs() const {
    CReportPrinter::Inputs inputs;
    const CDDSDevice* device = Device();
    if (m_reportSource) {
        inputs.fields = m_reportSource();
    } else if (device != nullptr) {
        inputs.fields.strFrequency = QString::asprintf("%.3f", double(device->m_dFrequency));
        inputs.fields.dAmplitude = device->m_fAmplitude;
        inputs.fields.dOffset = device->m_dOffset;
    }
    inputs.strFileName = FileName();
    inputs.nCursorIndex = m_nCursorIndex;
    inputs.text = LanguageText;
    return inputs;
}

void CWaveDisplay::Print(bool withDialog) {
    CDDSDevice* device = Device();
    if (device == nullptr)
        return;
    QPrinter& printer = ChosenPrinter();
    if (withDialog) {
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, 1); // the report is one page
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    if (printer.isValid())
        CReportPrinter::Print(printer, *device, ReportInputs());
}

void CWaveDisplay::PrintPreview() {
    CDDSDevice* device = Device();
    if (device == nullptr)
        return;
    QPrintPreviewDialog preview(&ChosenPrinter(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, device](QPrinter* target) {
        CReportPrinter::Print(*target, *device, ReportInputs());
    });
    preview.exec();
}

void CWaveDisplay::CopyToClipboard() {
    QClipboard* clipboard = QApplication::clipboard();
    QRect visible(mapToGlobal(QPoint(0, 0)), size());
    if (QScreen* screen = this->screen())
        visible &= screen->geometry();
    if (visible.isEmpty() || !isVisible()) {
        clipboard->clear();
        return;
    }
    const QRect part(mapFromGlobal(visible.topLeft()), visible.size());
    const qreal ratio = Render().devicePixelRatio();
    clipboard->setImage(m_image.copy(
        QRectF(QRectF(part).topLeft() * ratio, QSizeF(part.size()) * ratio).toAlignedRect()));
}

bool CWaveDisplay::HandleCommand(int id) {
    CDDSDevice* device = Device();
    switch (id) {
    case ID_POINTS_EDIT:
        if (IsArb()) {
            const int start = static_cast<int>((device->m_nPointsPerPeriod - device->m_nArbPoints) *
                                               device->m_fViewPos);
            if (m_pDocument != nullptr && m_pDocument->m_pFrame != nullptr)
                m_pDocument->m_pFrame->raise();
            else
                window()->raise();
            EditPoints(start);
            device->RequestDownload();
        }
        return true;
    case ID_ZOOM_IN:
        if (IsArb())
            CZoomWindow::ZoomIn(*device, SliderFraction());
        return true;
    case ID_ZOOM_OUT:
        if (IsArb())
            CZoomWindow::ZoomOut(*device);
        return true;
    case ID_BACKGROUND_COLOR:
        ChooseColor(m_crBack);
        return true;
    case ID_CURVE_COLOR:
        ChooseColor(m_crCurve);
        return true;
    case ID_XY_LINE_COLOR:
        ChooseColor(m_crGrid);
        return true;
    case ID_CURSOR_COLOR:
        ChooseColor(m_crCursor);
        return true;
    case ID_EDIT_COPY:
        CopyToClipboard();
        return true;
    case ID_FILE_PRINT:
        Print(true);
        return true;
    case ID_FILE_PRINT_DIRECT:
        Print(false);
        return true;
    case ID_FILE_PRINT_PREVIEW:
        PrintPreview();
        return true;
    default:
        return false;
    }
}

bool CWaveDisplay::UpdateCommand(CCmdUI& ui) {
    const CDDSDevice* device = Device();
    switch (ui.m_nID) {
    case ID_POINTS_EDIT:
        ui.Enable(IsArb());
        return true;
    case ID_ZOOM_IN:
        ui.Enable(device != nullptr && CZoomWindow::CanZoomIn(*device));
        return true;
    case ID_ZOOM_OUT:
        ui.Enable(device != nullptr && CZoomWindow::CanZoomOut(*device));
        return true;
    case ID_BACKGROUND_COLOR:
    case ID_CURVE_COLOR:
    case ID_XY_LINE_COLOR:
    case ID_CURSOR_COLOR:
    case ID_EDIT_COPY:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}
