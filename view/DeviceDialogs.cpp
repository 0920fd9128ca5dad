#include "view/DeviceDialogs.h"

#include "app/MainFrame.h"
#include "app/MultiDDSTarnDoc.h"
#include "dialogs/DigitalInDlg.h"
#include "dialogs/DigitalOutDlg.h"
#include "dialogs/SweepDlg.h"
#include "engine/DDSDevice.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

/// Shows a modeless dialog in the middle of the main window (or of the screen) and brings it
/// to the front.
void ShowCentred(QWidget* dialog) {
    dialog->adjustSize();
    const QWidget* frame = CMainFrame::Get();
    const QRect area = frame && frame->isVisible() ? frame->frameGeometry()
                                                   : QGuiApplication::primaryScreen()->geometry();
    dialog->move(area.center() - dialog->rect().center());
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
        ShowCentred(m_pDigitalOut.get());
}

void CDeviceDialogs::ShowDigitalIn() {
    CMainFrame* frame = CMainFrame::Get();
    if (!m_pDigitalIn && m_pDocument->m_pDevice && frame)
        m_pDigitalIn = std::make_unique<CDigitalInDlg>(*m_pDocument->m_pDevice, frame->Language());
    if (m_pDigitalIn)
        ShowCentred(m_pDigitalIn.get());
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
