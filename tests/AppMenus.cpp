// The copy keys while a panel field has the focus.
#include "AppTestSupport.h"

#include "res/Resource.h"
#include "view/WaveDisplay.h"

#include <QClipboard>
#include <QTest>

class AppMenus : public QObject {
    Q_OBJECT

private slots:
    void copyKeysReachTheFrameFromAPanelField();
};

void AppMenus::copyKeysReachTheFrameFromAPanelField() {
    CProgram program(1);
    CMainFrame* frame = program.Frame();
    frame->OnTimer();
    frame->resize(700, 520);
    frame->move(0, 0);
    auto* view = static_cast<CMultiDDSTarnView*>(program.Doc(0)->m_pView);
    QWidget* field = view->Control(IDC_FREQUENCY);
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    field->setFocus();
    QTest::keyClicks(field, "25");
    QVERIFY(field->hasFocus());
    for (Qt::Key key : {Qt::Key_C, Qt::Key_Insert}) {
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(field, key, Qt::ControlModifier);
        const QImage copied = QGuiApplication::clipboard()->image();
        QVERIFY(!copied.isNull());
        const QImage& picture = view->Display()->Picture();
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
                 picture.copy(QRect(QPoint(0, 0), copied.size())));
    }
}

QTEST_MAIN(AppMenus)
#include "AppMenus.moc"
