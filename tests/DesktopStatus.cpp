// Run twice: with the built-in simulated bank, and with DDSTARN_DRIVER naming a tiny stand-in
// for a real driver. Only simulated units may be called simulated, wherever the user looks.
#include "AppTestSupport.h"

#include "app/AboutDlg.h"

class DesktopStatus : public QObject {
    Q_OBJECT

private slots:
    void onlySimulatedUnitsAreCalledSimulated() {
        const bool simulated = qEnvironmentVariableIsEmpty("DDSTARN_DRIVER");
        CProgram program(2);
        QVERIFY(program.m_bStarted);
        QString note = QStringLiteral("no About box");
        program.m_answerer.m_answerOther = [&note](QWidget* modal) {
            auto* about = qobject_cast<CAboutDlg*>(modal);
            if (about) {
                const QLabel* label = about->findChild<QLabel*>();
                note = label ? label->text() : QString();
                about->accept();
            }
            return about != nullptr;
        };
        program.Frame()->RouteCommand(ID_APP_ABOUT);
        // The status bar speaks of the current device, which activating its window selects.
        QTRY_VERIFY(program.Frame()->GetCurrentDocument());
        program.Frame()->OnTimer();

        const QString mark = simulated ? QStringLiteral("Simulated generator") : QString();
        QCOMPARE(program.m_answerer.m_deviceMarks, QStringList(simulated ? 2 : 7, mark));
        QCOMPARE(std::tuple(note, program.Frame()->PaneText(0), program.Frame()->PaneText(4)),
                 std::tuple(mark, QStringLiteral("Connect"), mark));
    }
};

QTEST_MAIN(DesktopStatus)
#include "DesktopStatus.moc"
