// Drawing Arb points with the mouse, the Points Edit dialog and the display's commands.
#include "DisplayTestSupport.h"

#include "app/CmdUI.h"
#include "dialogs/PointsEditDlg.h"
#include "res/Resource.h"
#include "view/WaveDisplay.h"
#include "widgets/NumEdit.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <cmath>

namespace {

// A 1020 x 420 display: plot 10..1010 x 10..410, so with 1001 points point i sits at x = 10 + i.
constexpr int kTop = 10;
constexpr int kBottom = 410;

int X(int point) {
    return 10 + point;
}

/// 1 when the display offers command `id`, 0 when it greys it, -1 when it is not its command.
int Offered(CWaveDisplay& display, int id) {
    CCmdUI ui(id);
    return display.UpdateCommand(ui) ? int(ui.m_bEnabled) : -1;
}

/// A display of its own record, drawn once so the plot and the scale are known.
struct Fixture {
    explicit Fixture(std::unique_ptr<CDDSDevice> record) : device(std::move(record)) {
        display.resize(1020, 420);
        display.SetDevice(device.get());
        display.Render();
    }
    std::unique_ptr<CDDSDevice> device;
    CWaveDisplay display;
};

} // namespace

class DisplayEditing : public QObject {
    Q_OBJECT

private slots:
    // From point 10 at the top to point 20 at the bottom in one move, either way round: every
    // point between lies on the line (point 15 at 0 V), nothing beside it changes.
    void fastDragsFillTheSkippedPoints() {
        for (bool leftward : {false, true}) {
            Fixture f(MakeArbDevice(1001));
            QCOMPARE(f.device->m_fPixelsPerPoint, 1.0f);
            const QPoint top(X(10), kTop), bottom(X(20), kBottom);
            const QPoint from = leftward ? bottom : top, to = leftward ? top : bottom;
            Send(&f.display, QEvent::MouseButtonPress, from);
            QCOMPARE(f.display.m_bDragging, 1);
            Send(&f.display, QEvent::MouseMove, from);
            Send(&f.display, QEvent::MouseMove, to);
            QCOMPARE(std::pair(float(f.device->m_fArb[10]), float(f.device->m_fArb[20])),
                     std::pair(3.5f, -3.5f));
            QVERIFY(std::fabs(f.device->m_fArb[15]) < 1e-6f);
            for (int k = 11; k < 20; ++k)
                QVERIFY(std::fabs(f.device->m_fArb[k] - (3.5f - 0.7f * (k - 10))) < 1e-5f);
            // Nothing beside the line changes, and nothing is sent while drawing.
            QCOMPARE(std::tuple(float(f.device->m_fArb[9]), float(f.device->m_fArb[21]),
                                f.display.m_nCursorIndex, TakeDownloads(*f.device)),
                     std::tuple(0.0f, 0.0f, leftward ? 10 : 20, 0));
            Send(&f.display, QEvent::MouseButtonRelease, to);
            QCOMPARE(f.display.m_bDragging, 0);
            QCOMPARE(TakeDownloads(*f.device), 1);
        }
    }

    void dragsStayInsideThePlotAndTheZoomWindow() {
        Fixture f(MakeArbDevice(1001, 1.0f));
        Send(&f.display, QEvent::MouseButtonPress, {X(50), kTop});
        Send(&f.display, QEvent::MouseButtonRelease, {X(50), kTop});
        QCOMPARE(std::pair(float(f.device->m_fArb[50]), TakeDownloads(*f.device)),
                 std::pair(1.0f, 1));
        Send(&f.display, QEvent::MouseButtonPress, {5, 200}); // outside the plot: starts nothing
        QCOMPARE(f.display.m_bDragging, 0);

        Send(&f.display, QEvent::MouseButtonPress, {X(100), 200});
        Send(&f.display, QEvent::MouseMove, {X(100), -60});
        QCOMPARE(float(f.device->m_fArb[100]), 3.5f);
        Send(&f.display, QEvent::MouseMove, {X(100), 900});
        QCOMPARE(float(f.device->m_fArb[100]), -3.5f);
        Send(&f.display, QEvent::MouseMove, {X(100), 210});
        QCOMPARE(float(f.device->m_fArb[100]), 0.0f);

        // Zoomed to points 400 to 600 across the plot's width, a drag beyond it draws nothing.
        f.device->m_nViewFirst = 400;
        f.device->m_nViewLast = 600;
        f.display.Render();
        QCOMPARE(f.device->m_fPixelsPerPoint, 5.0f);
        Send(&f.display, QEvent::MouseButtonPress, {10, kTop});
        Send(&f.display, QEvent::MouseMove, {10, kTop});
        Send(&f.display, QEvent::MouseMove, {1010, kTop});
        Send(&f.display, QEvent::MouseMove, {1019, kBottom});
        Send(&f.display, QEvent::MouseMove, {-40, kBottom});
        for (int k = 400; k <= 600; ++k)
            QCOMPARE(float(f.device->m_fArb[k]), 3.5f);
        QCOMPARE(std::pair(float(f.device->m_fArb[399]), float(f.device->m_fArb[601])),
                 std::pair(1.0f, 1.0f));
    }

