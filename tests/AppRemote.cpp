// The program's side of remote control, with a stand-in for the TCP server: commands of a
// remote session show on the panel, the registry and the Remote Control setting.
#include "AppTestSupport.h"
#include "app/ArbHistory.h"
#include "app/FrameDeviceRegistry.h"
#include "app/RemoteControl.h"
#include "control/DeviceControl.h"
#include "dialogs/RemoteControlDlg.h"
#include "dialogs/SweepDlg.h"
#include "i18n/IniFile.h"
#include "instrument/ScpiInstrument.h"
#include "scpi/ScpiSession.h"
#include "widgets/LED.h"
#include "widgets/OnOff.h"
#include "widgets/StepEdit.h"

#include <QDir>
#include <QFile>
#include <QPushButton>

namespace {

/// Listens wherever it is told, with one client.
class CFakeEndpoint : public CRemoteEndpoint {
public:
    bool Listen(const std::string&, int port, const std::string&, QString&) override {
        return (m_nPort = port);
    }
    void Close() override { m_nPort = 0; }
    bool IsListening() const override { return m_nPort != 0; }
    int Port() const override { return m_nPort; }
    QStringList Clients() const override { return {QStringLiteral("127.0.0.1:40000")}; }
    void SetWaveFolder(const std::string& path) override { s_strFolder = path; }
    CRemoteNotes Notes() const override {
        return {{CRemoteNote::VXI11_OFF, QStringLiteral("no rpcbind answers")},
                {CRemoteNote::DNSSD_ON, QStringLiteral("\"Model 0\"")}};
    }
    int m_nPort = 0;
    static inline std::string s_strFolder; ///< What the last endpoint was given.
};

} // namespace

