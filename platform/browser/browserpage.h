// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// What the program tells the page it runs in (index.html).
namespace browserpage {

// Fits the page's screen (the canvas Qt draws into) to the main window,
// which Qt for WebAssembly stretches over its whole screen, and tells the
// page once the window's first paint has reached the screen.
void showWindow(QWidget& window);

// Tells the page that the program has stopped after an error, with its
// message.
void showStopped(const QString& message);

} // namespace browserpage