    // A double click opens Points Edit at its point and the command at the window's start; other
    // wave types ignore the mouse and the command.
    void pointsEditOpensWhereExpectedAndOnlyOnArb() {
        auto device = MakeArbDevice(1000, 1.0f);
        device->m_nArbPoints = 250;
        Fixture f(std::move(device));
        int started = -1;
        f.display.m_runPointsEdit = [&](int index) { started = index; };
        const int x = f.display.m_rcPlot.left() + 100;
        Send(&f.display, QEvent::MouseButtonDblClick, {x, 200});
        QCOMPARE(std::pair(started, TakeDownloads(*f.device)),
                 std::pair(100, 1)); // a pixel a point
        started = -1;
        Send(&f.display, QEvent::MouseButtonDblClick, {3, 200}); // outside: download only
        QCOMPARE(std::pair(started, TakeDownloads(*f.device)), std::pair(-1, 1));
        f.device->m_fViewPos = 0.5f;
        QVERIFY(f.display.HandleCommand(ID_POINTS_EDIT));
        // At (1000 - 250) x 0.5; the edited points are sent.
        QCOMPARE(std::pair(started, TakeDownloads(*f.device)), std::pair(375, 1));
        QCOMPARE(Offered(f.display, ID_POINTS_EDIT), 1);

        started = -1;
        f.device->m_nWaveType = WAVE_SQUARE;
        Send(&f.display, QEvent::MouseButtonPress, {X(10), kTop});
        Send(&f.display, QEvent::MouseMove, {X(20), kBottom});
        Send(&f.display, QEvent::MouseButtonRelease, {X(20), kBottom});
        Send(&f.display, QEvent::MouseButtonDblClick, {X(20), kBottom});
        QVERIFY(f.display.HandleCommand(ID_POINTS_EDIT));
        QCOMPARE(std::tuple(started, float(f.device->m_fArb[20]), TakeDownloads(*f.device),
                            Offered(f.display, ID_POINTS_EDIT)),
                 std::tuple(-1, 1.0f, 0, 0));
    }

    // A 1000-point table: the window at each level at either end of the slider, Zoom In offered
    // while it acts, level 4 away from the end zooming in once more and the next view falling
    // back to level 0; other wave types and fewer than 200 points never zoom.
    void zoomFollowsTheSliderAndItsLevels() {
        Fixture f(MakeArbDevice(1000));
        CDDSDevice& d = *f.device;
        QSlider slider(Qt::Horizontal);
        slider.setRange(0, 1000);
        slider.setValue(1000);
        f.display.SetSlider(&slider);
        auto window = [&](float pos) {
            f.display.ComputeView(pos);
            return QPoint(pos == 0.0f ? d.m_nViewFirst : d.m_nViewLast,
                          d.m_nViewLast - d.m_nViewFirst + 1);
        };
        const int atEnd[] = {1000, 500, 333, 250, 200}, awayFromEnd[] = {1000, 501, 334, 251, 201};
        QCOMPARE(Offered(f.display, ID_ZOOM_OUT), 0);
        for (int level = 0; level <= 4; ++level) {
            QCOMPARE(int(d.m_nZoom), level);
            QCOMPARE(window(0.0f), QPoint(0, awayFromEnd[level]));
            QCOMPARE(window(1.0f), QPoint(999, atEnd[level]));
            QCOMPARE(Offered(f.display, ID_ZOOM_IN), int(level < 4));
            QVERIFY(f.display.HandleCommand(ID_ZOOM_IN));
        }
        QCOMPARE(int(d.m_nZoom), 4); // 200 points at the end: no further level
        QVERIFY(f.display.HandleCommand(ID_ZOOM_OUT));
        QCOMPARE(int(d.m_nZoom), 3);
        d.m_nWaveType = WAVE_SINE; // other wave types neither zoom out nor offer it
        f.display.HandleCommand(ID_ZOOM_OUT);
        QCOMPARE(QPoint(d.m_nZoom, Offered(f.display, ID_ZOOM_OUT)), QPoint(3, 0));

        // Away from the end level 4 still zooms in (3 to 4 to 5); the next view falls back to 0.
        d.m_nWaveType = WAVE_ARB;
        slider.setValue(250);
        f.display.HandleCommand(ID_ZOOM_IN);
        f.display.HandleCommand(ID_ZOOM_IN);
        QCOMPARE(int(d.m_nZoom), 5);
        f.display.ComputeView(0.25f);
        QCOMPARE(QPoint(d.m_nZoom, d.m_nViewLast - d.m_nViewFirst + 1), QPoint(0, 1000));
        QCOMPARE(float(d.m_fViewPos), 0.0f);
        f.display.HandleCommand(ID_ZOOM_OUT);
        QCOMPARE(QPoint(d.m_nZoom, Offered(f.display, ID_ZOOM_OUT)), QPoint(0, 0));

        d.m_nPointsPerPeriod = 150; // fewer than 200 points never zoom
        slider.setValue(500);
        f.display.HandleCommand(ID_ZOOM_IN);
        QCOMPARE(QPoint(d.m_nZoom, Offered(f.display, ID_ZOOM_IN)), QPoint(0, 0));
        QCOMPARE(QPoint(d.m_nViewFirst, d.m_nViewLast), QPoint(0, 149));
        QCOMPARE(Offered(f.display, ID_FILE_PRINT_SETUP), -1);
        QVERIFY(!f.display.HandleCommand(ID_FILE_PRINT_SETUP));
    }

