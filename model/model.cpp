#include "model/model.h"

#include <exception>

Model::Model(Panel& panel, SoundPlayer& sounds, std::function<void(const QString&)> fatal,
             QObject* parent)
    : QObject(parent), p(panel), m_sounds(sounds), m_fatal(std::move(fatal)), m_steps(panel) {
    connectTraceHandlers();
    connectPowerHandlers();
    connectSweepHandlers();
}

void Model::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        m_fatal(QString::fromUtf8(error.what()));
    }
}
