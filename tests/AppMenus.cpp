// The drop-down menus as drawn, the copy keys while a panel field has the focus, and language
// files dropped into the folder while the program runs.
#include "AppTestSupport.h"

#include "res/Resource.h"
#include "view/WaveDisplay.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

class AppMenus : public QObject {
    Q_OBJECT

private slots:
    void dropDownItemsAreDrawnByTheProgram();
    void copyKeysReachTheFrameFromAPanelField();
    void languageFileAddedLaterIsListedWhenTheMenuOpens();
};

namespace {

const QColor kIconColumn(236, 233, 216);
const QColor kSelectFrame(49, 106, 197);
const QColor kSelectFill(200, 220, 253);

QMenu* TopMenu(CMainFrame* frame, int i) {
    return frame->menuBar()->actions().value(i)->menu();
}

int CountColor(const QImage& image, const QRect& area, const QColor& color) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += QColor(image.pixel(x, y)) == color ? 1 : 0;
    return n;
}

} // namespace

void AppMenus::dropDownItemsAreDrawnByTheProgram() {
    CProgram program(1);
    CMainFrame* frame = program.Frame();
    frame->OnTimer();
    // Digital IO of a new device: Pattern Generator checked, Output Set greyed.
    QMenu* menu = TopMenu(frame, 3);
    menu->popup(frame->mapToGlobal(QPoint(40, 40)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QList<QAction*> items = menu->actions();
    QAction* checked = items.value(0);
    QAction* separator = items.value(1);
    QAction* active = items.value(2);
    QAction* grayed = items.value(3);
    QVERIFY(checked->isChecked() && !grayed->isEnabled());

    menu->setActiveAction(active);
    QImage image = menu->grab().toImage();
    auto at = [&image](const QPoint& p) { return QColor(image.pixel(p)); };
    const QRect rcActive = menu->actionGeometry(active);
    QCOMPARE(rcActive.height(), 22);
    QCOMPARE(menu->actionGeometry(separator).height(), 10);
    QCOMPARE(at(rcActive.topLeft()), kSelectFrame);
    QCOMPARE(at(rcActive.bottomRight()), kSelectFrame);
    QCOMPARE(at(QPoint(rcActive.right() - 3, rcActive.center().y())), kSelectFill);
    QCOMPARE(at(QPoint(3, rcActive.center().y())), kSelectFill);

    const QRect rcChecked = menu->actionGeometry(checked);
    QCOMPARE(at(rcChecked.topLeft()), kIconColumn);
    QCOMPARE(at(rcChecked.topLeft() + QPoint(1, 1)), kSelectFrame);
    QCOMPARE(at(rcChecked.topLeft() + QPoint(3, 3)), kSelectFill);
    QCOMPARE(at(rcChecked.topLeft() + QPoint(20, 20)), kSelectFrame);
    QCOMPARE(at(rcChecked.topLeft() + QPoint(21, 10)), kIconColumn);
    QCOMPARE(at(rcChecked.topLeft() + QPoint(22, 10)), QColor(Qt::white));

    const QRect rcSeparator = menu->actionGeometry(separator);
    QCOMPARE(at(QPoint(rcSeparator.left() + 40, rcSeparator.top() + 5)), QColor(197, 194, 184));
    QCOMPARE(at(QPoint(rcSeparator.left() + 40, rcSeparator.top() + 4)), QColor(Qt::white));

    // A greyed item gets grey text and no highlight, even under the pointer.
    menu->setActiveAction(grayed);
    image = menu->grab().toImage();
    const QRect rcGrayed = menu->actionGeometry(grayed);
    QCOMPARE(at(rcGrayed.topLeft()), kIconColumn);
    QCOMPARE(at(QPoint(rcGrayed.right() - 3, rcGrayed.center().y())), QColor(Qt::white));
    QVERIFY(CountColor(image, rcGrayed.adjusted(30, 0, 0, 0), QColor(200, 200, 200)) > 5);
    menu->close();

    // The tab strip's menu has the same items.
    QCOMPARE(frame->TabMenu()->actionGeometry(frame->TabMenu()->actions().value(0)).height(), 22);
}

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

void AppMenus::languageFileAddedLaterIsListedWhenTheMenuOpens() {
    CProgram program(
        1, 0, [](const QString& folder) { InstallLanguage(folder, QStringLiteral("German.lug")); });
    CMainFrame* frame = program.Frame();
    frame->OnTimer();
    frame->Action(ID_LANGUAGE_FIRST)->trigger();
    QMenu* languageMenu = TopMenu(frame, 5)->actions().value(4)->menu();
    QCOMPARE(languageMenu->actions().size(), 3);

    // Listed before German: German's item moves down, keeps its check and stays current.
    InstallLanguage(program.Folder(), QStringLiteral("Chinese.lug"));
    languageMenu->popup(frame->mapToGlobal(QPoint(40, 40)));
    QVERIFY(QTest::qWaitForWindowExposed(languageMenu));
    QCOMPARE(languageMenu->actions().size(), 4);
    QCOMPARE(languageMenu->actions().value(2)->text(), QStringLiteral("简体中文"));
    QCOMPARE(languageMenu->actions().value(3)->text(), QStringLiteral("Deutsch"));
    QVERIFY(frame->IsLanguageChecked(ID_LANGUAGE_FIRST + 1));
    QVERIFY(!frame->IsLanguageChecked(ID_LANGUAGE_FIRST));
    QCOMPARE(frame->menuBar()->actions().value(0)->text(), QStringLiteral("&Datei"));
    QCOMPARE(languageMenu->actionGeometry(languageMenu->actions().value(2)).height(), 22);
    languageMenu->close();

    frame->Action(ID_LANGUAGE_FIRST)->trigger();
    QCOMPARE(frame->menuBar()->actions().value(0)->text(), QStringLiteral("文件(&F)"));
    QCOMPARE(TopMenu(frame, 0)->actions().value(0)->text(), QStringLiteral("新建(&N)"));
}

QTEST_MAIN(AppMenus)
#include "AppMenus.moc"
