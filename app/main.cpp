#include "app/MainFrame.h"
#include "app/MultiDDSTarnApp.h"

#include "remote/Headless.h"
#include "view/MultiDDSTarnView.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[]) {
    // Before any application object: the headless program must start with no display.
    if (IsHeadless(argc, argv))
        return RunHeadless(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DDS-Tarn USB"));
    // Start-up measurement (bench/): leave as soon as the main window has been shown.
    if (qEnvironmentVariableIsSet("DDSTARN_QUIT_AFTER_SHOW")) {
        auto* poll = new QTimer(&application);
        QObject::connect(poll, &QTimer::timeout, [] {
            if (CMainFrame::Get() && CMainFrame::Get()->isVisible())
                QApplication::quit();
        });
        poll->start(1);
    }
    return RunDDSTarn(
        [](CMultiDDSTarnDoc* doc) -> CDeviceView* { return new CMultiDDSTarnView(doc); });
}
