// One step of the frequency slider sl4 in the sweep along X and Y, end to
// end: the slider moves, the handler writes the readout and recomputes the
// trace, and the window repaints what changed. Against it, the least any Qt
// program pays for the same gesture: a bare QSlider whose change repaints a
// plain widget the size of the screen.

#include "bench/benchenv.h"
#include "bench/paintcounter.h"
#include "bench/rig.h"

#include "app/mainwindow.h"
#include "panel/imagecontrol.h"
#include "panel/panel.h"
#include "panel/slider.h"

#include <QApplication>
#include <QFrame>
#include <QSlider>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

// Up one step, then down again, so that the values stay in range and every
// step changes the trace.
void step(QAbstractSlider& slider, bool& up) {
    slider.triggerAction(up ? QAbstractSlider::SliderSingleStepAdd
                            : QAbstractSlider::SliderSingleStepSub);
    up = !up;
    // The repaint Qt would run when the event loop next turns.
    QApplication::sendPostedEvents();
}

void panelSlider(benchmark::State& state, Rig& rig) {
    rig.chooseSignal(1);
    rig.set({6, 10, 6, 25});
    Panel& p = rig.panel();
    PaintCounter traced(p.ii);
    const float width = p.ii->Width();
    bool up = true;
    step(*p.sl4, up);
    if (!rig.error().isEmpty() || traced.count() != 1 || p.ii->Width() == width) {
        state.SkipWithError("a step did not change and repaint the trace");
        return;
    }
    for (auto _ : state) {
        step(*p.sl4, up);
    }
}

void bareSlider(benchmark::State& state, const QSize& sliderSize, const QSize& screenSize) {
    QWidget window;
    auto* slider = new QSlider(Qt::Horizontal, &window);
    slider->setGeometry(QRect(QPoint(0, 0), sliderSize));
    slider->setRange(1, 25);
    slider->setValue(10);
    auto* screen = new QWidget(&window);
    screen->setAutoFillBackground(true);
    screen->setGeometry(QRect(QPoint(0, sliderSize.height()), screenSize));
    QObject::connect(slider, &QSlider::valueChanged, screen, [screen] { screen->update(); });
    window.show();
    Rig::settle();

    PaintCounter painted(screen);
    bool up = true;
    step(*slider, up);
    if (painted.count() != 1) {
        state.SkipWithError("a step did not repaint the plain widget");
        return;
    }
    for (auto _ : state) {
        step(*slider, up);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args = takeRatioOption(argc, argv);
    int count = static_cast<int>(args.size()) - 1;
    QApplication app(count, args.data());
    benchmark::Initialize(&count, args.data());
    Rig rig;
    const Panel& p = rig.panel();

    const std::string prefix = "slider/x" + ratioName(rig.window().devicePixelRatio()) + "/";
    timed(benchmark::RegisterBenchmark((prefix + "bare").c_str(), bareSlider, p.sl4->size(),
                                       p.pole->size()));
    timed(benchmark::RegisterBenchmark((prefix + "sl4").c_str(), panelSlider, std::ref(rig)));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
