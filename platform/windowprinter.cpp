// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windowprinter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
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
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF size = widget.size();
    const double scale = std::min(page.width() / size.width(), page.height() / size.height());
    painter.translate((page.width() - size.width() * scale) / 2, 0);
    painter.scale(scale, scale);
    // Rendered straight onto a printer, Qt rasterises the widget; recorded
    // into a picture first, it reaches the page as vector drawing commands.
    QPicture recording;
    {
        QPainter recorder(&recording);
        widget.render(&recorder, QPoint(), QRegion(),
                      QWidget::DrawChildren | QWidget::DrawWindowBackground);
    }
    // Playing a picture scales it from its own resolution to the device's;
    // the widget is already scaled to the page.
    painter.scale(double(recording.logicalDpiX()) / printer.logicalDpiX(),
                  double(recording.logicalDpiY()) / printer.logicalDpiY());
    painter.drawPicture(0, 0, recording);
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
