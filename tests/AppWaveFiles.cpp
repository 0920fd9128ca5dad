// Edit > Import Waveform... in the running program: the preview's choices reach the simulated
// unit.
#include "AppTestSupport.h"

#include "app/WaveFileCommands.h"
#include "dialogs/ImportWaveDlg.h"

#include <sndfile.h>

#include <cmath>
#include <numbers>

namespace {

/// 1000 frames at 8 kHz of one sine cycle at half full scale (1.75 V): one period at 8 Hz.
QString WriteSine(const QString& folder) {
    const QString path = folder + QStringLiteral("/sine.wav");
    SF_INFO info{0, 8000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    std::vector<double> frames(1000);
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i] = 0.5 * std::sin(2.0 * std::numbers::pi * double(i) / 1000.0);
    sf_write_double(file, frames.data(), sf_count_t(frames.size()));
    sf_close(file);
    return path;
}

} // namespace

class AppWaveFiles : public QObject {
    Q_OBJECT

private slots:
    void importedWaveReachesTheUnitAsPreviewed() {
        // Points typed, Fit, Apply; the table's points (0: nothing applied), its lowest and highest
        // code. Fit scales the 1.75 V peak to the panel's 2 V amplitude: 2048 -/+ 2047 x 2/3.5.
        const std::tuple<const char*, bool, bool, int, int, int> cases[] = {
            {"250", false, true, 250, 1024, 3071},
            {"99999", true, true, 4096, 878, 3218},
            {"x", true, true, 1000, 878, 3218}, // refused text: warned, the default stays
            {"250", true, false, 0, 0, 0},
        };
        for (const auto& [points, fit, apply, tablePoints, lowCode, highCode] : cases) {
            CProgram program(1);
            CMultiDDSTarnDoc* doc = program.Doc(0);
            int clipped = -1;
            std::size_t applied = 0;
            program.m_answerer.m_answerOther = [&](QWidget* modal) {
                auto* dialog = qobject_cast<CImportWaveDlg*>(modal);
                if (!dialog)
                    return false;
                if (clipped < 0) { // first visit; a refused number brings it back once
                    dialog->PointsField()->setText(QString::fromLatin1(points));
                    if (fit)
                        dialog->FitButton()->click();
                    clipped = dialog->ClippedLabel()->text().toInt();
                }
                // Later: the warning it may raise must find the answerer free.
                QTimer::singleShot(0, dialog, [apply = apply, &applied, dialog] {
                    apply ? dialog->ApplyButton()->click() : dialog->reject();
                    applied = dialog->result() == QDialog::Accepted ? dialog->Points().size() : 0;
                });
                return true;
            };
            QTRY_VERIFY(!SimGetUnit(0).buffer.empty());
            QCOMPARE(CWaveFileCommands::Import(*doc, WriteSine(program.Folder())), apply);
            QCOMPARE(std::pair(clipped, applied), std::pair(0, std::size_t(tablePoints)));
            CDDSDevice* device = program.Device();
            if (!apply) {
                QCOMPARE(int(device->m_nWaveType), int(WAVE_SINE));
                continue;
            }
            QCOMPARE(program.m_answerer.m_messages.size(), points[0] == 'x' ? 1 : 0);
            QCOMPARE(std::tuple(int(device->m_nWaveType), device->m_dFrequency, doc->m_strFileName),
                     std::tuple(int(WAVE_ARB), 8.0, QString("CSV File Empty")));
            QTRY_COMPARE(SimGetUnit(0).frequency, 8.0);
            // Within a code: which table points the plan samples decides the last bit.
            const auto reached = [&] {
                const std::vector<unsigned short> codes = SimGetUnit(0).buffer;
                const auto [low, high] = std::minmax_element(codes.begin(), codes.end());
                return std::abs(*low - lowCode) <= 1 && std::abs(*high - highCode) <= 1;
            };
            QTRY_VERIFY(reached());
            // Whatever points the preview had, the unit walks the whole wave as one period.
            const int perPeriod = device->m_nPointsPerPeriod;
            QCOMPARE(perPeriod, SimGetUnit(0).points / SimGetUnit(0).periods);
            const float peak = device->m_fArb[std::size_t(perPeriod / 4)];
            const float trough = device->m_fArb[std::size_t(3 * perPeriod / 4)];
            QVERIFY2(peak > 1.7f && std::fabs(peak + trough) < 0.01f,
                     qPrintable(QStringLiteral("%1 %2").arg(peak).arg(trough)));
        }
    }
};

QTEST_MAIN(AppWaveFiles)
#include "AppWaveFiles.moc"
