#include "model/model.h"

#include "model/screendescription.h"

#include <exception>

Model::Model(Panel& panel, SoundPlayer& sounds, std::function<void(const QString&)> fatal,
             QObject* parent)
    : QObject(parent), p(panel), m_sounds(sounds), m_fatal(std::move(fatal)), m_steps(panel) {
    connectTraceHandlers();
    connectPowerHandlers();
    connectSweepHandlers();
    screentext::describeScreen(p);
}

void Model::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        m_fatal(QString::fromUtf8(error.what()));
    }
    // Every change to the trace comes from a handler, so the screen's
    // description is brought up to date here and nowhere else.
    screentext::describeScreen(p);
}
