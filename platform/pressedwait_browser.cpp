// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pressedwait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QInputEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

// Swallows every input event, and every request to close a window, until it
// is deleted.
class InputHold : public QObject {
public:
    explicit InputHold(QObject* parent) : QObject(parent) {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return dynamic_cast<QInputEvent*>(event) || event->type() == QEvent::Close;
    }
};

// Runs then once more than the wait has passed since clock started; a
// timer may fire a little early.
void afterWait(QPointer<InputHold> hold, QElapsedTimer clock, std::function<void()> then) {
    const qint64 left = pressedWaitNs - clock.nsecsElapsed();
    if (left >= 0) {
        QTimer::singleShot(int(left / 1'000'000) + 1, hold,
                           [hold, clock, then = std::move(then)] { afterWait(hold, clock, then); });
        return;
    }
    delete hold.data();
    then();
}

} // namespace

void waitPressed(QWidget& window, std::function<void()> then) {
    window.update();
    QElapsedTimer clock;
    clock.start();
    afterWait(new InputHold(&window), clock, std::move(then));
}
