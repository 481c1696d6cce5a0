// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/pictures/picture.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <functional>
#include <vector>

class QPainter;

// Keeps a costly drawing as device pixels, so that a repaint showing the
// same drawing again (the window uncovered, a dialog moved across it)
// copies pixels instead of drawing every vector afresh. A drawing is kept
// only once it has been painted twice unchanged: a trace that changes with
// every slider step goes straight to the screen with nothing extra to pay.
// Only raster devices mapped by a plain scale and shift use the copy; a
// printer or a recording always gets the vectors.
class DrawingCache {
public:
    // What the drawing looks like besides the device: the picture, where it
    // goes and which part of it the widget covers. Compared exactly; any
    // change draws afresh.
    struct Key {
        PicturePtr picture;
        QRectF target;
        QRect geometry;
    };

    // Paints the drawing of key into area (the widget's rectangle) with
    // painter, through the kept copy when there is one; draw paints it for
    // real, onto whatever painter it is given.
    void paint(QPainter& painter, const QRect& area, const Key& key,
               const std::function<void(QPainter&)>& draw);

    // Frees the copy, for a widget that no longer shows the drawing.
    void clear();

    bool holdsCopy() const { return m_kept; }

private:
    // How the painter maps the widget onto device pixels: a scale and the
    // sub-pixel part of the shift. Whole-pixel shifts move the same pixels.
    struct Mapping {
        double scale = 0;
        QPointF fraction;
        QRect area;
    };

    static bool sameKey(const Key& a, const Key& b);
    static bool sameMapping(const Mapping& a, const Mapping& b);

    // A strip of the copy that holds drawing; the blank rest is not kept.
    struct Piece {
        QImage pixels;
        QPoint origin; // device pixels, from the whole-pixel origin of the widget
    };

    Key m_key;
    Mapping m_mapping;
    int m_paints = 0;
    bool m_kept = false;
    std::vector<Piece> m_pieces;
};
