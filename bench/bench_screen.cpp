// SPDX-License-Identifier: GPL-3.0-or-later
// Repainting the oscilloscope's screen with the trace at its extreme sizes,
// for each waveform, against repainting the same screen with the trace
// hidden. The repaint is the real one: the shown window's screen widget is
// repainted through Qt's backing store, window background and panel
// included. The device pixel ratio is the process's own (--ratio=2 sets
// Qt's scale factor), as a high-DPI screen would give it.

#include "bench/benchenv.h"
#include "bench/paintcounter.h"
#include "bench/rig.h"

#include "app/mainwindow.h"
#include "panel/imagecontrol.h"
#include "panel/panel.h"

#include <QApplication>
#include <QFrame>
#include <array>
#include <benchmark/benchmark.h>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Sweep {
    const char* name;
    TraceSetting setting;
    // The trace's size in twips that the setting must give.
    float width;
    float height;
};

constexpr std::array<Sweep, 3> sweeps{{
    {"initial", initialSetting, 20000.0F, 2100.0F},
    {"widest",
     {designed::sl6.maximum, designed::sl4.minimum, designed::sl5.maximum, designed::sl3.maximum},
     266666.66F,
     7700.0F},
    {"narrowest",
     {designed::sl6.minimum, designed::sl4.maximum, designed::sl5.minimum, designed::sl3.start},
     1333.3334F,
     350.0F},
}};

constexpr std::array<const char*, 3> waveforms{"sawtooth", "sine", "rectangle"};

bool near(float a, float b) {
    return std::abs(a - b) <= std::abs(b) * 1e-6F;
}

// Repaints the screen, having first checked that a repaint really reaches
// the trace exactly when it is meant to be seen. A moved trace is shifted by
// a twip, there and back, before every repaint: each repaint then draws it
// afresh, as after a step of a slider.
void repaintScreen(benchmark::State& state, const Panel& p, bool traceShown, bool moved = false) {
    PaintCounter traced(p.ii);
    p.pole->repaint();
    if (traced.count() != (traceShown ? 1 : 0)) {
        state.SkipWithError("the repaint did not paint the trace as expected");
        return;
    }
    const float left = p.ii->Left();
    bool shifted = false;
    for (auto _ : state) {
        if (moved) {
            shifted = !shifted;
            p.ii->setLeft(shifted ? left + 1 : left);
        }
        p.pole->repaint();
    }
    p.ii->setLeft(left);
}

void hiddenTrace(benchmark::State& state, Rig& rig) {
    Panel& p = rig.panel();
    p.ii->hide();
    Rig::settle();
    repaintScreen(state, p, false);
    p.ii->show();
    Rig::settle();
}

void shownTrace(benchmark::State& state, Rig& rig, int waveform, const Sweep& sweep, bool moved) {
    rig.chooseSignal(waveform);
    rig.set(sweep.setting);
    const Panel& p = rig.panel();
    if (!rig.error().isEmpty()) {
        state.SkipWithError(rig.error().toStdString().c_str());
        return;
    }
    if (!p.ii->isVisible() || p.ii->picture() != p.i1.at(waveform)->picture() ||
        !near(p.ii->Width(), sweep.width) || !near(p.ii->Height(), sweep.height)) {
        state.SkipWithError("the sliders did not give the expected trace");
        return;
    }
    repaintScreen(state, p, true, moved);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args = takeRatioOption(argc, argv);
    int count = static_cast<int>(args.size()) - 1;
    QApplication app(count, args.data());
    benchmark::Initialize(&count, args.data());
    Rig rig;

    const std::string prefix = "screen/x" + ratioName(rig.window().devicePixelRatio()) + "/";
    timed(benchmark::RegisterBenchmark((prefix + "hidden").c_str(), hiddenTrace, std::ref(rig)));
    for (const bool moved : {false, true}) {
        for (int w = 0; w < static_cast<int>(waveforms.size()); ++w) {
            for (const Sweep& sweep : sweeps) {
                const std::string name = prefix + waveforms.at(static_cast<std::size_t>(w)) + "/" +
                                         sweep.name + (moved ? "/moved" : "");
                timed(benchmark::RegisterBenchmark(name.c_str(), shownTrace, std::ref(rig), w,
                                                   std::cref(sweep), moved));
            }
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
