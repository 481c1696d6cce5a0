// SPDX-License-Identifier: GPL-3.0-or-later
// One step of the frequency slider sl4 in the sweep along X and Y, end to
// end: the slider moves, the handler writes the readout and recomputes the
// trace, and the window repaints what changed. Against it, the unavoidable
// work of the same gesture in any Qt program: a bare QSlider whose change
// makes a plain widget the size of the screen draw the same trace picture
// afresh at its new size, straight through QPainter. The older floor, a
// bare QSlider repainting a plain widget with a solid fill, is kept for
// comparison.

#include "bench/benchenv.h"
#include "bench/paintcounter.h"
#include "bench/rig.h"

#include "app/mainwindow.h"
#include "model/geometry.h"
#include "panel/imagecontrol.h"
#include "panel/panel.h"
#include "panel/slider.h"
#include "panel/twips.h"
#include "platform/pictures/metafile.h"
#include "platform/pictures/pictureloader.h"

#include <QApplication>
#include <QFrame>
#include <QPainter>
#include <QPainterPath>
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
    rig.set(initialSetting);
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

// A widget that draws a vector picture as a plain Qt program would: the
// whole drawing as one path, mapped afresh to the trace's rectangle for the
// slider's frequency and stroked antialiased, with nothing culled or kept.
class PlainTrace : public QWidget {
public:
    PlainTrace(const Metafile& picture, QWidget* parent) : QWidget(parent) {
        m_frame = picture.frame();
        for (const DrawItem& item : picture.displayList().items()) {
            if (item.shape == DrawItem::Shape::Line) {
                m_path.moveTo(item.line.p1());
                m_path.lineTo(item.line.p2());
            } else {
                m_path.addPath(item.path);
            }
            m_colour = item.penColour;
            m_penWidth = item.penWidth;
        }
    }

    void setFrequency(int frequency) {
        m_frequency = frequency;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        // The trace's rectangle at the other sliders' start values, centred
        // on the axes, as the program computes it.
        const float height = geometry::traceHeight(initialSetting.gain, initialSetting.voltage);
        const float width = geometry::traceWidth(initialSetting.timePerDivision, m_frequency);
        const QRectF target =
            twips::rectF(geometry::centredStart(geometry::xCentre, width),
                         geometry::centredStart(geometry::yCentre, height), width, height);
        const double sx = target.width() / m_frame.width();
        const double sy = target.height() / m_frame.height();
        const QTransform toTarget(sx, 0, 0, sy, target.left() - m_frame.left() * sx,
                                  target.top() - m_frame.top() * sy);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(m_colour, std::max(1.0, m_penWidth * std::min(sx, sy))));
        painter.drawPath(toTarget.map(m_path));
    }

private:
    QPainterPath m_path;
    QRectF m_frame;
    QColor m_colour;
    double m_penWidth = 0;
    int m_frequency = initialSetting.frequency;
};

// A bare QSlider over a screen widget of the given size, made by
// makeScreen(window) and repainted at each step as connect(slider, screen)
// arranges; times one step.
template <typename MakeScreen, typename Connect>
void bareSliderOver(benchmark::State& state, const QSize& sliderSize, const QSize& screenSize,
                    MakeScreen makeScreen, Connect connect) {
    QWidget window;
    auto* slider = new QSlider(Qt::Horizontal, &window);
    slider->setGeometry(QRect(QPoint(0, 0), sliderSize));
    slider->setRange(designed::sl4.minimum, designed::sl4.maximum);
    slider->setValue(designed::sl4.start);
    auto* screen = makeScreen(window);
    screen->setGeometry(QRect(QPoint(0, sliderSize.height()), screenSize));
    connect(slider, screen);
    window.show();
    Rig::settle();

    PaintCounter painted(screen);
    bool up = true;
    step(*slider, up);
    if (painted.count() != 1) {
        state.SkipWithError("a step did not repaint the screen widget");
        return;
    }
    for (auto _ : state) {
        step(*slider, up);
    }
}

void sliderDrawingTrace(benchmark::State& state, const QSize& sliderSize, const QSize& screenSize) {
    const auto sine =
        std::dynamic_pointer_cast<const Metafile>(loadPicture(QStringLiteral(":/assets/sine.emf")));
    bareSliderOver(
        state, sliderSize, screenSize,
        [&sine](QWidget& window) { return new PlainTrace(*sine, &window); },
        [](QSlider* slider, PlainTrace* screen) {
            QObject::connect(slider, &QSlider::valueChanged, screen, &PlainTrace::setFrequency);
        });
}

void bareSlider(benchmark::State& state, const QSize& sliderSize, const QSize& screenSize) {
    bareSliderOver(
        state, sliderSize, screenSize,
        [](QWidget& window) {
            auto* screen = new QWidget(&window);
            screen->setAutoFillBackground(true);
            return screen;
        },
        [](QSlider* slider, QWidget* screen) {
            QObject::connect(slider, &QSlider::valueChanged, screen,
                             [screen] { screen->update(); });
        });
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
    timed(benchmark::RegisterBenchmark((prefix + "trace").c_str(), sliderDrawingTrace,
                                       p.sl4->size(), p.pole->size()));
    timed(benchmark::RegisterBenchmark((prefix + "sl4").c_str(), panelSlider, std::ref(rig)));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
