// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printing/windowprinter.h"

#include "platform/printing/pagepainting.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QWidget>

namespace {

// Qt's PDF writer does not report a failed write (a full disk, a device that
// refuses data), so the file is read back: it must hold a whole document.
bool wholePdfWritten(const QString& path) {
    QFile file(path);
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly) || file.size() < 32) {
        return false;
    }
    const QByteArray head = file.read(5);
    return head == "%PDF-" && file.seek(file.size() - 32) && file.read(32).contains("%%EOF");
}

// A margin of the program's own: a printer that claims the whole sheet (a
// PDF printer, often) would otherwise get lines on the paper's very edge,
// where they are half cut off.
constexpr double leastMarginMm = 10;

// Where the panel may go, in the painter's coordinates, whose origin is the
// printable area's top-left corner: the printable area, kept off the edges.
QRectF panelArea(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    const int dpi = printer.resolution();
    const QRectF printable = layout.paintRectPixels(dpi);
    const double least = leastMarginMm / 25.4 * dpi;
    const QRectF paper = layout.fullRectPixels(dpi).adjusted(least, least, -least, -least);
    return (printable & paper).translated(-printable.topLeft());
}

} // namespace

QString printWidget(QWidget& widget, QPrinter& printer) {
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    if (!printer.isValid() || (toFile && printer.outputFileName().isEmpty())) {
        return QStringLiteral("Принтер недоступен: в системе не установлен ни один принтер.");
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (toFile) {
            return QStringLiteral("Не удалось записать файл «%1». Проверьте, что папка существует "
                                  "и доступна для записи.")
                .arg(printer.outputFileName());
        }
        return QStringLiteral("Не удалось начать печать на принтере «%1».")
            .arg(printer.printerName());
    }
    paintWidgetOnPage(widget, painter, panelArea(printer));
    if (!painter.end()) {
        return QStringLiteral("Печать прервана: задание не удалось завершить.");
    }
    if (toFile && !wholePdfWritten(printer.outputFileName())) {
        return QStringLiteral("Не удалось записать файл «%1» полностью. Проверьте, что на диске "
                              "есть место.")
            .arg(printer.outputFileName());
    }
    return {};
}
