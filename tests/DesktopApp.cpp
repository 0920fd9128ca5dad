// The program among the desktop's files and helpers: CSV files dropped on the main window or
// named on the command line.
#include "AppTestSupport.h"

namespace {

/// Drags the URLs onto a control and drops them; false when the drag was refused.
bool Drop(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    data.setText(urls.value(0).toLocalFile()); // as file managers offer it
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return true;
}

const QByteArray kWaveA =
    "#CLOCK=4000.000000\r\n#SIZE=4\r\n0,0,0\r\n1.75,0,0\r\n3.5,0,0\r\n1.75,0,0\r\n";
const QByteArray kWaveB = "#CLOCK=6000\n#SIZE=3\n-1,0,0\n0.5,0,0\n2,0,0\n";

} // namespace

class DesktopApp : public QObject {
    Q_OBJECT

private slots:
    // Each dropped file fills a new device of its own with its points and frequency, and the
    // generator it binds plays that frequency.
    void droppedFilesOpenOneDeviceEach() {
        QTemporaryDir dir;
        CProgram program(3);
        const QString a = WriteTextFile(dir.filePath("a.csv"), kWaveA),
                      b = WriteTextFile(dir.filePath("b.csv"), kWaveB);
        QVERIFY(!Drop(program.Frame(), {QUrl("https://example.org/a.csv")}));
        // On a field, which would take the text of a drag, the files still open.
        QWidget* field = program.View()->Control(IDC_FREQUENCY);
        QVERIFY(Drop(field, {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)}));
        QTRY_COMPARE(program.Count(), 3);
        // Device, file name, points, frequency.
        const std::tuple<int, QString, std::vector<float>, double> expected[] = {
            {1, "a.csv", {0.0f, 1.75f, 3.5f, 1.75f}, 1000.0}, {2, "b.csv", {-1, 0.5, 2}, 2000.0}};
        for (const auto& [i, file, points, frequency] : expected) {
            CDDSDevice* device = program.Device(i);
            QCOMPARE(std::tuple(program.Doc(i)->m_strFileName, int(device->m_nWaveType),
                                std::vector<float>(device->m_fArb.begin(),
                                                   device->m_fArb.begin() + points.size())),
                     std::tuple(file, int(WAVE_ARB), points));
            QTRY_COMPARE(SimGetUnit(device->m_nDevice).frequency, frequency);
        }
        QCOMPARE(program.Doc(0)->m_strFileName, QString(CMultiDDSTarnDoc::kNoFile));
    }

    // A file the reader refuses, or one that is not there, gets the reader's message and
    // nothing else: no window, no Device List.
    void refusedFilesGetTheReadersMessageOnly() {
        QTemporaryDir dir;
        CProgram program(2);
        const int lists = program.m_answerer.m_nDeviceLists;
        const QString junk = WriteTextFile(dir.filePath("notes.csv"), "shopping list\nmilk\n");
        QVERIFY(Drop(program.Frame(),
                     {QUrl::fromLocalFile(junk), QUrl::fromLocalFile(dir.filePath("gone.csv"))}));
        QTRY_COMPARE(program.m_answerer.m_messages.size(), 2);
        QVERIFY(program.m_answerer.m_messages[0].contains("notes.csv") &&
                program.m_answerer.m_messages[1].contains("gone.csv"));
        QCOMPARE(std::tuple(program.Count(), program.m_answerer.m_nDeviceLists,
                            program.Doc(0)->m_strFileName),
                 std::tuple(1, lists, QString(CMultiDDSTarnDoc::kNoFile)));
    }

    // The first file named on the command line goes into the start-up device, each further one
    // into a new device; a refused one is only reported.
    void filesNamedAtStartFillTheStartUpDeviceFirst() {
        QTemporaryDir dir;
        CProgram program(2, 0, {}, [&](CMultiDDSTarnApp& app) {
            app.m_filesToOpen = {WriteTextFile(dir.filePath("a.csv"), kWaveA),
                                 WriteTextFile(dir.filePath("junk.csv"), "x\n"),
                                 WriteTextFile(dir.filePath("b.csv"), kWaveB)};
        });
        QVERIFY(program.m_bStarted);
        QCOMPARE(std::tuple(program.Count(), int(program.m_answerer.m_messages.size())),
                 std::tuple(2, 1));
        QCOMPARE(program.Doc(0)->m_strFileName + ' ' + program.Doc(1)->m_strFileName,
                 QStringLiteral("a.csv b.csv"));
    }
};

QTEST_MAIN(DesktopApp)
#include "DesktopApp.moc"
