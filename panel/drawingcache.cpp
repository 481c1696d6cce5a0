// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/drawingcache.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTransform>
#include <cmath>

namespace {

// Two paints with the same look: the second one keeps a copy.
constexpr int paintsBeforeKeeping = 2;

// Rows of device pixels looked at together when trimming the blank away.
constexpr int bandHeight = 32;

qint64 area(const QRect& r) {
    return qint64(r.width()) * r.height();
}

// The strips of an image that hold any drawing, in bands of rows, each band
// trimmed to its drawn rows and columns. A trace covers a small share of the
// screen, and blending only its strips makes the copy cheap to show.
// Neighbouring bands of much the same extent are joined, so that a dense
// drawing is still blended in a few calls.
std::vector<QRect> drawnStrips(const QImage& image) {
    std::vector<QRect> strips;
    for (int band = 0; band < image.height(); band += bandHeight) {
        const int end = std::min(image.height(), band + bandHeight);
        int left = image.width();
        int right = -1;
        int top = end;
        int bottom = band - 1;
        for (int y = band; y < end; ++y) {
            // Premultiplied: a blank pixel is all zero.
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            const int width = image.width();
            int x = 0;
            while (x < width && line[x] == 0) {
                ++x;
            }
            if (x == width) {
                continue;
            }
            top = std::min(top, y);
            bottom = y;
            left = std::min(left, x);
            int r = width - 1;
            while (r > right && line[r] == 0) {
                --r;
            }
            right = std::max(right, r);
        }
        if (right < left) {
            continue;
        }
        const QRect strip(left, top, right - left + 1, bottom - top + 1);
        if (!strips.empty() && strips.back().bottom() + 1 == top) {
            const QRect both = strips.back().united(strip);
            if (area(both) * 4 <= (area(strips.back()) + area(strip)) * 5) {
                strips.back() = both;
                continue;
            }
        }
        strips.push_back(strip);
    }
    return strips;
}

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
    m_pieces.clear();
    m_kept = false;
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
        m_pieces.clear();
        m_kept = false;
    }

    if (!m_kept) {
        if (m_paints < paintsBeforeKeeping) {
            draw(painter);
            return;
        }
        // The same mapping as on the device, less the whole-pixel shift.
        const QTransform local(mapping.scale, 0, 0, mapping.scale, mapping.fraction.x(),
                               mapping.fraction.y());
        const QRect pixels = local.mapRect(QRectF(area)).toAlignedRect();
        QImage copy(pixels.size(), QImage::Format_ARGB32_Premultiplied);
        // Nothing to keep, or no memory to keep it in: draw as before.
        if (copy.isNull()) {
            draw(painter);
            return;
        }
        copy.fill(Qt::transparent);
        {
            QPainter onCopy(&copy);
            onCopy.setTransform(local * QTransform::fromTranslate(-pixels.left(), -pixels.top()));
            onCopy.setClipRect(area);
            draw(onCopy);
        }
        for (const QRect& strip : drawnStrips(copy)) {
            QImage piece = copy.copy(strip);
            if (piece.isNull()) {
                m_pieces.clear();
                draw(painter);
                return;
            }
            // Back from device pixels to the painter's coordinates; the
            // piece then lands on whole device pixels, unscaled.
            piece.setDevicePixelRatio(mapping.scale);
            m_pieces.push_back({std::move(piece), pixels.topLeft() + strip.topLeft()});
        }
        m_kept = true;
    }

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const Piece& piece : m_pieces) {
        painter.drawImage((QPointF(piece.origin) - mapping.fraction) / mapping.scale, piece.pixels);
    }
    painter.restore();
}
