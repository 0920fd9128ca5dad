#include "app/MultiDDSTarnApp.h"

#include "view/MultiDDSTarnView.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DDS-Tarn USB"));
    return RunDDSTarn(
        [](CMultiDDSTarnDoc* doc) -> CDeviceView* { return new CMultiDDSTarnView(doc); });
}
