// The program's side of remote control, with a stand-in for the TCP server: commands of a
// remote session show on the panel, the registry and the Remote Control setting.
#include "AppTestSupport.h"
#include "app/FrameDeviceRegistry.h"
#include "app/RemoteControl.h"
#include "control/DeviceControl.h"
#include "dialogs/RemoteControlDlg.h"
#include "i18n/IniFile.h"
#include "instrument/ScpiInstrument.h"
#include "scpi/ScpiSession.h"
#include "widgets/LED.h"
#include "widgets/OnOff.h"
#include "widgets/StepEdit.h"

namespace {

/// Listens wherever it is told, with one client.
class CFakeEndpoint : public CRemoteEndpoint {
public:
    bool Listen(const std::string&, int port, QString&) override { return (m_nPort = port); }
    void Close() override { m_nPort = 0; }
    bool IsListening() const override { return m_nPort != 0; }
    int Port() const override { return m_nPort; }
    QStringList Clients() const override { return {QStringLiteral("127.0.0.1:40000")}; }
    CRemoteNotes Notes() const override {
        return {{CRemoteNote::VXI11_OFF, QStringLiteral("no rpcbind answers")},
                {CRemoteNote::DNSSD_ON, QStringLiteral("\"Model 0\"")}};
    }
    int m_nPort = 0;
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

    void registryNamesTabsAndHandsBackTheFileMenusMessages() {
        CProgram program(2);
        program.Open();
        program.Frame()->RenameDocument(1, QStringLiteral("Bench"));
        CFrameDeviceRegistry registry(*program.Frame());
        QCOMPARE(std::tuple(registry.Name(0), registry.Name(1)), std::tuple("Device 1", "Bench"));
        QVERIFY(registry.Control(1) == program.Doc(1)->m_pControl && !registry.Control(2));

        const QString missing = program.Folder() + QStringLiteral("/none.csv");
        std::string error;
        QVERIFY(!registry.LoadCsv(0, missing.toStdString(), error));
        QVERIFY(program.m_answerer.m_messages.isEmpty());
        program.Doc(0)->ReadCsvFile(missing); // File > Open's box says the same
        QTRY_COMPARE(program.m_answerer.m_messages, QStringList{QString::fromStdString(error)});

        const std::string saved = (program.Folder() + QStringLiteral("/w.csv")).toStdString();
        QVERIFY(registry.StoreCsv(0, saved, error) && registry.LoadCsv(1, saved, error));
        QCOMPARE(program.Device(1)->m_nWaveType, WAVE_ARB);
    }

    void settingRoundTripsAndGarbageFallsBackPerKey() {
        QTemporaryDir dir;
        const CSettingsFile file(dir.path().toStdString());
        QVERIFY(file.LoadRemote() == CSettingsFile::Remote{});
        const CSettingsFile::Remote set{true, 6000, "::1"};
        QCOMPARE(file.SaveRemote(set), 0u);
        QVERIFY(file.LoadRemote() == set);
        const QList<std::pair<std::string, const char*>> garbage = {
            {"Enabled", "yes"}, {"Port", "0"},        {"Port", "65536"},
            {"Port", "60x"},    {"Address", "1.2.3"}, {"Address", "localhost"}};
        for (const auto& [key, value] : garbage) {
            file.SaveRemote(set);
            CIniFile(file.GetPath()).WriteString("Remote", key, value, true);
            CSettingsFile::Remote expected = set;
            key == "Enabled" ? void(expected.bEnabled = false)
            : key == "Port"  ? void(expected.nPort = 5025)
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
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            return true;
        };
        QCOMPARE(program.Frame()->PaneText(3), "");
        item->trigger();
        QCOMPARE(program.Frame()->PaneText(3), "SCPI :6001");
        QVERIFY(CSettingsFile(program.Folder().toStdString()).LoadRemote() ==
                (CSettingsFile::Remote{true, 6001, "127.0.0.1"}));
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
        program.Frame()->StartRemote(6000);
        program.Frame()->OnTimer();
        QCOMPARE(program.Frame()->PaneText(3), "SCPI :6000");
        QVERIFY(!CSettingsFile(program.Folder().toStdString()).LoadRemote().bEnabled);
        // What the server says of VXI-11 and DNS-SD is the pane's tooltip, one line each.
        const auto* pane = program.Frame()->findChild<QLabel*>(QStringLiteral("paneRemote"));
        QVERIFY(pane);
        QCOMPARE(pane->toolTip(), "VXI-11 off, serving the raw socket alone: no rpcbind answers\n"
                                  "DNS-SD: announced as \"Model 0\"");
    }
};

QTEST_MAIN(AppRemote)
#include "AppRemote.moc"
