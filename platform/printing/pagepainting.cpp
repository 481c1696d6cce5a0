// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printing/pagepainting.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPicture>
#include <QWidget>

#include <algorithm>

void paintWidgetOnPage(QWidget& widget, QPainter& painter, const QRectF& page) {
    const QSizeF size = widget.size();
    const double scale = std::min(page.width() / size.width(), page.height() / size.height());
    painter.save();
    painter.translate(page.left() + (page.width() - size.width() * scale) / 2, page.top());
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
    const QPaintDevice* device = painter.device();
    painter.scale(double(recording.logicalDpiX()) / device->logicalDpiX(),
                  double(recording.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(0, 0, recording);
    painter.restore();
}
