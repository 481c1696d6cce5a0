// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/pictures/picture.h"

#include <QImage>

// A bitmap, a GIF's first frame or an icon's first image, stretched to the
// target like any picture or shown at its own size in pixels.
class RasterPicture : public Picture {
public:
    explicit RasterPicture(QImage image);

    void paint(QPainter& painter, const QRectF& target) const override;
    QSizeF naturalSize() const override;

    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};
