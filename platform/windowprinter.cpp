// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windowprinter.h"

#include "platform/pagepainting.h"

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
    // The painter's origin is the printable area's top-left corner.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    paintWidgetOnPage(widget, painter, QRectF(QPointF(), page.size()));
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
