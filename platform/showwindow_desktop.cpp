// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/showwindow.h"

#include <QWidget>

void showMainWindow(QWidget& window) {
    window.show();
}
