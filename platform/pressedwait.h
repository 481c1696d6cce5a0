// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <functional>

class QWidget;

// The wait of a pressed look: just over an eighth of a second in which the
// program handles no input, after which `then` runs. On the desktop the wait
// blocks the thread, painting included, so the window is painted with its
// pressed look first and `then` has run when this returns. The browser
// paints only once the program hands control back to it: there the look is
// painted meanwhile, input is held back, and `then` runs later.
void waitPressed(QWidget& window, std::function<void()> then);

// The wait's length on a monotonic clock, so that changes of the wall clock
// (midnight, a time-zone switch) cannot stretch or cut it.
inline constexpr qint64 pressedWaitNs = 125'000'000;
