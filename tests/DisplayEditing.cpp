// Drawing Arb points with the mouse, the Points Edit dialog and the display's commands.
#include "DisplayTestSupport.h"

#include "app/CmdUI.h"
#include "dialogs/PointsEditDlg.h"
#include "i18n/LanguageManager.h"
#include "res/Resource.h"
#include "view/PointEditor.h"
#include "view/WaveDisplay.h"
#include "widgets/NumEdit.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

// A 1020 x 420 display: plot 10..1010 x 10..410, so with 1001 points point i sits at x = 10 + i.
constexpr int kWidth = 1020;
constexpr int kHeight = 420;
constexpr int kTop = 10;
constexpr int kBottom = 410;

int X(int point) {
    return 10 + point;
}

void Send(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : button,
                      type == QEvent::MouseMove ? Qt::MouseButtons(Qt::NoButton) : held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

int CountDownloads(CDDSDevice& device) {
    const std::vector<int> pending = device.PendingCommands();
    return static_cast<int>(std::count(pending.begin(), pending.end(), CMD_DOWNLOAD));
}

/// A display of its own record, drawn once so the plot and the scale are known.
struct Fixture {
    explicit Fixture(std::unique_ptr<CDDSDevice> record) : device(std::move(record)) {
        display.resize(kWidth, kHeight);
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
    void fastDragsFillTheSkippedPoints_data() {
        QTest::addColumn<bool>("leftward");
        QTest::newRow("rightward") << false;
        QTest::newRow("leftward") << true;
    }
    void fastDragsFillTheSkippedPoints() {
        QFETCH(bool, leftward);
        Fixture f(MakeArbDevice(1001));
        QCOMPARE(f.device->m_fPixelsPerPoint, 1.0f);
        const QPoint top(X(10), kTop), bottom(X(20), kBottom);
        const QPoint from = leftward ? bottom : top, to = leftward ? top : bottom;
        Send(&f.display, QEvent::MouseButtonPress, from);
        QCOMPARE(f.display.m_bDragging, 1);
        Send(&f.display, QEvent::MouseMove, from);
        Send(&f.display, QEvent::MouseMove, to);
        QCOMPARE(float(f.device->m_fArb[10]), 3.5f);
        QCOMPARE(float(f.device->m_fArb[20]), -3.5f);
        QVERIFY(std::fabs(f.device->m_fArb[15]) < 1e-6f);
        for (int k = 11; k < 20; ++k)
            QVERIFY(std::fabs(f.device->m_fArb[k] - (3.5f - 0.7f * (k - 10))) < 1e-5f);
        QCOMPARE(float(f.device->m_fArb[9]), 0.0f);
        QCOMPARE(float(f.device->m_fArb[21]), 0.0f);
        QCOMPARE(f.display.m_nCursorIndex, leftward ? 10 : 20);
        QCOMPARE(CountDownloads(*f.device), 0); // nothing is sent while drawing
        Send(&f.display, QEvent::MouseButtonRelease, to);
        QCOMPARE(f.display.m_bDragging, 0);
        QCOMPARE(CountDownloads(*f.device), 1);
    }

    void dragsAboveAndBelowThePlotWriteFullScale() {
        Fixture f(MakeArbDevice(1001));
        Send(&f.display, QEvent::MouseButtonPress, {X(100), 200});
        Send(&f.display, QEvent::MouseMove, {X(100), -60});
        QCOMPARE(float(f.device->m_fArb[100]), 3.5f);
        Send(&f.display, QEvent::MouseMove, {X(100), 900});
        QCOMPARE(float(f.device->m_fArb[100]), -3.5f);
        Send(&f.display, QEvent::MouseMove, {X(100), 210});
        QCOMPARE(float(f.device->m_fArb[100]), 0.0f);
        QCOMPARE(CPointEditor::PixelToVolt(kTop + 1, f.display.m_rcPlot), 3.5f - 2 * 3.5f / 400);
    }

    void pressAndReleaseRequestADownloadWithoutChangingPoints() {
        Fixture f(MakeArbDevice(1001, 1.0f));
        Send(&f.display, QEvent::MouseButtonPress, {X(50), kTop});
        Send(&f.display, QEvent::MouseButtonRelease, {X(50), kTop});
        QCOMPARE(float(f.device->m_fArb[50]), 1.0f);
        QCOMPARE(CountDownloads(*f.device), 1);
        // A press outside the plot starts nothing.
        Send(&f.display, QEvent::MouseButtonPress, {5, 200});
        QCOMPARE(f.display.m_bDragging, 0);
    }

    void theZoomWindowBoundsWhatCanBeDrawn() {
        auto device = MakeArbDevice(1000);
        device->m_nViewFirst = 400;
        device->m_nViewLast = 600;
        Fixture f(std::move(device));
        QCOMPARE(f.device->m_fPixelsPerPoint, 5.0f);
        QCOMPARE(CPointEditor::PixelToIndex(1010, f.display.m_rcPlot, *f.device), 600);
        QCOMPARE(CPointEditor::PixelToIndex(10, f.display.m_rcPlot, *f.device), 400);
        Send(&f.display, QEvent::MouseButtonPress, {10, kTop});
        Send(&f.display, QEvent::MouseMove, {10, kTop});
        Send(&f.display, QEvent::MouseMove, {1010, kTop});
        Send(&f.display, QEvent::MouseMove, {1019, kBottom}); // beyond the plot: ignored
        Send(&f.display, QEvent::MouseMove, {-40, kBottom});
        for (int k = 400; k <= 600; ++k)
            QCOMPARE(float(f.device->m_fArb[k]), 3.5f);
        QCOMPARE(float(f.device->m_fArb[399]), 0.0f);
        QCOMPARE(float(f.device->m_fArb[601]), 0.0f);
    }

    void otherWaveTypesIgnoreTheMouse() {
        auto device = MakeArbDevice(1001, 1.0f);
        device->m_nWaveType = WAVE_SQUARE;
        Fixture f(std::move(device));
        f.display.m_rcPlot = QRect(QPoint(10, 10), QPoint(1010, 410));
        bool dialogRun = false;
        f.display.m_runPointsEdit = [&](int) { dialogRun = true; };
        Send(&f.display, QEvent::MouseButtonPress, {X(10), kTop});
        Send(&f.display, QEvent::MouseMove, {X(20), kBottom});
        Send(&f.display, QEvent::MouseButtonRelease, {X(20), kBottom});
        Send(&f.display, QEvent::MouseButtonDblClick, {X(20), kBottom});
        QVERIFY(!dialogRun);
        QCOMPARE(float(f.device->m_fArb[20]), 1.0f);
        QCOMPARE(CountDownloads(*f.device), 0);
        QVERIFY(f.display.HandleCommand(ID_POINTS_EDIT));
        QVERIFY(!dialogRun);
        CCmdUI ui(ID_POINTS_EDIT);
        QVERIFY(f.display.UpdateCommand(ui));
        QVERIFY(!ui.m_bEnabled);
    }

    void doubleClickAndCommandOpenPointsEditWhereExpected() {
        auto device = MakeArbDevice(1000);
        device->m_nArbPoints = 250;
        Fixture f(std::move(device));
        int started = -1;
        f.display.m_runPointsEdit = [&](int index) { started = index; };
        const int x = f.display.m_rcPlot.left() + 100;
        Send(&f.display, QEvent::MouseButtonDblClick, {x, 200});
        QCOMPARE(started, CPointEditor::PixelToIndex(x, f.display.m_rcPlot, *f.device));
        QCOMPARE(CountDownloads(*f.device), 1);
        while (f.device->TakeCommand() != 0) {
        }
        started = -1;
        Send(&f.display, QEvent::MouseButtonDblClick, {3, 200}); // outside: download only
        QCOMPARE(started, -1);
        QCOMPARE(CountDownloads(*f.device), 1);

        f.device->m_fViewPos = 0.5f;
        QVERIFY(f.display.HandleCommand(ID_POINTS_EDIT));
        QCOMPARE(started, 375); // (1000 - 250) x 0.5
        CCmdUI ui(ID_POINTS_EDIT);
        f.display.UpdateCommand(ui);
        QVERIFY(ui.m_bEnabled);
    }

    // The zoom levels themselves are the zoom window's rules; here: the commands and their
    // states follow the slider and the wave type.
    void zoomCommandsFollowTheSliderAndTheirRules() {
        Fixture f(MakeArbDevice(1000));
        QSlider slider(Qt::Horizontal);
        slider.setRange(0, 1000);
        slider.setValue(1000);
        f.display.SetSlider(&slider);
        auto enabled = [&](int id) {
            CCmdUI ui(id);
            return f.display.UpdateCommand(ui) && ui.m_bEnabled;
        };
        QVERIFY(enabled(ID_ZOOM_IN) && !enabled(ID_ZOOM_OUT));
        for (int level = 1; level <= 4; ++level) {
            QVERIFY(f.display.HandleCommand(ID_ZOOM_IN));
            f.display.ComputeView(1.0f);
            QCOMPARE(int(f.device->m_nZoom), level);
        }
        QVERIFY(!enabled(ID_ZOOM_IN));
        f.display.HandleCommand(ID_ZOOM_OUT);
        QCOMPARE(int(f.device->m_nZoom), 3);
        f.device->m_nWaveType = WAVE_SINE;
        f.display.HandleCommand(ID_ZOOM_OUT);
        QCOMPARE(int(f.device->m_nZoom), 3);
        QVERIFY(!enabled(ID_ZOOM_OUT));
        CCmdUI other(ID_FILE_PRINT_SETUP);
        QVERIFY(!f.display.UpdateCommand(other));
        QVERIFY(!f.display.HandleCommand(ID_FILE_PRINT_SETUP));
    }

    void colourChooserCancelKeepsTheColour() {
        Fixture f(MakeArbDevice(1000));
        auto answer = [](bool accept) {
            QTimer::singleShot(0, [accept] {
                auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                dialog->setCurrentColor(QColor(1, 2, 3));
                accept ? dialog->accept() : dialog->reject();
            });
        };
        answer(false);
        f.display.HandleCommand(ID_BACKGROUND_COLOR);
        QCOMPARE(f.display.m_crBack, QColor(30, 0, 50));
        answer(true);
        f.display.HandleCommand(ID_CURSOR_COLOR);
        QCOMPARE(f.display.m_crCursor, QColor(1, 2, 3));
        QCOMPARE(f.display.m_crCurve, QColor(255, 255, 0));
        f.display.Render();
        QCOMPARE(QColor(f.display.Picture().pixel(20, 20)), QColor(30, 0, 50));
    }

    void pointsEditClampsIndexAndVoltage() {
        auto device = MakeArbDevice(1000, 0.5f);
        CLanguageManager language;
        language.RefreshLanguageFiles();
        language.LoadLanguage(-1);
        int cursor = -1;
        CPointsEditDlg dialog(
            *device, 999, [&](int index) { cursor = index; }, language);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Points"));
        QCOMPARE(cursor, 999);
        QCOMPARE(dialog.VoltField()->text(), QStringLiteral("0.500"));
        dialog.NextButton()->click();
        QCOMPARE(dialog.m_nIndex, 999);
        QCOMPARE(dialog.IndexField()->text(), QStringLiteral("999"));

        dialog.IndexField()->clear();
        QTest::keyClicks(dialog.IndexField(), "5000");
        QCOMPARE(dialog.IndexField()->text(), QStringLiteral("999"));
        QCOMPARE(dialog.m_nIndex, 999);

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
        QCOMPARE(dialog.m_nIndex, 0);
        QCOMPARE(float(device->m_fArb[7]), -2.25f);
        QCOMPARE(float(device->m_fArb[999]), 0.5f);
    }
};

QTEST_MAIN(DisplayEditing)
#include "DisplayEditing.moc"
