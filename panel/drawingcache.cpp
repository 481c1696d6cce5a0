#include "panel/drawingcache.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTransform>
#include <cmath>

namespace {

// Two paints with the same look: the second one keeps a copy.
constexpr int paintsBeforeKeeping = 2;

} // namespace

bool DrawingCache::sameKey(const Key& a, const Key& b) {
    const auto same = [](const QRectF& r, const QRectF& s) {
        return r.x() == s.x() && r.y() == s.y() && r.width() == s.width() &&
               r.height() == s.height();
    };
    return a.picture == b.picture && same(a.target, b.target) && a.geometry == b.geometry;
}

bool DrawingCache::sameMapping(const Mapping& a, const Mapping& b) {
    return a.scale == b.scale && a.fraction == b.fraction && a.area == b.area;
}

void DrawingCache::clear() {
    m_copy = QImage();
    m_paints = 0;
    m_key = Key();
}

void DrawingCache::paint(QPainter& painter, const QRect& area, const Key& key,
                         const std::function<void(QPainter&)>& draw) {
    const QTransform device = painter.deviceTransform();
    const bool copyable =
        painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster &&
        device.type() <= QTransform::TxScale && device.m11() > 0 && device.m11() == device.m22();
    if (!copyable) {
        draw(painter);
        return;
    }

    const QPointF whole(std::floor(device.dx()), std::floor(device.dy()));
    const Mapping mapping{device.m11(), QPointF(device.dx(), device.dy()) - whole, area};
    if (sameKey(key, m_key) && sameMapping(mapping, m_mapping)) {
        ++m_paints;
    } else {
        m_key = key;
        m_mapping = mapping;
        m_paints = 1;
        m_copy = QImage();
    }

    if (m_copy.isNull()) {
        if (m_paints < paintsBeforeKeeping) {
            draw(painter);
            return;
        }
        // The same mapping as on the device, less the whole-pixel shift.
        const QTransform local(mapping.scale, 0, 0, mapping.scale, mapping.fraction.x(),
                               mapping.fraction.y());
        const QRect pixels = local.mapRect(QRectF(area)).toAlignedRect();
        m_copy = QImage(pixels.size(), QImage::Format_ARGB32_Premultiplied);
        // Nothing to keep, or no memory to keep it in: draw as before.
        if (m_copy.isNull()) {
            draw(painter);
            return;
        }
        m_copy.fill(Qt::transparent);
        m_copyOrigin = pixels.topLeft();
        QPainter onCopy(&m_copy);
        onCopy.setTransform(local * QTransform::fromTranslate(-pixels.left(), -pixels.top()));
        onCopy.setClipRect(area);
        draw(onCopy);
    }

    // Back from device pixels to the painter's coordinates; the copy then
    // lands on whole device pixels, unscaled.
    m_copy.setDevicePixelRatio(mapping.scale);
    const QPointF at((QPointF(m_copyOrigin) - mapping.fraction) / mapping.scale);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(at, m_copy);
    painter.restore();
}
