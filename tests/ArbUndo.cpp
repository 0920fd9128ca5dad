// Undo and redo of the Arb points, each change one step and each step reaching the unit.
#include "AppTestSupport.h"
#include "DisplayTestSupport.h"

#include "app/ArbHistory.h"
#include "app/CmdUI.h"
#include "formats/CsvFile.h"
#include "view/WaveDisplay.h"

#include <vector>

namespace {

/// Undo, then Redo: 'e' offered, '-' grey.
QString Offered(CMainFrame* frame) {
    QString states;
    for (int id : {ID_ARB_UNDO, ID_ARB_REDO}) {
        CCmdUI ui(id);
        frame->UpdateCommand(ui);
        states += ui.m_bEnabled ? 'e' : '-';
    }
    return states;
}

std::vector<float> Table(const CDDSDevice& device) {
    std::vector<float> table;
    for (int i = 0; i < device.m_nPointsPerPeriod; ++i)
        table.push_back(device.m_fArb[i]);
    return table;
}

} // namespace

class ArbUndo : public QObject {
    Q_OBJECT

private:
    /// Runs a command and waits until the unit holds the result; the downloads it took.
    static int Downloads(CProgram& program, int command) {
        if (!QTest::qWaitFor([&] { return program.Device()->CommandsDone(); }))
            return -1;
        SimClearLog();
        program.Frame()->RouteCommand(command);
        if (!QTest::qWaitFor([&] { return program.Device()->CommandsDone(); }))
            return -1;
        return int(SimCalls("DDSDownload").size());
    }
    static std::vector<unsigned short> Unit() { return SimGetUnit(0).buffer; }

private slots:
    void everyChangeIsOneStepThatReachesTheUnit() {
        CProgram program(1);
        CMainFrame* frame = program.Frame();
        CDDSDevice& device = *program.Device();
        CWaveDisplay* display = program.View()->Display();
        QCOMPARE(Offered(frame), QStringLiteral("--"));

        // Capturing the sine into Arb is the first step.
        program.View()->SelectWaveType(WAVE_ARB);
        const std::vector<float> captured = Table(device);
        QTRY_VERIFY(device.CommandsDone());
        const std::vector<unsigned short> capturedCodes = Unit();

        // A stroke from press to release: one step, however many points it moved.
        display->Render();
        const QRect plot = display->m_rcPlot;
        Send(display, QEvent::MouseButtonPress, plot.topLeft() + QPoint(40, 5));
        for (int x = 60; x <= 400; x += 20)
            Send(display, QEvent::MouseMove, QPoint(plot.left() + x, plot.bottom() - x / 4));
        Send(display, QEvent::MouseButtonRelease, QPoint(plot.left() + 400, plot.top()));
        const std::vector<float> drawn = Table(device);
        QVERIFY(drawn != captured);
        QTRY_VERIFY(device.CommandsDone());
        const std::vector<unsigned short> drawnCodes = Unit();
        QVERIFY(drawnCodes != capturedCodes);
        // A click that moves nothing is no step.
        Send(display, QEvent::MouseButtonPress, plot.center());
        Send(display, QEvent::MouseButtonRelease, plot.center());
        QCOMPARE(Offered(frame), QStringLiteral("e-"));

        QCOMPARE(Downloads(program, ID_ARB_UNDO), 1);
        QCOMPARE(std::tuple(Table(device), Unit(), Offered(frame)),
                 std::tuple(captured, capturedCodes, QString("ee")));
        QCOMPARE(Downloads(program, ID_ARB_REDO), 1);
        QCOMPARE(std::tuple(Table(device), Unit(), Offered(frame)),
                 std::tuple(drawn, drawnCodes, QString("e-")));

        // A Points Edit change is a step; the dialog is answered by writing one point.
        display->m_runPointsEdit = [&device](int) { device.m_fArb[3] = 1.25f; };
        frame->RouteCommand(ID_POINTS_EDIT);
        QCOMPARE(Table(device)[3], 1.25f);
        frame->RouteCommand(ID_ARB_UNDO);
        QCOMPARE(Table(device), drawn);
        frame->RouteCommand(ID_ARB_REDO);

        // Other waves leave the steps waiting; coming back captures anew, a step of its own.
        const std::vector<float> edited = Table(device);
        program.View()->SelectWaveType(WAVE_SQUARE);
        QCOMPARE(Offered(frame), QStringLiteral("--"));
        program.View()->SelectWaveType(WAVE_ARB);
        frame->RouteCommand(ID_ARB_UNDO);
        QCOMPARE(Table(device), edited);
        frame->RouteCommand(ID_ARB_UNDO);
        QCOMPARE(Table(device), drawn);

        // A CSV file opened brings its points; the 3000 Hz plan (4000 samples, 3 periods) gives
        // the points per period. Undo gives back the table and its size.
        const QString path =
            WriteTextFile(program.Folder() + QStringLiteral("/eight.csv"),
                          CCsvFile::Format(24000.0f, {1, 2, 3, 3.5f, 0, -1, -2, -3}).c_str());
        QVERIFY(program.Doc(0)->ReadCsvFile(path));
        QTRY_VERIFY(device.CommandsDone());
        QCOMPARE(std::pair(int(device.m_nPointsPerPeriod), device.m_fArb[3].Get()),
                 std::pair(1333, 3.5f));
        QCOMPARE(Downloads(program, ID_ARB_UNDO), 1);
        QCOMPARE(std::pair(Table(device), Offered(frame)), std::pair(drawn, QString("ee")));

        // The one way in for other table sources.
        program.Doc(0)->ArbHistory()->SetArbPoints({0.5f, -0.5f}, QStringLiteral("Import"));
        QCOMPARE(std::pair(Table(device), Offered(frame)),
                 std::pair(std::vector<float>{0.5f, -0.5f}, QString("e-")));
        frame->RouteCommand(ID_ARB_UNDO);
        QCOMPARE(Table(device), drawn);
    }
};

QTEST_MAIN(ArbUndo)
#include "ArbUndo.moc"
