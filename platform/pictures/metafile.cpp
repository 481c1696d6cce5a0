// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pictures/metafile.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// The painter's logical size of one device pixel, the thinnest line drawn.
double devicePixel(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    const double scale = std::min(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
    return scale > 0 ? 1.0 / scale : 1.0;
}

// What the painter can reach, in its logical coordinates. It may be larger
// than what is really visible, never smaller. The window is what the device
// shows before the world transform; the viewport would not do, as on a
// high-DPI device it is in other units than the view transform maps to.
QRectF reachableArea(const QPainter& painter) {
    bool invertible = false;
    const QTransform toLogical = painter.worldTransform().inverted(&invertible);
    QRectF area = invertible ? toLogical.mapRect(QRectF(painter.window())) : QRectF();
    if (painter.hasClipping()) {
        area &= painter.clipBoundingRect();
    }
    return area;
}

} // namespace

Metafile::Metafile(EmfDrawing drawing) : m_drawing(std::move(drawing)) {}

std::shared_ptr<const Metafile> Metafile::fromData(const QByteArray& data, const QString& name) {
    return std::make_shared<const Metafile>(readEnhancedMetafile(data, name));
}

QSizeF Metafile::naturalSize() const {
    constexpr double pixelsPerHundredthMm = 96.0 / 2540.0;
    return QSizeF(m_drawing.frameHundredthsMm.size()) * pixelsPerHundredthMm;
}

void Metafile::paint(QPainter& painter, const QRectF& target) const {
    const QRectF& frame = m_drawing.frame;
    if (!(target.width() > 0 && target.height() > 0)) {
        return;
    }
    const double sx = target.width() / frame.width();
    const double sy = target.height() / frame.height();
    const QTransform toTarget(sx, 0, 0, sy, target.left() - frame.left() * sx,
                              target.top() - frame.top() * sy);

    const double pixel = devicePixel(painter);
    // Lines grow with the picture only as far as its narrower direction does,
    // so a trace stretched far to the side keeps a fine line.
    const double unit = std::min(sx, sy);
    const double widest = std::max(pixel, m_drawing.list.widestPen() * unit);

    QRectF area = reachableArea(painter);
    if (area.isEmpty()) {
        return;
    }
    const double margin = widest / 2 + pixel;
    area.adjust(-margin, -margin, margin, margin);
    const QRectF inDrawing = toTarget.inverted().mapRect(area);

    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    // Neighbouring one-pixel strokes with the same pen go to Qt as one path:
    // each call costs a pen, a stroker and a rasteriser set up afresh, more
    // than a short curve itself. A thicker pen takes Qt's general stroker,
    // which fills one outline of the whole path and grows worse than
    // linearly with it, so those strokes are drawn one by one.
    QPainterPath strokes;
    QPen strokesPen;
    const auto flush = [&painter, &strokes, &strokesPen] {
        if (!strokes.isEmpty()) {
            painter.setPen(strokesPen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(strokes);
            strokes.clear();
        }
    };
    const std::vector<DrawItem>& items = m_drawing.list.items();
    for (std::uint32_t i : m_drawing.list.itemsMeeting(inDrawing)) {
        const DrawItem& item = items[i];
        QPen pen(Qt::NoPen);
        if (item.stroked) {
            pen = QPen(item.penColour, std::max(pixel, item.penWidth * unit), Qt::SolidLine,
                       Qt::RoundCap, Qt::RoundJoin);
        }
        const bool line = item.shape == DrawItem::Shape::Line;
        const QLineF mappedLine = line ? toTarget.map(item.line) : QLineF();
        const bool dot = line && mappedLine.p1() == mappedLine.p2();
        if (item.stroked && !item.filled && !dot && pen.widthF() <= pixel) {
            if (pen != strokesPen) {
                flush();
                strokesPen = pen;
            }
            if (line) {
                strokes.moveTo(mappedLine.p1());
                strokes.lineTo(mappedLine.p2());
            } else {
                strokes.addPath(toTarget.map(item.path));
            }
            continue;
        }
        flush();
        painter.setPen(pen);
        if (dot) {
            painter.drawPoint(mappedLine.p1());
        } else if (line) {
            painter.drawLine(mappedLine);
        } else {
            painter.setBrush(item.filled ? QBrush(item.brushColour) : QBrush(Qt::NoBrush));
            painter.drawPath(toTarget.map(item.path));
        }
    }
    flush();
    painter.restore();
}
