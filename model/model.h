// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How a slider reaches the screen, the path a newcomer should follow first:
//
//   sl4 moves (panel/slider.h, QSlider::valueChanged)
//     -> Model::sl4Changed (model/tracehandlers.cpp): writes the readout t4,
//        then, in the sweep along X and Y,
//     -> TraceSteps::xystroy (model/tracesteps.cpp): ystroy sets the height,
//        then the width from the arithmetic in model/geometry.cpp, and
//        xcentr/ycentr place it on the offsets
//     -> ImageControl ii (panel/imagecontrol.cpp): keeps the rectangle in
//        float twips and repaints
//     -> Metafile::paint (platform/pictures/metafile.cpp): stretches the
//        source picture i1(k) that ii holds onto that rectangle, from the
//        display list read once from its file (platform/pictures/emfreader.cpp).
//
// The power switches (model/power.cpp) and the sweep and signal options
// (model/sweep.cpp) choose which picture ii holds; they run through the same
// steps, and each switch plays its sound through the system's player
// (platform/sound/switchsounds.h). The panel (panel/panel.cpp) builds every
// control in twips from the values in panel/designed.h. docs/architecture.md
// draws the layers and what each system swaps in.

#include "model/tracesteps.h"

#include <QObject>
#include <functional>

class Panel;
class QAbstractButton;
class SoundPlayer;

// The oscilloscope model: the panel's event handlers. It keeps no state of
// its own; the controls are the state.
class Model : public QObject {
    Q_OBJECT

public:
    // fatal receives the message of an error that escapes a handler.
    Model(Panel& panel, SoundPlayer& sounds, std::function<void(const QString&)> fatal,
          QObject* parent = nullptr);

    TraceSteps& steps() { return m_steps; }

private:
    // Slider readouts and trace geometry.
    void sl1Changed();
    void sl2Changed();
    void sl3Changed();
    void sl4Changed();
    void sl5Changed();
    void sl6Changed();
    void centreClicked();

    // Power switches.
    void scopeOn();
    void scopeOff();
    void generatorOn();
    void generatorOff();

    // Sweep mode and signal shape.
    void sweepAlongY();
    void sweepAlongXY();
    void signalChosen(int index);
    int selectedSignal() const;

    void connectTraceHandlers();
    void connectPowerHandlers();
    void connectSweepHandlers();

    // Runs handler whenever option becomes selected.
    void whenSelected(QAbstractButton* option, std::function<void()> handler);

    // Runs a handler; an error that escapes it is reported as fatal.
    void guarded(const std::function<void()>& handler);

    Panel& p;
    SoundPlayer& m_sounds;
    std::function<void(const QString&)> m_fatal;
    TraceSteps m_steps;
};
