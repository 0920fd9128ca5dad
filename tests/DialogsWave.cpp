// The wave parameter and Period Number dialogs, over a bare device record or the whole
// program with its simulated generator; and the fields and spins they share with Points Edit.
#include "DisplayTestSupport.h"
#include "ViewTestSupport.h"

#include "control/DeviceControl.h"
#include "dialogs/AmFmDlg.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/DigitalInDlg.h"
#include "dialogs/DigitalOutDlg.h"
#include "dialogs/ExponentDlg.h"
#include "dialogs/PeriodNumberDlg.h"
#include "dialogs/PointsEditDlg.h"
#include "dialogs/RampDlg.h"
#include "dialogs/SquareDlg.h"
#include "dialogs/TrapeziaDlg.h"
#include "widgets/NumEdit.h"

namespace {

using Rules = CWaveParameterRules;

std::unique_ptr<CLanguageManager> Language(const char* name) {
    auto language = std::make_unique<CLanguageManager>(DDSTARN_SOURCE_DIR);
    language->RefreshLanguageFiles();
    language->SelectLanguage(language->FindLanguage(name)); // "English": the built-in one
    return language;
}

/// Acts on the next modal dialog, of type T, from inside its modal loop.
template <typename T> void OnModal(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(dialog);
    });
}

} // namespace

