// Run twice: with the built-in simulated bank, and with DDSTARN_DRIVER naming a tiny stand-in
// for a real driver. Only simulated units may be called simulated, wherever the user looks.
#include "AppTestSupport.h"

#include "app/AboutDlg.h"

class DesktopStatus : public QObject {
    Q_OBJECT

private slots:
    void onlySimulatedUnitsAreCalledSimulated() {
        const bool simulated = qEnvironmentVariableIsEmpty("DDSTARN_DRIVER");
        SimReset(2);
        QStringList marks; // each Device List row's mark, then the About box's note
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, [&marks] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* list = qobject_cast<CDeviceListDlg*>(modal)) {
                for (int i = 0; i < list->List()->topLevelItemCount(); ++i)
                    marks << list->List()->topLevelItem(i)->text(1);
                list->findChild<QPushButton*>()->click();
            } else if (auto* about = qobject_cast<CAboutDlg*>(modal)) {
                const QLabel* note = about->findChild<QLabel*>();
                marks << (note ? note->text() : QString());
                about->accept();
            } else if (modal) {
                modal->close();
            }
        });
        answerer.start(5);
        QTemporaryDir folder;
        CMultiDDSTarnApp app(
            [](CMultiDDSTarnDoc* doc) -> CDeviceView* { return new CMultiDDSTarnView(doc); });
        app.m_strProgramFolder = folder.path();
        QVERIFY(app.InitInstance());
        app.OnCommand(ID_APP_ABOUT);
        CMainFrame::Get()->OnTimer();

        const QString mark = simulated ? QStringLiteral("Simulated generator") : QString();
        QCOMPARE(marks, QStringList(simulated ? 3 : 8, mark)); // 2 or 7 units, then About
        QCOMPARE(std::tuple(CMainFrame::Get()->PaneText(0), CMainFrame::Get()->PaneText(4)),
                 std::tuple(QStringLiteral("Connect"), mark));
    }
};

QTEST_MAIN(DesktopStatus)
#include "DesktopStatus.moc"
