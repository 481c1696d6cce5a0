// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printing/printerprinting.h"

#include "platform/printing/printdialog.h"
#include "platform/printing/windowprinter.h"

#include <QPrinter>

namespace {

void showPrintDialog(QPrinter& printer, QWidget* parent) {
    OnePagePrintDialog dialog(&printer, parent);
    dialog.exec();
}

} // namespace

PrinterPrinting::PrinterPrinting(Dialog dialog)
    : m_dialog(dialog ? std::move(dialog) : Dialog(showPrintDialog)) {}

QString PrinterPrinting::print(QWidget& widget, QWidget* dialogParent) {
    QPrinter printer(QPrinter::HighResolution);
    m_dialog(printer, dialogParent);
    return printWidget(widget, printer);
}
