// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pressedwait.h"

#include <QElapsedTimer>
#include <QWidget>

void waitPressed(QWidget& window, std::function<void()> then) {
    // The wait lets nothing paint, so show the pressed look before it.
    window.repaint();
    QElapsedTimer clock;
    clock.start();
    while (clock.nsecsElapsed() <= pressedWaitNs) {
    }
    then();
}
