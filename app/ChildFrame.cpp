#include "app/ChildFrame.h"

#include "app/MainFrame.h"
#include "app/MultiDDSTarnDoc.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMetaObject>
#include <QScrollArea>

CChildFrame::CChildFrame(CMultiDDSTarnDoc* doc, QWidget* view) : m_pDocument(doc) {
    // A window smaller than the view's minimum (a small screen, a large scale factor) scrolls
    // the view; one that is large enough shows it whole, without scroll bars.
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("viewScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    // Tab walks the panel's controls, never the scroll area around them.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(view);
    setWidget(scroll);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(doc->GetTitle());
    setWindowIcon(QIcon(QStringLiteral(":/icons/new.svg")));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!m_pDocument) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    // Closing the window closes the device. The document deletes this frame, so it runs after
    // the close event has returned.
    event->ignore();
    CMultiDDSTarnDoc* doc = m_pDocument;
    QMetaObject::invokeMethod(
        this,
        [this, doc] {
            if (m_pDocument == doc)
                doc->OnCloseDocument();
        },
        Qt::QueuedConnection);
}

void CChildFrame::changeEvent(QEvent* event) {
    const bool stateChange = event->type() == QEvent::WindowStateChange;
    CMainFrame* frame = CMainFrame::Get();
    QMdiSubWindow::changeEvent(event);
    if (stateChange) {
        UpdateSystemMenu();
        if (frame)
            frame->UpdateFrameTitle();
    }
}

void CChildFrame::UpdateSystemMenu() {
    // A maximised device window shows no buttons of its own in the menu bar.
    Qt::WindowFlags flags = windowFlags();
    const bool maximised = isMaximized();
    const Qt::WindowFlags buttons =
        Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    const Qt::WindowFlags wanted = maximised ? (flags & ~buttons) : (flags | buttons);
    if (wanted != flags) {
        setWindowFlags(wanted);
        if (maximised)
            showMaximized();
        else
            show();
    }
    update();
}
