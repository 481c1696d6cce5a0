#pragma once

#include "model/tracesteps.h"

#include <QObject>
#include <functional>

class Panel;
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

    // Runs a handler; an error that escapes it is reported as fatal.
    void guarded(const std::function<void()>& handler);

    Panel& p;
    SoundPlayer& m_sounds;
    std::function<void(const QString&)> m_fatal;
    TraceSteps m_steps;
};