    void colourChooserCancelKeepsTheColour() {
        Fixture f(MakeArbDevice(1000));
        for (bool accept : {false, true}) { // cancelled for the background, accepted for the cursor
            QTimer::singleShot(0, [accept] {
                auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                dialog->setCurrentColor(QColor(1, 2, 3));
                accept ? dialog->accept() : dialog->reject();
            });
            f.display.HandleCommand(accept ? ID_CURSOR_COLOR : ID_BACKGROUND_COLOR);
        }
        QCOMPARE(std::pair(f.display.m_crBack, f.display.m_crCursor),
                 std::pair(QColor(30, 0, 50), QColor(1, 2, 3)));
        f.display.Render();
        QCOMPARE(QColor(f.display.Picture().pixel(20, 20)), QColor(30, 0, 50));
    }

    void pointsEditClampsIndexAndVoltage() {
        auto device = MakeArbDevice(1000, 0.5f);
        int cursor = -1;
        CPointsEditDlg dialog(
            *device, 999, [&](int index) { cursor = index; }, EnglishTexts());
        QCOMPARE(std::tuple(dialog.windowTitle(), cursor, dialog.VoltField()->text()),
                 std::tuple(QString("Edit Points"), 999, QString("0.500")));
        const auto index = [&dialog] {
            return std::pair(dialog.m_nIndex, dialog.IndexField()->text());
        };
        dialog.NextButton()->click();
        QCOMPARE(index(), std::pair(999, QString("999")));

        dialog.IndexField()->clear();
        QTest::keyClicks(dialog.IndexField(), "5000");
        QCOMPARE(index(), std::pair(999, QString("999")));

        dialog.IndexField()->selectAll();
        QTest::keyClicks(dialog.IndexField(), "7");
        QCOMPARE(cursor, 7);
        dialog.VoltField()->selectAll();
        QTest::keyClicks(dialog.VoltField(), "12");
        QCOMPARE(float(device->m_fArb[7]), 10.0f);
        dialog.VoltField()->selectAll();
        QTest::keyClicks(dialog.VoltField(), "-2.25");
        QTest::keyClick(dialog.VoltField(), Qt::Key_Return); // the hidden Refresh button
        QCOMPARE(float(device->m_fArb[7]), -2.25f);
        QCOMPARE(dialog.result(), 0); // Return refreshes; it does not accept the dialog

        dialog.PreviousButton()->click();
        QCOMPARE(cursor, 6);
        QCOMPARE(dialog.VoltField()->text(), QStringLiteral("0.500"));
        dialog.show(); // Return presses the focused button
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.PreviousButton()->setFocus();
        QTest::keyClick(dialog.PreviousButton(), Qt::Key_Return);
        QCOMPARE(cursor, 5);
        for (int i = 0; i < 10; ++i)
            dialog.PreviousButton()->click();
        QCOMPARE(std::tuple(dialog.m_nIndex, float(device->m_fArb[7]), float(device->m_fArb[999])),
                 std::tuple(0, -2.25f, 0.5f));
    }
};

QTEST_MAIN(DisplayEditing)
#include "DisplayEditing.moc"
