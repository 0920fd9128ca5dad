// Help > Help Content: where the manual is found, its contents tree, scrolling to a heading and
// the wrapping search of the help window.
#include "AppTestSupport.h"

#include "dialogs/HelpWindow.h"

namespace {

/// Headings with a page of filler each, so that every heading can be scrolled to the top.
QByteArray Manual() {
    const QByteArray filler = QByteArray("Filler text.\n\n").repeated(40);
    return "# Start\n\nThe tone starts here.\n\n" + filler + "## Panel\n\n" + filler +
           "### Knobs\n\nA knob sets the tone.\n\n" + filler + "# Files\n\n" + filler;
}

/// The contents tree as "heading(child,child)" lists, in order.
QString Tree(QTreeWidgetItem* item) {
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i)
        children << Tree(item->child(i));
    const QString inner = children.isEmpty() ? QString() : '(' + children.join(',') + ')';
    return item->text(0) + inner;
}

} // namespace

class AppHelp : public QObject {
    Q_OBJECT

private slots:
    void manualIsFoundBesideTheProgramFirstThenInstalledOrNothingOpens() {
        const QString beside = "bin/help/manual.md", installed = "share/ddstarn-usb/help/manual.md";
        const std::pair<QStringList, QString> cases[] = {
            {{beside}, beside}, {{installed}, installed}, {{installed, beside}, beside}, {{}, "-"}};
        for (const auto& [files, expected] : cases) {
            QTemporaryDir root;
            QDir(root.path()).mkpath(QStringLiteral("bin"));
            for (const QString& file : files)
                WriteTextFile(root.filePath(file), "# Manual\n");
            QCOMPARE(CHelpWindow::FindManual(root.filePath(QStringLiteral("bin"))),
                     QFileInfo(root.filePath(expected)).canonicalFilePath()); // "-": none
        }
        // Without one, Help Content opens nothing and says nothing.
        CProgram program(1);
        program.Frame()->RouteCommand(ID_HELP_CONTENT);
        QVERIFY(!CHelpWindow::Instance() && program.m_answerer.m_messages.isEmpty());
    }

    // F1 opens the manual with no device open; each contents entry shows whole.
    void f1WithoutADeviceAndEntriesShowWhole() {
        const QByteArray longHeading =
            "## After the program did not find a generator when it started, and what to do\n\n";
        CProgram program(1, 0, [&](const QString& folder) {
            WriteTextFile(folder + QStringLiteral("/help/manual.md"), Manual() + longHeading);
        });
        CMainFrame* frame = program.Shown();
        QVERIFY(frame);
        frame->CloseDocumentAt(0);
        QTRY_COMPARE(frame->MdiArea()->subWindowList().size(), 0);
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QTest::keyClick(frame, Qt::Key_F1);
        CHelpWindow* help = CHelpWindow::Instance();
        QVERIFY(help && help->isVisible());
        QTreeWidget* contents = help->Contents();
        QTreeWidgetItem* item = contents->topLevelItem(1)->child(0);
        QVERIFY(item && item->text(0).startsWith("After the program"));
        const int textWidth = contents->fontMetrics().horizontalAdvance(item->text(0));
        QVERIFY(contents->visualItemRect(item).width() >= textWidth);
        QCOMPARE(contents->textElideMode(), Qt::ElideNone);
        help->close();
    }

    void contentsScrollToHeadingsAndSearchWraps() {
        CProgram program(1, 0, [](const QString& folder) {
            WriteTextFile(folder + QStringLiteral("/help/manual.md"), Manual());
            InstallLanguage(folder, QStringLiteral("German.lug"));
        });
        program.Frame()->RouteCommand(ID_HELP_CONTENT);
        CHelpWindow* help = CHelpWindow::Instance();
        QVERIFY(help && help->isVisible());
        program.Frame()->RouteCommand(ID_HELP_CONTENT);
        QCOMPARE(CHelpWindow::Instance(), help); // one window only
        QTreeWidget* contents = help->Contents();
        QCOMPARE(contents->topLevelItemCount(), 2);
        QCOMPARE(Tree(contents->topLevelItem(0)) + ' ' + Tree(contents->topLevelItem(1)),
                 QStringLiteral("Start(Panel(Knobs)) Files"));

        // A clicked heading comes to the top of the page.
        QTextBrowser* browser = help->Browser();
        for (QTreeWidgetItem* item : {contents->topLevelItem(0)->child(0)->child(0),
                                      contents->topLevelItem(1), contents->topLevelItem(0)}) {
            contents->scrollToItem(item);
            QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                              contents->visualItemRect(item).center());
            QCOMPARE(browser->cursorForPosition(QPoint(10, 10)).block().text(), item->text(0));
        }

        // Two matches, then round to the first; a missing word keeps the selection.
        auto search = [&](const QString& text) {
            help->SearchField()->setText(text);
            QTest::keyClick(help->SearchField(), Qt::Key_Return);
            return std::pair(browser->textCursor().selectionStart(), help->SearchResult()->text());
        };
        const std::pair<int, QString> found[] = {search("tone"), search("tone"), search("tone"),
                                                 search("oscillator")}; // in this order
        const int first = found[0].first;
        QVERIFY(first >= 0 && found[1] > std::pair(first, QString()) && found[0].second.isEmpty());
        QCOMPARE(found[2], std::pair(first, QString("Reached the end; continued from the top.")));
        QCOMPARE(found[3], std::pair(first, QString("Not found: oscillator")));

        // An open help window follows a change of language.
        program.Frame()->SetLanguage(0);
        QCOMPARE(help->windowTitle(), QStringLiteral("DDS-Tarn USB Hilfe"));
        QCOMPARE(search(QStringLiteral("oscillator")).second,
                 QStringLiteral("Nicht gefunden: oscillator"));
    }
};

QTEST_MAIN(AppHelp)
#include "AppHelp.moc"
