// The whole program with 1, 8 and 20 device windows open on simulated generators: its CPU while
// idle (workers, view and frame timers, repaints) against as many bare 1 ms sleep loops in the
// same run, the memory each added device costs, and the display frame with every window open
// against the frame with one. Beside it, the least a Qt window showing a changing reading
// costs: the same sleep loops and a main window that draws a new line of text every 100 ms,
// so that the program's figure can be read against what the toolkit and machine ask anyway.
#include "bench/IdleCost.h"
#include "tests/AppTestSupport.h"

#include "view/WaveDisplay.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr auto kWarmUp = 500ms;
constexpr auto kWindow = 2000ms;

/// The process's resident set now, in kB.
double ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6));
    return 0.0;
}

/// Microseconds one full draw of the shown device's display takes, averaged.
double FrameMicroseconds(CProgram& program) {
    CWaveDisplay* display = program.View(program.Frame()->m_nCurrentTab)->Display();
    constexpr int kFrames = 200;
    const auto from = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i)
        display->Render();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - from)
               .count() /
           kFrames;
}

/// The program's own event loop for a span: it sleeps until its next timer, where
/// QTest::qWait would wake every 10 ms and be measured as the program's cost.
void Wait(std::chrono::milliseconds span) {
    QEventLoop loop;
    QTimer::singleShot(span, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

/// One line of text drawn as plainly as Qt allows: no frame, no layout, an opaque rectangle.
class CPlainReading : public QWidget {
public:
    explicit CPlainReading(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void Show(const QString& text) {
        m_strText = text;
        repaint();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().base());
        painter.drawText(rect(), Qt::AlignCenter, m_strText);
    }

private:
    QString m_strText;
};

/// `count` bare 1 ms sleep loops beside a main window with a menu, a toolbar and a status bar
/// whose one reading changes its last digit every 100 ms, and a second timer every 200 ms that
/// does nothing, as the program's frame timer comes due.
double QtReadingFloor(int count) {
    const CSleepLoops loops(count);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.addToolBar(QStringLiteral("Standard"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    auto* panel = new QWidget;
    window.setCentralWidget(panel);
    auto* reading = new CPlainReading(panel);
    reading->setGeometry(40, 40, 160, 24);
    window.resize(1024, 768);
    window.show();
    int tick = 0;
    QTimer view;
    QObject::connect(&view, &QTimer::timeout, reading, [&tick, reading] {
        reading->Show(QStringLiteral("1.00000%1 KHz").arg(++tick % 10));
    });
    view.start(100);
    QTimer frame;
    QObject::connect(&frame, &QTimer::timeout, &window, [] {});
    frame.start(200);
    return CpuMsPerSecond(kWarmUp, kWindow, Wait);
}

struct Figures {
    double cpu = 0, frame = 0;
    double uiShare = 0;   ///< Of cpu, the part the user-interface thread used.
    double kilobytes = 0; ///< Resident set grown from one device window to all of them.
};

/// The program with `devices` device windows on as many simulated generators, shown.
Figures Program(int devices) {
    Figures figures;
    CProgram program(devices);
    program.Frame()->resize(1024, 768);
    program.Shown();
    QTest::qWait(200);
    const double oneDevice = ResidentKilobytes();
    for (int i = 1; i < devices; ++i) {
        program.m_answerer.m_nChooseRow = 0; // the first free generator
        program.Open();
    }
    program.m_answerer.Pause(true);
    Wait(kWarmUp);
    // This thread runs every window and timer: its share of the window's CPU.
    const double uiFrom = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    figures.cpu = CpuMsPerSecond(0ms, kWindow, Wait);
    const double uiMsPerSecond = (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - uiFrom) * 1000.0 /
                                 std::chrono::duration<double>(kWindow).count();
    figures.uiShare = uiMsPerSecond / figures.cpu;
    figures.kilobytes = ResidentKilobytes() - oneDevice;
    figures.frame = FrameMicroseconds(program);
    program.m_answerer.Pause(false);
    program.Exit();
    return figures;
}

void BM_IdleProgram(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    // The frame with one window, as the median of its runs: a single run swings too much to
    // divide by.
    static std::vector<double> oneFrames;
    // Memory is taken from the first run with this many windows: later runs reuse what the
    // allocator kept from it, so their growth says less than the first one.
    static std::map<int, double> growth;
    for (auto _ : state) {
        const double bare = SleepLoopCost(count, kWarmUp, kWindow);
        const double floor = QtReadingFloor(count);
        const Figures program = Program(count);
        if (count == 1)
            oneFrames.push_back(program.frame);
        state.counters["sleep_cpu_ms_per_s"] = bare;
        state.counters["program_cpu_ms_per_s"] = program.cpu;
        state.counters["cpu_ratio"] = program.cpu / bare;
        state.counters["qt_floor_ratio"] = floor / bare;
        state.counters["frame_us"] = program.frame;
        state.counters["ui_thread_share"] = program.uiShare;
        if (count > 1 && !oneFrames.empty()) {
            growth.try_emplace(count, program.kilobytes);
            state.counters["MB_per_added_device"] = growth[count] / 1024.0 / (count - 1);
            std::vector<double> sorted = oneFrames;
            std::sort(sorted.begin(), sorted.end());
            state.counters["frame_ratio"] = program.frame / sorted[sorted.size() / 2];
        }
    }
}
// Single runs swing with the machine's other load; the medians of five are the figures.
BENCHMARK(BM_IdleProgram)->Arg(1)->Arg(8)->Arg(20)->Iterations(1)->Repetitions(5)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
