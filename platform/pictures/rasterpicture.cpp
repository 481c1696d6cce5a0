// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pictures/rasterpicture.h"

#include <QPainter>

RasterPicture::RasterPicture(QImage image) : m_image(std::move(image)) {}

void RasterPicture::paint(QPainter& painter, const QRectF& target) const {
    if (target.width() > 0 && target.height() > 0) {
        painter.drawImage(target, m_image);
    }
}

QSizeF RasterPicture::naturalSize() const {
    return m_image.size();
}
