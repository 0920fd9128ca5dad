// Panel controls: values set from code stay silent, user actions report once and after the
// change, and the knob follows the pointer across the top mark.
#include "widgets/LED.h"
#include "widgets/LeftRight.h"
#include "widgets/OnOff.h"
#include "widgets/TurnButton.h"

#include <QtTest>
#include <QtWidgets>
#include <cmath>
#include <numbers>

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

/// Drags the knob along the given points with the left button held.
void Drag(CTurnButton& knob, const QList<QPointF>& path) {
    SendMouse(&knob, QEvent::MouseButtonPress, path.first(), Qt::LeftButton, Qt::LeftButton);
    for (const QPointF& p : path.mid(1))
        SendMouse(&knob, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    SendMouse(&knob, QEvent::MouseButtonRelease, path.last(), Qt::LeftButton, Qt::NoButton);
}

/// Pointer position at a knob angle, radius r from the centre of an 82 × 83 knob.
QPointF At(double angle, double r = 30.0) {
    const QPointF c = CTurnButton::FaceRect(QRectF(0, 0, 82, 83)).center();
    const double rad = angle * 2.0 * std::numbers::pi / CTurnButton::kTurn;
    return {c.x() + r * std::sin(rad), c.y() - r * std::cos(rad)};
}

int Brightness(QWidget& w, QPoint p) {
    return qGray(w.grab().toImage().pixel(p));
}

} // namespace

class WidgetsControls : public QObject {
    Q_OBJECT

private slots:
    void SwitchFromCodeIsSilentAndPressTogglesBeforeReportingOnce() {
        COnOff sw;
        sw.resize(sw.sizeHint());
        QList<QList<int>> seen; // button, x, y, and the value when reported
        connect(&sw, &COnOff::MouseDown, &sw, [&](int button, int, int x, int y) {
            seen << QList<int>{button, x, y, sw.GetValue()};
        });
        QSignalSpy toggled(&sw, &QAbstractButton::toggled);
        sw.SetValue(true);
        sw.setProperty("Value", false);
        sw.SetValue(true);
        QVERIFY(sw.GetValue() && seen.isEmpty() && toggled.isEmpty());
        // The lit cap is brighter than the dark one, on the switch and on the LED.
        const int lit = Brightness(sw, {16, 9});
        sw.setProperty("Value", false);
        QVERIFY(lit > Brightness(sw, {16, 9}) + 60);
        CLED led;
        led.resize(led.sizeHint());
        const int dark = Brightness(led, {6, 6});
        led.SetValue(true);
        QVERIFY(Brightness(led, {6, 6}) > dark + 60);

        SendMouse(&sw, QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&sw, QEvent::MouseButtonRelease, {5, 6}, Qt::LeftButton, Qt::NoButton);
        QTest::mouseClick(&sw, Qt::RightButton, {}, {5, 6});
        QTest::keyClick(&sw, Qt::Key_Space); // no button, at the centre
        sw.setEnabled(false);
        QTest::mouseClick(&sw, Qt::LeftButton, {}, {5, 6});
        QCOMPARE(seen, (QList<QList<int>>{{1, 5, 6, 1}, {0, 15, 9, 0}}));

        // The lever reports its click once, after moving.
        CLeftRight lever;
        lever.resize(lever.sizeHint());
        QSignalSpy click(&lever, &CLeftRight::Click);
        lever.SetValue(true);
        QCOMPARE(click.count(), 0);
        bool during = true;
        connect(&lever, &CLeftRight::Click, &lever, [&] { during = lever.GetValue(); });
        QTest::mouseClick(&lever, Qt::LeftButton, {}, {20, 7});
        QCOMPARE(std::tuple(click.count(), during), std::tuple(1, false));
        QTest::keyClick(&lever, Qt::Key_Space);
        QCOMPARE(std::tuple(click.count(), lever.GetValue()), std::tuple(2, true));
        // The ball tip is drawn on the side the lever points to.
        const QRectF area(0, 0, 29, 14);
        QVERIFY(CLeftRight::TipCentre(area, false).x() < area.center().x() - 5 &&
                CLeftRight::TipCentre(area, true).x() > area.center().x() + 5);
    }

    void KnobReportsMoveThenUpAndFollowsThePointer() {
        CTurnButton knob;
        knob.resize(knob.sizeHint());
        QStringList events;
        connect(&knob, &CTurnButton::MouseDown, &knob, [&] { events << "down"; });
        connect(&knob, &CTurnButton::MouseMove, &knob,
                [&] { events << QString::number(knob.GetValue(), 'f', 2); });
        connect(&knob, &CTurnButton::MouseUp, &knob, [&] { events << "up"; });
        auto wheel = [&knob](int delta) {
            const QPointF c(41, 41);
            QWheelEvent event(c, knob.mapToGlobal(c), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&knob, &event);
        };
        knob.SetValue(0.02);
        // Down twice crosses the top mark backwards; half notches add up to one step.
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down})
            QTest::keyClick(&knob, key);
        wheel(120);
        wheel(-60);
        QCOMPARE(events.size(), 8);
        wheel(-60);
        QCOMPARE(events, (QStringList{"0.06", "up", "0.02", "up", "6.26", "up", "0.02", "up",
                                      "6.26", "up"}));

        // Dragging turns it by the pointer's sweep.
        knob.SetValue(1.0);
        QSignalSpy down(&knob, &CTurnButton::MouseDown);
        QSignalSpy move(&knob, &CTurnButton::MouseMove);
        QSignalSpy up(&knob, &CTurnButton::MouseUp);
        // Grabbing the knob does not make it jump to the pointer.
        Drag(knob, {At(3.0), At(3.5), At(4.0)});
        QVERIFY(qAbs(knob.GetValue() - 2.0) < 1e-6);
        QCOMPARE((QList<qsizetype>{down.count(), move.count(), up.count()}),
                 (QList<qsizetype>{1, 2, 1}));
        QCOMPARE(down.first().at(0).toInt(), 1);

        // Forward across the top mark: 6.0 + 0.5 wraps to 0.22.
        knob.SetValue(6.0);
        Drag(knob, {At(5.9), At(6.1), At(0.1), At(0.12)});
        QVERIFY(qAbs(knob.GetValue() - 0.22) < 1e-6);
        // And back again.
        Drag(knob, {At(0.12), At(6.2), At(6.0)});
        QVERIFY(qAbs(knob.GetValue() - 6.1) < 1e-6);

        // A knob with end stops holds at the end of the turn.
        knob.SetWrapping(false);
        Drag(knob, {At(6.0), At(6.2), At(0.5), At(1.0)});
        QCOMPARE(knob.GetValue(), CTurnButton::kTurn);
    }
};

QTEST_MAIN(WidgetsControls)
#include "WidgetsControls.moc"
