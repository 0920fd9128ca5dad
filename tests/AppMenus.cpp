// The drop-down menus as drawn, and the copy keys while a panel field has the focus.
#include "AppTestSupport.h"

#include "app/CommandTable.h"
#include "view/WaveDisplay.h"
#include "widgets/MenuEx.h"

class AppMenus : public QObject {
    Q_OBJECT

private slots:
    void menusAreDrawnByTheProgramAndCopyKeysPassAField() {
        CProgram program(1);
        CMainFrame* frame = program.Frame();
        frame->OnTimer();
        // Digital IO of a new device: Pattern Generator checked, then a separator, an item and
        // the greyed Output Set.
        QMenu* menu = program.Menu(3);
        menu->popup(frame->mapToGlobal(QPoint(40, 40)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        const QList<QAction*> items = menu->actions();
        QVERIFY(items.value(0)->isChecked() && !items.value(3)->isEnabled());
        const auto rect = [&](int i) { return menu->actionGeometry(items.value(i)); };
        const QRect checked = rect(0), separator = rect(1), active = rect(2), grayed = rect(3);
        QCOMPARE((QList<int>{active.height(), separator.height()}), (QList<int>{22, 10}));
        QImage image;
        const auto colors = [&](const QList<QPoint>& points) {
            QList<QColor> colors;
            for (const QPoint& p : points)
                colors << QColor(image.pixel(p));
            return colors;
        };
        const QColor column(236, 233, 216), frameLine(49, 106, 197), fill(200, 220, 253);
        const QColor white(Qt::white);

        menu->setActiveAction(items.value(2));
        image = menu->grab().toImage();
        const int y = active.center().y();
        const QPoint c = checked.topLeft();
        const QPoint s = separator.topLeft() + QPoint(40, 0);
        QCOMPARE(
            colors({active.topLeft(), active.bottomRight(), QPoint(active.right() - 3, y),
                    QPoint(3, y), c, c + QPoint(1, 1), c + QPoint(3, 3), c + QPoint(20, 20),
                    c + QPoint(21, 10), c + QPoint(22, 10), s + QPoint(0, 5), s + QPoint(0, 4)}),
            (QList<QColor>{frameLine, frameLine, fill, fill, column, frameLine, fill, frameLine,
                           column, white, QColor(197, 194, 184), white}));

        // A greyed item gets grey text and no highlight, even under the pointer.
        menu->setActiveAction(items.value(3));
        image = menu->grab().toImage();
        QCOMPARE(colors({grayed.topLeft(), {grayed.right() - 3, grayed.center().y()}}),
                 (QList<QColor>{column, white}));
        int grey = 0;
        for (int py = grayed.top(); py <= grayed.bottom(); ++py)
            for (int px = grayed.left() + 30; px <= grayed.right(); ++px)
                grey += QColor(image.pixel(px, py)) == QColor(200, 200, 200) ? 1 : 0;
        QVERIFY(grey > 5);
        menu->close();

        // The tab strip's menu has the same items.
        QCOMPARE(frame->TabMenu()->actionGeometry(frame->TabMenu()->actions().value(0)).height(),
                 22);

        // Ctrl+C and Ctrl+Insert reach the frame while a panel field has the focus.
        frame->resize(700, 520);
        frame->move(0, 0);
        QWidget* field = program.View()->Control(IDC_FREQUENCY);
        QVERIFY(program.Shown());
        field->setFocus();
        QTest::keyClicks(field, "25");
        QVERIFY(field->hasFocus());
        for (Qt::Key key : {Qt::Key_C, Qt::Key_Insert}) {
            QGuiApplication::clipboard()->clear();
            QTest::keyClick(field, key, Qt::ControlModifier);
            const QImage copied = QGuiApplication::clipboard()->image();
            QVERIFY(!copied.isNull());
            QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
                     program.View()->Display()->Picture().copy(QRect(QPoint(), copied.size())));
        }
    }

    // An item is as wide as its whole text plus 10, a drop-down or an item re-texted later plus
    // 25, each plus the 20-pixel icon cell; a separator is 0 wide and 10 high. The menu is as
    // wide as its widest item. Only the first "#" splits a text.
    void itemWidthsAreTheirTextsAndMargins() {
        CMenuEx look;
        QMenu menu;
        QAction* item = menu.addAction(QStringLiteral("Period &Number"));
        QAction* retexted = menu.addAction(QStringLiteral("Sweep"));
        QAction* separator = menu.addSeparator();
        QAction* dropDown = menu.addMenu(QStringLiteral("&Language"))->menuAction();
        look.Attach(&menu);
        CMenuEx::SetItemText(retexted, QStringLiteral("Wobble #Ctrl+W"));
        const QFontMetrics metrics(menu.font());
        const auto text = [&](const QAction* action) {
            return metrics.horizontalAdvance(action->text());
        };
        // Item, width, height.
        const std::tuple<QAction*, int, int> sizes[] = {{item, text(item) + 10 + 20, 22},
                                                        {retexted, text(retexted) + 25 + 20, 22},
                                                        {separator, 0, 10},
                                                        {dropDown, text(dropDown) + 25 + 20, 22}};
        int widest = 0;
        for (const auto& [action, width, height] : sizes) {
            QCOMPARE(look.ItemSize(*action, metrics), QSize(width, height));
            widest = std::max(widest, width);
        }
        menu.popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        for (const auto& [action, width, height] : sizes)
            QCOMPARE(menu.actionGeometry(action).size(), QSize(widest, height));
        menu.close();

        const std::tuple<const char*, const char*, const char*> splits[] = {
            {"Open\tCtrl+O", "Open\tCtrl+O", ""}, {"Zoom#Ctrl+#", "Zoom", "Ctrl+#"}, {"#", "", ""}};
        for (const auto& [whole, left, right] : splits)
            QCOMPARE(CMenuEx::SplitText(QLatin1String(whole)),
                     std::pair(QString(QLatin1String(left)), QString(QLatin1String(right))));
    }

    // A menu item takes its text from its position: every language file must keep the
    // separators where the menu has them, or an item shows another item's words.
    void languageFilesKeepTheMenuPositions() {
        for (const char* name :
             {"res/DefaultLanguage.lug", "language/German.lug", "language/Chinese.lug"}) {
            QFile file(QStringLiteral(DDSTARN_SOURCE_DIR "/") + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QMap<int, QString> texts;
            for (const QByteArray& line : file.readAll().split('\n'))
                if (const int at = line.indexOf('='); at > 0)
                    texts[line.left(at).toInt()] = QString::fromUtf8(line.mid(at + 1)).trimmed();
            int menu = -1, item = 0;
            for (const SMenuEntry& entry : CCommandTable::MainMenu()) {
                if (entry.nLevel == 0) {
                    ++menu;
                    item = 0;
                } else if (entry.nLevel == 1) {
                    const int key = 80000 + 100 * menu + item++;
                    const bool separator = entry.nId == CCommandTable::kSeparator;
                    QVERIFY2((texts.value(key) == "--") == separator,
                             qPrintable(QStringLiteral("%1 %2").arg(name).arg(key)));
                }
            }
        }
    }
};

QTEST_MAIN(AppMenus)
#include "AppMenus.moc"
