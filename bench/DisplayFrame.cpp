// Cost of one complete display frame (700 x 420, off-screen image): background, frame, grid,
// ticks, curve and texts. Run with QT_QPA_PLATFORM=offscreen.
#include "engine/DDSDevice.h"
#include "view/WaveRenderer.h"
#include "view/ZoomWindow.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 420;

void RenderFrames(benchmark::State& state, CDDSDevice& device) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    CWaveRenderer::Options options;
    options.strFileName = QStringLiteral("CSV File Empty");
    int cursor = device.m_nPointsPerPeriod / 3;
    const QRect client(QPoint(0, 0), QPoint(kWidth, kHeight));
    for (auto _ : state) {
        QPainter painter(&image);
        CWaveRenderer::Draw(painter, client, device, cursor, options);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_AnalyticFrame(benchmark::State& state) {
    CDDSDevice device;
    device.m_nWaveType = static_cast<int>(state.range(0));
    RenderFrames(state, device);
}
BENCHMARK(BM_AnalyticFrame)
    ->ArgName("type")
    ->Arg(WAVE_SINE)
    ->Arg(WAVE_RAMP)
    ->Arg(WAVE_SQUARE)
    ->Arg(WAVE_EXPONENT)
    ->Arg(WAVE_TRAPEZIA)
    ->Arg(WAVE_AMFM)
    ->Arg(WAVE_GAUSS_NOISE)
    ->Arg(WAVE_WHITE_NOISE)
    ->Unit(benchmark::kMicrosecond);

/// Arb frame over a full table of `points` points: 0 a smooth wave, 1 noise.
void BM_ArbFrame(benchmark::State& state) {
    auto device = std::make_unique<CDDSDevice>();
    const int points = static_cast<int>(state.range(0));
    device->m_nWaveType = WAVE_ARB;
    device->m_nPointsPerPeriod = points;
    device->m_nPoints = points;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> volts(-3.5f, 3.5f);
    for (int i = 0; i < points; ++i)
        device->m_fArb[i] = state.range(1) == 0
                                ? static_cast<float>(3.0 * std::sin(6.283185307 * i / points))
                                : volts(random);
    CZoomWindow::Compute(*device, 0.0f);
    RenderFrames(state, *device);
}
BENCHMARK(BM_ArbFrame)
    ->ArgNames({"points", "noisy"})
    ->Args({1000, 0})
    ->Args({4096, 0})
    ->Args({4096, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
