// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QPrinter;
class QWidget;

// Prints a widget with all its children on one page, scaled to fit the
// printable area at least 10 mm from the paper's edges, centred across it
// and at its top. The widget is rendered through the printer's own painter,
// so text and vector pictures stay sharp at printer resolution. Returns an
// empty string on success, otherwise a message for the user.
QString printWidget(QWidget& widget, QPrinter& printer);
