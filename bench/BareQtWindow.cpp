// The yardstick for start-up: a bare Qt main window with a menu bar, a toolbar and a status
// bar, shown at the program's size, leaving as soon as it is visible.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.addToolBar(QStringLiteral("Standard"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(870, 600);
    QTimer::singleShot(0, &window, &QMainWindow::show);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&window] {
        if (window.isVisible())
            QApplication::quit();
    });
    poll.start(1);
    return QApplication::exec();
}
