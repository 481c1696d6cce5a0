// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model.h"

#include "model/screendescription.h"

#include <QAbstractButton>
#include <exception>

Model::Model(Panel& panel, SoundPlayer& sounds, std::function<void(const QString&)> fatal,
             QObject* parent)
    : QObject(parent), p(panel), m_sounds(sounds), m_fatal(std::move(fatal)), m_steps(panel) {
    connectTraceHandlers();
    connectPowerHandlers();
    connectSweepHandlers();
    screentext::describeScreen(p);
}

// Handlers of an option run when it becomes selected, by the user or by code;
// choosing the option that is already selected runs nothing.
void Model::whenSelected(QAbstractButton* option, std::function<void()> handler) {
    connect(option, &QAbstractButton::toggled, this,
            [this, handler = std::move(handler)](bool selected) {
                if (selected) {
                    guarded(handler);
                }
            });
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
