// Start-up cost of the whole program in-process (offscreen): one simulated generator, the
// first device window, the main window shown, then exit, against a bare Qt main window shown
// and closed in the same run. The frame shows itself on its first 200 ms tick; the "Tick"
// variants call that tick at once so that the figure is our own work, the "Timer" variant
// waits for the real timer.
#include "app/CmdUI.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnApp.h"
#include "app/MultiDDSTarnDoc.h"
#include "hwsim/SimControl.h"
#include "view/MultiDDSTarnView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir* s_pFolder = nullptr;

/// Peak resident memory of this process so far, in MB (VmHWM).
double PeakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void WaitShown(QWidget* window) {
    while (!window->isVisible())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
}

CDeviceView* MakeView(CMultiDDSTarnDoc* doc) {
    return new CMultiDDSTarnView(doc);
}

/// A device view with no controls: what is left is the frame's and the document's own cost.
class CBareView : public QWidget, public CDeviceView {
public:
    explicit CBareView(CMultiDDSTarnDoc* doc) : m_pDoc(doc) {}
    void OnInitialUpdate() override {
        m_pDoc->CreateDevice();
        m_pDoc->m_pDevice->BindHardware(CMainFrame::Get()->MakeBindContext(this));
        CMainFrame::Get()->AddDocument(m_pDoc);
    }
    void SelectWaveType(int) override {}
    void ShowFrequency() override {}
    void RetextWindows() override {}
    void ActivateView() override {}
    bool OnCommand(int) override { return false; }
    bool OnUpdateCommand(CCmdUI&) override { return false; }
    QWidget* Widget() override { return this; }

private:
    CMultiDDSTarnDoc* m_pDoc;
};

CDeviceView* MakeBareView(CMultiDDSTarnDoc* doc) {
    return new CBareView(doc);
}

void BM_BareQtWindow(benchmark::State& state) {
    for (auto _ : state) {
        auto* window = new QMainWindow;
        window->menuBar()->addMenu(QStringLiteral("&File"));
        window->addToolBar(QStringLiteral("Standard"));
        window->statusBar();
        window->resize(870, 600);
        window->show();
        WaitShown(window);
        delete window;
        QApplication::processEvents();
    }
}

void RunProgram(benchmark::State& state, bool realTimer,
                CMultiDDSTarnApp::ViewFactory factory = MakeView) {
    SimReset(1);
    for (auto _ : state) {
        CMultiDDSTarnApp app(factory);
        app.m_strProgramFolder = s_pFolder->path();
        app.InitInstance();
        if (!realTimer)
            app.m_pMainFrame->OnTimer();
        WaitShown(app.m_pMainFrame);
        app.ExitInstance();
        QApplication::processEvents();
    }
    state.counters["VmHWM_MB"] = PeakMegabytes();
}

void BM_ProgramStartShowExitTick(benchmark::State& state) {
    RunProgram(state, false);
}

void BM_FrameStartShowExitBareView(benchmark::State& state) {
    RunProgram(state, false, MakeBareView);
}

void BM_ProgramStartShowExitTimer(benchmark::State& state) {
    RunProgram(state, true);
}

} // namespace

BENCHMARK(BM_BareQtWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameStartShowExitBareView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramStartShowExitTick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramStartShowExitTimer)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    s_pFolder = &folder;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