class DialogsWave : public QObject {
    Q_OBJECT

private slots:
    void documentOpensTheDialogsAndTheUnitFollows() {
        CViewHarness program(1);
        QTRY_VERIFY(!SimGetUnit(0).buffer.empty());
        QTest::mouseClick(program.View()->Control(IDC_WAVE_SQUARE), Qt::LeftButton);
        OnModal<CSquareDlg>([](CSquareDlg* dialog) {
            dialog->DutyField()->selectAll();
            QTest::keyClicks(dialog->DutyField(), "0.25");
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QVERIFY(program.Doc(0)->OnCommand(ID_WAVE_SQUARE));
        QCOMPARE(float(program.Device()->m_fSquareDuty), 0.25f); // Esc keeps what was applied
        const auto highShare = [] { // of the last download; above 0 V is below the middle code
            const std::vector<unsigned short> codes = SimGetUnit(0).buffer;
            return std::ranges::count_if(codes, [](int c) { return c < 2048; }) /
                   (codes.size() + 0.0);
        };
        QTRY_VERIFY(qAbs(highShare() - 0.25) < 0.01);

        OnModal<CPeriodNumberDlg>([](CPeriodNumberDlg* dialog) {
            dialog->NumberField()->setText(QStringLiteral("150"));
            dialog->accept();
        });
        QVERIFY(program.Doc(0)->OnCommand(ID_PERIOD_NUMBER));
        QCOMPARE(int(program.Device()->m_nPeriodNumber), 99);
    }

    void shapeDialogsFollowTheirKnobsAndFields() {
        CDDSDevice device;
        CDeviceControl control(device);
        CSquareDlg dialog(control, *m_pEnglish);
        QVERIFY(TakeDownloads(device) > 0); // showing the duty ran the change path
        // A knob that wrapped would turn its full turn into duty 0.
        const std::pair<double, const char*> turns[] = {
            {6.28, "1.000"}, {9.0, "1.000"}, {3.14, "0.500"}, {-1.0, "0.000"}, {1.0, "0.159"}};
        for (const auto& [knob, shown] : turns) {
            dialog.Knob()->SetValue(knob);
            emit dialog.Knob()->MouseMove(1, 0, 0, 0);
            QCOMPARE(std::tuple(dialog.DutyField()->text(), float(device.m_fSquareDuty),
                                TakeDownloads(device) > 0),
                     std::tuple(QString(shown), QString(shown).toFloat(), true));
        }
        dialog.DutyField()->setText(QStringLiteral("0.25"));
        QCOMPARE(dialog.Knob()->GetValue(), 0.25 * 6.28);
        QTest::keyClick(dialog.DutyField(), Qt::Key_Return); // no OK button: Enter closes
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        CRampDlg ramp(control, *m_pEnglish);
        ramp.DutyField()->setText(QStringLiteral("0.3"));
        QCOMPARE(QList<float>({device.m_fRampDuty, device.m_fSquareDuty}), QList({0.3f, 0.25f}));

        // Trapezia, from rise 0.2, high 0.4, fall 0.2. Part, typed, stored: 1 - high - rise,
        // then 1 - rise - fall, then 1 - high - fall.
        CTrapeziaDlg trapezia(control, *m_pEnglish);
        const std::tuple<Rules::TrapeziaPart, float, float> typed[] = {
            {Rules::TRAP_FALL, 0.1f, 0.1f},
            {Rules::TRAP_FALL, 0.9f, 0.4f},
            {Rules::TRAP_HIGH, 0.9f, 0.4f},
            {Rules::TRAP_RISE, 0.9f, 0.2f}};
        for (const auto& [part, value, stored] : typed) {
            trapezia.Field(part)->setText(QString::number(value));
            QCOMPARE(trapezia.Field(part)->text(), QString::number(value)); // until focus leaves
            const float fields[] = {device.m_fTrapRise, device.m_fTrapHigh, device.m_fTrapFall};
            QCOMPARE(fields[part], stored);
            QVERIFY(TakeDownloads(device) > 0);
        }
        // Opening shows fall, high, rise in turn, each giving way to those shown before it.
        device.m_fTrapRise = device.m_fTrapHigh = device.m_fTrapFall = 0.5f;
        CTrapeziaDlg again(control, *m_pEnglish);
        QCOMPARE(QList<float>({device.m_fTrapFall, device.m_fTrapHigh, device.m_fTrapRise}),
                 QList<float>({0.5f, 0.5f, 0.0f}));

        CExponentDlg exponent(control, *m_pEnglish);
        QCOMPARE(exponent.TauField()->text(), QStringLiteral("0.00100000"));
        QVERIFY(!exponent.RiseCheck()->isChecked() && TakeDownloads(device) > 0);
        exponent.RiseCheck()->click();
        QVERIFY(device.m_bExpFall == 0 && TakeDownloads(device) > 0);
        exponent.TauField()->setText(QStringLiteral("0.25"));
        QTest::keyClick(&exponent, Qt::Key_Escape);
        QVERIFY(device.m_fExpTau == 0.25f && TakeDownloads(device) > 0);
    }

    void amFmAndPointsEditApplyInOrderUpToANonNumber() {
        CDDSDevice device;
        CDeviceControl control(device);
        const QString integer = QString::fromUtf8(m_pEnglish->GetText(IDS_INTEGER_REQUIRED));
        const QString number = QString::fromUtf8(m_pEnglish->GetText(IDS_NUMBER_REQUIRED));
        // Fo, offset, depth typed; the warning; Fo, offset, depth stored (no range checked).
        const std::tuple<QStringList, QString, int, int, float> entries[] = {
            {{"2000", "x1", "0.7"}, integer, 2000, 3000, 0.5f},
            {{"2100", "100", "abc"}, number, 2100, 100, 0.5f},
            {{"2500", "-40", "2"}, QString(), 2500, -40, 2.0f}};
        CAmFmDlg dialog(control, *m_pEnglish);
        QLineEdit* fields[] = {dialog.CarrierField(), dialog.DeviationField(), dialog.DepthField()};
        dialog.FmCheck()->setChecked(true);
        for (const auto& [texts, warning, carrier, deviation, depth] : entries) {
            for (int i = 0; i < 3; ++i)
                fields[i]->setText(texts[i]);
            dialog.RefreshButton()->click();
            QCOMPARE(Warnings().join(QString()), warning);
            QCOMPARE((QList<double>{double(device.m_bFM), double(device.m_nModCarrier),
                                    double(device.m_nFmDeviation), device.m_fAmDepth}),
                     (QList<double>{1, double(carrier), double(deviation), depth}));
        }
        fields[2]->setText(QStringLiteral("0.3"));
        dialog.OkButton()->click();
        CAmFmDlg again(control, *m_pEnglish);
        QCOMPARE(again.DepthField()->text(), QStringLiteral("0.300000011920929"));
        again.CarrierField()->setText(QStringLiteral("1"));
        QTest::keyClick(&again, Qt::Key_Escape); // stores nothing
        QCOMPARE(int(device.m_nModCarrier), 2500);

        // Points Edit stores back a text equal to its neighbour's; it refuses non-integers.
        device.m_fArb[5] = 0.5f;
        device.m_fArb[6] = 0.5004f; // shows as 0.500, the text its neighbour left
        CPointsEditDlg points(device, 5, {}, *m_pEnglish);
        points.NextButton()->click();
        QCOMPARE(float(device.m_fArb[6]), 0.5f);
        points.IndexField()->selectAll();
        QTest::keyClicks(points.IndexField(), "a");
        QCOMPARE(Warnings() << points.IndexField()->text(), (QStringList{integer, "6"}));
        QTest::keyClick(points.IndexField(), Qt::Key_Backspace); // cleared to type anew
        QVERIFY(Warnings().isEmpty() && points.m_nIndex == 6);
    }

    void periodNumberClampsAndSpinsOnPressAndDialogsTakeTheLanguage() {
        CPeriodNumberDlg dialog(3, *m_pEnglish);
        // Typed, shown, the number kept, warned. Text that is no whole number, an empty field
        // and a lone sign too, is warned about and left as typed.
        const std::tuple<const char*, const char*, int, int> entries[] = {
            {"0", "1", 1, 0},   {"150", "99", 99, 0}, {"42", "42", 42, 0},
            {"007", "7", 7, 0}, {"", "", 7, 1},       {"-", "-", 7, 1},
            {"+", "+", 7, 1},   {"5a", "5a", 7, 1},   {"1.5", "1.5", 7, 1}};
        for (const auto& [typed, shown, number, warned] : entries) {
            dialog.NumberField()->setText(QLatin1String(typed));
            QCOMPARE(std::tuple(dialog.NumberField()->text(), dialog.m_nNumber, Warnings().size()),
                     std::tuple(QString(shown), number, qsizetype(warned)));
        }
        dialog.NumberField()->setText(QStringLiteral("99"));
        dialog.Spin()->UpButton()->click();
        QCOMPARE(dialog.m_nNumber, 99);
        // A spin arrow steps when pressed, repeats while held, and adds nothing on release.
        dialog.show();
        QTest::mousePress(dialog.Spin()->DownButton(), Qt::LeftButton);
        QCOMPARE(dialog.NumberField()->text(), QStringLiteral("98"));
        QTRY_VERIFY(dialog.m_nNumber <= 96);
        const int held = dialog.m_nNumber;
        QTest::mouseRelease(dialog.Spin()->DownButton(), Qt::LeftButton);
        QCOMPARE(dialog.m_nNumber, held);

        // Captions and texts follow the language (reading the Chinese file is the menus' test).
        const auto german = Language("Deutsch");
        CDDSDevice device;
        CDeviceControl control(device);
        QCOMPARE(QStringList({CSquareDlg(control, *german).windowTitle(),
                              CTrapeziaDlg(control, *german).windowTitle(),
                              CPeriodNumberDlg(3, *german).windowTitle(),
                              CExponentDlg(control, *german).RiseCheck()->text()}),
                 QStringList({"Rechteck", "Trapez", "Periodenzahl", "Steigend"}));
    }

    // Each dialog has its template's font and its size in dialog units of that font; where the
    // language has no text, a control keeps the template's.
    void dialogsHaveTheirTemplatesFontSizeAndTexts() {
        // Dialog units to pixels, with the base units of a font (average width, height).
        const std::tuple<QSize, QSize, QSize> conversions[] = {{{636, 470}, {6, 13}, {954, 764}},
                                                               {{4, 8}, {7, 15}, {7, 15}},
                                                               {{1, 1}, {7, 16}, {2, 2}}};
        for (const auto& [units, base, pixels] : conversions)
            QCOMPARE(CDialogUnits::ToPixels(units, base), pixels);

        const CLanguageManager none; // no language file: no texts
        CDDSDevice device;
        CDeviceControl control(device);
        const auto rangeText = [](const QDialog& dialog) {
            for (const QLabel* label : dialog.findChildren<QLabel*>())
                if (label->property("ctrlId").toInt() == IDC_TXT_RANGE)
                    return label->text();
            return QString();
        };
        // Dialog, points, template size, its pixels in Liberation Sans of that size on a 96 dpi
        // screen (10 points: 8 x 15 pixels a character, 9 points: 7 x 14), a template text.
        using Make = std::function<std::unique_ptr<QDialog>()>;
        const std::tuple<Make, int, QSize, QSize, QString> dialogs[] = {
            {[&] { return std::make_unique<CSquareDlg>(control, none); },
             10,
             {159, 71},
             {318, 133},
             "Range:0.0-1.0"},
            {[&] { return std::make_unique<CRampDlg>(control, none); },
             10,
             {146, 68},
             {292, 128},
             "(Range:0.0-1.0)"},
            {[&] { return std::make_unique<CTrapeziaDlg>(control, none); },
             10,
             {175, 55},
             {350, 103},
             ""},
            {[&] { return std::make_unique<CExponentDlg>(control, none); },
             10,
             {187, 57},
             {374, 107},
             ""},
            {[&] { return std::make_unique<CAmFmDlg>(control, none); },
             10,
             {187, 94},
             {374, 176},
             "Range:0.0-1.0"},
            {[&] { return std::make_unique<CPeriodNumberDlg>(3, none); },
             10,
             {187, 46},
             {374, 86},
             ""},
            {[&] { return std::make_unique<CDigitalOutDlg>(control, none); },
             9,
             {187, 79},
             {327, 138},
             "Digital Out Pin"},
            {[&] { return std::make_unique<CDigitalInDlg>(device, none); },
             9,
             {187, 64},
             {327, 112},
             "Digital In Pin"}};
        for (const auto& [make, points, units, pixels, text] : dialogs) {
            const std::unique_ptr<QDialog> dialog = make();
            const QFontInfo font(dialog->font());
            QCOMPARE(std::tuple(font.family(), font.pointSize()),
                     std::tuple(QStringLiteral("Liberation Sans"), points));
            QCOMPARE(dialog->size(), pixels);
            QCOMPARE(CDialogUnits::ToPixels(units, CDialogUnits::BaseUnits(dialog->font())),
                     pixels);
            const auto* group = dialog->findChild<QGroupBox*>();
            QCOMPARE(group ? group->title() : rangeText(*dialog), text);
        }
    }

private:
    /// Texts of the warnings confirmed since the last call.
    QStringList Warnings() { return std::exchange(m_answerer.m_messages, {}); }

    std::unique_ptr<CLanguageManager> m_pEnglish = Language("English");
    CModalAnswerer m_answerer; // confirms the warnings at once and keeps their texts
};

QTEST_MAIN(DialogsWave)
#include "DialogsWave.moc"
