// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/pictures/emfreader.h"
#include "platform/pictures/picture.h"

#include <QByteArray>
#include <QString>
#include <memory>

// An enhanced metafile, read once into a display list and painted as vectors
// at whatever resolution the painter has. The frame is stretched onto the
// target independently in x and y; pens never get thinner than one device
// pixel; nothing behind the strokes and fills is painted.
class Metafile : public Picture {
public:
    // Throws PictureError naming `name` for a malformed file.
    static std::shared_ptr<const Metafile> fromData(const QByteArray& data, const QString& name);

    void paint(QPainter& painter, const QRectF& target) const override;
    // The frame at 96 dots per inch.
    QSizeF naturalSize() const override;

    // In reference-device pixels, the units of the display list.
    const QRectF& frame() const { return m_drawing.frame; }
    const QRect& frameHundredthsMm() const { return m_drawing.frameHundredthsMm; }
    const DisplayList& displayList() const { return m_drawing.list; }

    explicit Metafile(EmfDrawing drawing);

private:
    EmfDrawing m_drawing;
};
