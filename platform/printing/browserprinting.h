// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/printing/printing.h"

// Printing in the browser: the widget is painted onto one page by the same
// code that prints on the desktop, as an image fine enough for a printer,
// and handed to the browser's own print dialog. The browser does not say
// how its dialog was closed.
class BrowserPrinting : public Printing {
public:
    QString print(QWidget& widget, QWidget* dialogParent) override;
};
