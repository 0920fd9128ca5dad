#include "view/DeviceDialogs.h"

#include "app/MainFrame.h"
#include "app/MultiDDSTarnDoc.h"
#include "dialogs/DigitalInDlg.h"
#include "dialogs/DigitalOutDlg.h"
#include "dialogs/SweepDlg.h"
#include "engine/DDSDevice.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

/// Room between two dialogs placed side by side.
constexpr int kBesideGap = 8;

/// Shows a modeless dialog in the middle of the main window (or of the screen) and brings it
/// to the front. While `other` is open there, the dialog goes beside it instead (right of it,
/// or left, above or below where the screen ends), so that neither hides the other.
void ShowCentred(QWidget* dialog, const QWidget* other) {
    dialog->adjustSize();
    const QWidget* frame = CMainFrame::Get();
    const QRect area = frame && frame->isVisible() ? frame->frameGeometry()
                                                   : QGuiApplication::primaryScreen()->geometry();
    QPoint place = area.center() - dialog->rect().center();
    if (other && other->isVisible()) {
        const QRect beside = other->frameGeometry();
        const QScreen* screen = other->screen();
        const QRect room = screen ? screen->availableGeometry() : area;
        const QSize size = dialog->frameGeometry().size();
        // Right of it, else left, else below, else above; on a screen too small for any, at
        // its right edge.
        const QPoint tries[] = {{beside.right() + 1 + kBesideGap, beside.top()},
                                {beside.left() - kBesideGap - size.width(), beside.top()},
                                {beside.left(), beside.bottom() + 1 + kBesideGap},
                                {beside.left(), beside.top() - kBesideGap - size.height()}};
        place = QPoint(room.right() + 1 - size.width(), beside.top());
        for (const QPoint& at : tries)
            if (room.contains(QRect(at, size))) {
                place = at;
                break;
            }
    }
    dialog->move(place);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace

CDeviceDialogs::CDeviceDialogs(CMultiDDSTarnDoc* doc) : m_pDocument(doc) {}

CDeviceDialogs::~CDeviceDialogs() {
    Close();
}

void CDeviceDialogs::RunSweep(QWidget* owner) {
    CDDSDevice* device = m_pDocument->m_pDevice;
    CMainFrame* frame = CMainFrame::Get();
    if (!device || !frame)
        return;
    CSweepDlg dialog(*m_pDocument->m_pControl, frame->Language(), owner);
    m_pSweep = &dialog;
    dialog.exec();
    m_pSweep = nullptr;
    if (device->m_nWaveType != WAVE_ARB)
        device->RequestDownload();
}

void CDeviceDialogs::ShowDigitalOut() {
    CMainFrame* frame = CMainFrame::Get();
    if (!m_pDigitalOut && m_pDocument->m_pControl && frame)
        m_pDigitalOut =
            std::make_unique<CDigitalOutDlg>(*m_pDocument->m_pControl, frame->Language());
    if (m_pDigitalOut)
        ShowCentred(m_pDigitalOut.get(), m_pDigitalIn.get());
}

void CDeviceDialogs::ShowDigitalIn() {
    CMainFrame* frame = CMainFrame::Get();
    if (!m_pDigitalIn && m_pDocument->m_pDevice && frame)
        m_pDigitalIn = std::make_unique<CDigitalInDlg>(*m_pDocument->m_pDevice, frame->Language());
    if (m_pDigitalIn)
        ShowCentred(m_pDigitalIn.get(), m_pDigitalOut.get());
}

void CDeviceDialogs::Retext() {
    CMainFrame* frame = CMainFrame::Get();
    if (!frame)
        return;
    if (m_pDigitalOut)
        m_pDigitalOut->Retext(frame->Language());
    if (m_pDigitalIn)
        m_pDigitalIn->Retext(frame->Language());
    if (m_pSweep)
        m_pSweep->Retext(frame->Language());
}

void CDeviceDialogs::Close() {
    m_pDigitalOut.reset();
    m_pDigitalIn.reset();
}
