// Painting the trace costs the same however wide it is: only the part the
// screen shows is drawn. Arguments are the trace's width in twips.

#include "panel/imagecontrol.h"
#include "platform/pictureloader.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// The screen's drawing area, 343 x 273 pixels, and its centre in twips.
constexpr int screenWidth = 343;
constexpr int screenHeight = 273;
constexpr float centreX = 2570;
constexpr float centreY = 2050;

void paintTrace(benchmark::State& state, const char* file) {
    QWidget screen;
    screen.resize(screenWidth, screenHeight);
    auto* trace = new ImageControl(&screen);
    trace->setPicture(loadPicture(QStringLiteral(":/assets/") + file));
    const auto width = static_cast<float>(state.range(0));
    const float height = 2000;
    trace->setTwips(centreX - width / 2, centreY - height / 2, width, height);

    QImage image(screen.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::black);
        screen.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_Sawtooth(benchmark::State& state) {
    paintTrace(state, "saw.emf");
}
void BM_Sine(benchmark::State& state) {
    paintTrace(state, "sine.emf");
}
void BM_Rectangle(benchmark::State& state) {
    paintTrace(state, "square.emf");
}

} // namespace

BENCHMARK(BM_Sawtooth)->Arg(1333)->Arg(5145)->Arg(266666);
BENCHMARK(BM_Sine)->Arg(1333)->Arg(5145)->Arg(266666);
BENCHMARK(BM_Rectangle)->Arg(1333)->Arg(5145)->Arg(266666);

int main(int argc, char** argv) {
    // Painting needs Qt's widgets but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
