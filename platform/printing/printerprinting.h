// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/printing/printing.h"

#include <functional>

class QPrinter;

// Printing through Qt's printer dialog and a high-resolution printer.
class PrinterPrinting : public Printing {
public:
    // Shows the printer dialog for a printer; whatever closes it, the window
    // is printed afterwards.
    using Dialog = std::function<void(QPrinter& printer, QWidget* parent)>;

    // Without a dialog, Qt's own printer dialog is shown.
    explicit PrinterPrinting(Dialog dialog = {});

    QString print(QWidget& widget, QWidget* dialogParent) override;

private:
    Dialog m_dialog;
};
