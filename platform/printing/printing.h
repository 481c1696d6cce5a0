// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Asks the user for a printer and prints a widget on one page. Injected into
// the main window, so that tests can print without a modal dialog.
class Printing {
public:
    virtual ~Printing() = default;
    // Returns the message for the user when printing failed, else nothing.
    virtual QString print(QWidget& widget, QWidget* dialogParent) = 0;
};
