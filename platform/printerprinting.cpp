#include "platform/printerprinting.h"

#include "platform/windowprinter.h"

#include <QAbstractPrintDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

void showPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    // No page numbers: the window is always one page.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
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