class AppRemote : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        CRemoteControl::SetEndpointFactory(
            [](CDeviceRegistry&) { return std::make_unique<CFakeEndpoint>(); });
    }

    void remoteChangeShowsOnThePanelWithoutBeingSentAgainButNotOverTyping() {
        CProgram program(1);
        CMultiDDSTarnView* view = program.View();
        QTRY_VERIFY(view->Worker().IsRunning() && !SimGetUnit(0).buffer.empty());
        CFrameDeviceRegistry registry(*program.Frame());
        CScpiInstrument instrument(registry, "test");
        const std::unique_ptr<CScpiSession> session = instrument.NewSession();
        QCOMPARE(session->Feed("FUNC SQU;:FREQ 2.5kHz;:OUTP OFF;:SYST:ERR?\n"), "0,\"No error\"\n");
        QTRY_VERIFY(SimGetUnit(0).frequency == 2500.0 &&
                    program.Device()->PendingCommands().empty());
        QTest::qWait(20);
        SimClearLog();
        view->OnTimer();
        view->OnTimer();
        auto on = [view](int id) { return static_cast<COnOff*>(view->Control(id))->GetValue(); };
        QCOMPARE(static_cast<CStepEdit*>(view->Control(IDC_FREQUENCY))->text(), "2500.000");
        QVERIFY(on(IDC_WAVE_SQUARE) && !on(IDC_WAVE_SINE) && !on(IDC_SW_OUTPUT));
        QVERIFY(!static_cast<CLED*>(view->Control(IDC_LED_OUTPUT))->GetValue());
        QTest::qWait(300); // nothing programs the unit or downloads again
        QCOMPARE(SimCalls("DDSSetFrequency") + SimCalls("DDSDownload"), QStringList());

        // A field being typed in keeps the user's text until the focus leaves it.
        QVERIFY(program.Shown());
        auto* field = static_cast<CStepEdit*>(view->Control(IDC_AMPLITUDE));
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, "1.2");
        program.Doc(0)->m_pControl->SetAmplitude(3.0);
        view->OnTimer();
        QCOMPARE(field->text(), "1.2");
        view->Control(IDC_PHASE)->setFocus();
        view->OnTimer();
        QCOMPARE(field->text(), "3.000");
    }

    // While a sweep runs the Frequency field keeps the frequency entered, to which the sweep
    // returns; every other remote change still shows at the next tick, and so does a remote
    // frequency, as the new frequency entered.
    void panelKeepsTheFrequencyEnteredWhileASweepRuns() {
        CProgram program(1);
        CMultiDDSTarnView* view = program.View();
        CDeviceControl& control = *program.Doc(0)->m_pControl;
        CFrameDeviceRegistry registry(*program.Frame());
        CScpiInstrument instrument(registry, "test");
        const std::unique_ptr<CScpiSession> session = instrument.NewSession();
        const auto text = [view](int id) {
            return static_cast<CStepEdit*>(view->Control(id))->text();
        };
        QCOMPARE(session->Feed("FREQ:STAR 1000;STOP 1003;:SWE:DWEL 3600000;:SYST:ERR?\n"),
                 "0,\"No error\"\n");
        // How the sweep starts, takes its steps and stops.
        const std::tuple<const char*, std::function<void()>, std::function<void()>,
                         std::function<void()>>
            sweeps[] = {
                {"dialog", [] {}, [] {}, [] {}},
                {"remote linear", [&] { session->Feed("SWE:SPAC LIN;:SWE ON\n"); },
                 [&] { instrument.Tick(); }, [&] { session->Feed("SWE OFF\n"); }},
                {"remote logarithmic", [&] { session->Feed("SWE:SPAC LOG;:SWE ON\n"); },
                 [&] { instrument.Tick(); }, [&] { session->Feed("SWE OFF\n"); }},
            };
        for (const auto& [kind, start, step, stop] : sweeps) {
            static_cast<CStepEdit*>(view->Control(IDC_FREQUENCY))->setText(QStringLiteral("1234"));
            std::unique_ptr<CSweepDlg> dialog;
            if (QLatin1String(kind) == QLatin1String("dialog")) {
                dialog = std::make_unique<CSweepDlg>(control, program.Frame()->Language());
                dialog->OnOffButton()->click();
            } else {
                start();
            }
            for (int tick = 0; tick < 3; ++tick) {
                dialog ? dialog->OnTimer() : step();
                view->OnTimer();
            }
            QVERIFY2(program.Device()->m_dFrequency != 1234.0, kind); // a swept frequency
            QCOMPARE(text(IDC_FREQUENCY), QStringLiteral("1234"));    // as typed
            session->Feed("VOLT 3\n"); // peak-to-peak: the panel shows the peak
            view->OnTimer();
            QCOMPARE(text(IDC_AMPLITUDE), QStringLiteral("1.500"));
            session->Feed("FREQ 2000\n");
            dialog ? dialog->OnTimer() : step();
            view->OnTimer();
            QCOMPARE(text(IDC_FREQUENCY), QStringLiteral("2000.000"));
            dialog ? dialog->reject() : stop();
            view->OnTimer();
            QCOMPARE(std::tuple(double(program.Device()->m_dFrequency), text(IDC_FREQUENCY)),
                     std::tuple(2000.0, QStringLiteral("2000.000")));
            session->Feed("FREQ 3000;:VOLT 2\n");
            view->OnTimer();
            QCOMPARE(text(IDC_FREQUENCY), QStringLiteral("3000.000"));
        }
    }

    void registryNamesTabsAndHandsBackTheFileMenusMessages() {
        CProgram program(2);
        program.Open();
        program.Frame()->RenameDocument(1, QStringLiteral("Bench"));
        CFrameDeviceRegistry registry(*program.Frame());
        QCOMPARE(std::tuple(registry.Name(0), registry.Name(1)), std::tuple("Device 1", "Bench"));
        QVERIFY(registry.Control(1) == program.Doc(1)->m_pControl && !registry.Control(2));

        std::string error;
        CCsvFile::Target refusing{[] { return ENOENT; }, nullptr, "none.csv"};
        QVERIFY(!registry.StoreCsv(0, "/elsewhere/none.csv", &refusing, error));
        // Save As's message, handed back instead of shown, and nothing captured.
        QCOMPARE(error, std::string("Cann't Save file: none.csv: No such file or directory"));
        QVERIFY(program.m_answerer.m_messages.isEmpty());
        QCOMPARE(program.Device(0)->m_nWaveType, WAVE_SINE);

        // What was written through the target is read back and named inside its folder.
        std::string written;
        CCsvFile::Target keeping{[] { return 0; },
                                 [&written](const std::string& bytes) {
                                     written = bytes;
                                     return 0;
                                 },
                                 "w.csv"};
        const std::string saved = (program.Folder() + QStringLiteral("/w.csv")).toStdString();
        QVERIFY(registry.StoreCsv(0, saved, &keeping, error));
        CCsvFile::Wave wave;
        QVERIFY(CCsvFile::Parse(written, saved, wave, error) && registry.ApplyCsv(1, saved, wave));
        QCOMPARE(program.Device(1)->m_nWaveType, WAVE_ARB);
        QCOMPARE(program.Doc(1)->m_strFilePath, QString::fromStdString(saved));
    }

    void remoteFilesNameTheDocumentsSaveTargetOnlyInsideTheFolder() {
        CProgram program(1);
        const QString folder = program.Folder() + QStringLiteral("/waves");
        CFrameDeviceRegistry registry(*program.Frame());
        CScpiInstrument instrument(registry, "test", folder.toStdString());
        const std::unique_ptr<CScpiSession> session = instrument.NewSession();
        QDir().mkpath(folder + QStringLiteral("/sub"));
        QFile::link(QStringLiteral("../w.csv"), folder + QStringLiteral("/sub/in.csv"));
        CMultiDDSTarnDoc* doc = program.Doc(0);
        const QString inside = folder + QStringLiteral("/w.csv");
        const QString before = QStringLiteral("/before.csv");
        // Line, error, the document's file afterwards (a refused name leaves it as it was).
        const QList<std::tuple<QString, QString, QString>> rows = {
            {"MMEM:STOR:DATA 'w.csv'", "0,", inside},
            {"MMEM:LOAD:DATA '/etc/hostname'", "-257,", before},
            {"MMEM:LOAD:DATA 'sub/in.csv'", "0,", inside}, // the file the link leads to
            {"MMEM:STOR:DATA '../w.csv'", "-257,", before},
        };
        for (const auto& [line, error, file] : rows) {
            doc->m_strFilePath = before;
            session->Feed(line.toStdString() + "\n");
            QVERIFY2(QString::fromStdString(session->Feed("SYST:ERR?\n")).startsWith(error),
                     qPrintable(line));
            QCOMPARE(doc->m_strFilePath, file);
        }
        QVERIFY(!QFile::exists(program.Folder() + QStringLiteral("/w.csv")));
        QCOMPARE(doc->m_strFileName, QStringLiteral("w.csv"));
    }

    // A named wave becomes the Arb wave as an imported one does: on the panel, with an undo
    // step, and with no file name that Save would write over.
    void namedWaveTakesTheImportPathThroughTheDocument() {
        CProgram program(1);
        QTRY_VERIFY(program.View()->Worker().IsRunning());
        CFrameDeviceRegistry registry(*program.Frame());
        CScpiInstrument instrument(registry, "test");
        const std::unique_ptr<CScpiSession> session = instrument.NewSession();
        QVERIFY(!program.Doc(0)->ArbHistory()->CanUndo());
        // The wave waits for the unit to take 2000 Hz, as *OPC? would.
        std::string answer = session->Feed("DATA VOLATILE,0,1,0,-1;:FUNC:USER VOLATILE;"
                                           ":APPL:USER 2000,2,0.5;:SYST:ERR?\n");
        QTRY_VERIFY((answer += session->Poll(), !session->IsWaiting()));
        QCOMPARE(answer, "0,\"No error\"\n");
        const CDDSDevice& device = *program.Device();
        QCOMPARE(std::tuple(device.m_nWaveType.Get(), device.m_dFrequency.Get()),
                 std::tuple(WAVE_ARB, 2000.0));
        float high = -9.0f;
        for (int i = 0; i < device.m_nPointsPerPeriod; ++i)
            high = std::max<float>(high, device.m_fArb[std::size_t(i)]);
        QVERIFY(std::fabs(high - 1.5f) < 0.01f);
        QVERIFY(program.Doc(0)->ArbHistory()->CanUndo());
        QCOMPARE(program.Doc(0)->m_strFileName, QString::fromLatin1(CMultiDDSTarnDoc::kNoFile));
        program.View()->OnTimer();
        QVERIFY(static_cast<COnOff*>(program.View()->Control(IDC_WAVE_ARB))->GetValue());
    }

    void settingRoundTripsAndGarbageFallsBackPerKey() {
        QTemporaryDir dir;
        const CSettingsFile file(dir.path().toStdString());
        QVERIFY(file.LoadRemote() == CSettingsFile::Remote{});
        const CSettingsFile::Remote set{true, 6000, "::1", "10.0.0.0/8,::1", "/srv/waves"};
        QCOMPARE(file.SaveRemote(set), 0u);
        QVERIFY(file.LoadRemote() == set);
        const QList<std::pair<std::string, const char*>> garbage = {
            {"Enabled", "yes"},  {"Port", "0"},        {"Port", "65536"},
            {"Port", "60x"},     {"Address", "1.2.3"}, {"Address", "localhost"},
            {"DataDir", "waves"}};
        for (const auto& [key, value] : garbage) {
            file.SaveRemote(set);
            CIniFile(file.GetPath()).WriteString("Remote", key, value, true);
            CSettingsFile::Remote expected = set;
            key == "Enabled"   ? void(expected.bEnabled = false)
            : key == "Port"    ? void(expected.nPort = 5025)
            : key == "DataDir" ? void(expected.strDataDir.clear())
                               : void(expected.strAddress = "127.0.0.1");
            QVERIFY2(file.LoadRemote() == expected, value);
        }
    }

    void menuItemOpensTheDialogWhoseOkAppliesAndSaves() {
        CProgram program(1, 0, [](const QString& folder) {
            InstallLanguage(folder, QStringLiteral("German.lug"));
            WriteTextFile(folder + QStringLiteral("/language/Old.lug"),
                          "8888=Old\r\n80500=Wobble\r\n");
        });
        QTRY_VERIFY(!program.Frame()->isHidden());
        QAction* item = program.Frame()->Action(ID_REMOTE_CONTROL);
        QCOMPARE(item->text(), "Remote Control...");
        program.Frame()->SetLanguage(0); // German.lug
        QCOMPARE(item->text(), "Fernsteuerung...");
        program.Frame()->SetLanguage(1);             // Old.lug
        QCOMPARE(item->text(), "Remote Control..."); // the older file lacks it

        QStringList clients;
        program.m_answerer.m_answerOther = [&clients](QWidget* modal) {
            auto* dialog = qobject_cast<CRemoteControlDlg*>(modal);
            if (!dialog)
                return false;
            for (int i = 0; i < dialog->Clients()->count(); ++i)
                clients << dialog->Clients()->item(i)->text();
            dialog->Enable()->setChecked(true);
            dialog->Port()->setValue(6001);
            dialog->DataDir()->setText(QStringLiteral("/srv/lab waves/"));
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            return true;
        };
        QCOMPARE(program.Frame()->PaneText(3), "");
        item->trigger();
        QCOMPARE(program.Frame()->PaneText(3), "SCPI :6001");
        QVERIFY(CSettingsFile(program.Folder().toStdString()).LoadRemote() ==
                (CSettingsFile::Remote{true, 6001, "127.0.0.1", "", "/srv/lab waves"}));
        QCOMPARE(CFakeEndpoint::s_strFolder, "/srv/lab waves");
        item->trigger(); // listening now: the dialog lists the client
        QCOMPARE(clients, QStringList{"127.0.0.1:40000"});
    }

    void commandLineEnablesWithoutChangingTheSavedSetting() {
        const QList<std::pair<QStringList, int>> rows = {
            {{"--scpi"}, 5025}, {{"x", "--scpi=6000"}, 6000},
            {{"--scpi=0"}, 0},  {{"--scpi=7k"}, 0},
            {{"--scpix"}, 0},   {{}, 0}};
        for (const auto& [arguments, port] : rows)
            QCOMPARE(CMultiDDSTarnApp::ScpiPort(arguments), port);
        CProgram program(1);
        program.Frame()->StartRemote(6000, QStringLiteral("/srv/run"));
        program.Frame()->OnTimer();
        QCOMPARE(program.Frame()->PaneText(3), "SCPI :6000");
        QCOMPARE(CFakeEndpoint::s_strFolder, "/srv/run");
        const CSettingsFile::Remote saved =
            CSettingsFile(program.Folder().toStdString()).LoadRemote();
        QVERIFY(!saved.bEnabled && saved.strDataDir.empty());
        // What the server says of VXI-11 and DNS-SD is the pane's tooltip, one line each.
        const auto* pane = program.Frame()->findChild<QLabel*>(QStringLiteral("paneRemote"));
        QVERIFY(pane);
        QCOMPARE(pane->toolTip(), "VXI-11 off, serving the raw socket alone: no rpcbind answers\n"
                                  "DNS-SD: announced as \"Model 0\"");
    }
};

QTEST_MAIN(AppRemote)
#include "AppRemote.moc"
