// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/showwindow.h"

#include "platform/browser/browserpage.h"

void showMainWindow(QWidget& window) {
    browserpage::showWindow(window);
}
