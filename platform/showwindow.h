// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Shows the program's main window: a window of the desktop, or the page's
// screen fitted to it in the browser.
void showMainWindow(QWidget& window);
