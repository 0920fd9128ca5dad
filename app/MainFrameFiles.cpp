#include "app/MainFrame.h"

#include "app/MultiDDSTarnApp.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

// Files dropped on the main window.

QStringList CMainFrame::DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

bool CMainFrame::FilterFileDrop(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* drop = static_cast<QDropEvent*>(event);
    if (!widget || widget == this || widget->window() != this ||
        DroppedFiles(drop->mimeData()).isEmpty())
        return false;
    if (type == QEvent::Drop)
        dropEvent(drop);
    else
        drop->acceptProposedAction();
    return true;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    CMultiDDSTarnApp* app = CMultiDDSTarnApp::Get();
    if (files.isEmpty() || !app)
        return;
    event->acceptProposedAction();
    // The drag's source waits for the drop to end; the files open once it has.
    QMetaObject::invokeMethod(
        this,
        [files] {
            if (CMultiDDSTarnApp* current = CMultiDDSTarnApp::Get())
                for (const QString& path : files)
                    current->OpenFileInNewDocument(path);
        },
        Qt::QueuedConnection);
}
