// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLineF>
#include <QPainterPath>
#include <QRectF>
#include <cstdint>
#include <vector>

// One drawing operation of a vector picture, in the picture's drawing units.
struct DrawItem {
    enum class Shape : std::uint8_t { Line, Path };

    Shape shape = Shape::Line;
    QLineF line;       // Shape::Line; a zero-length line is a dot of the pen's width
    QPainterPath path; // Shape::Path, with its fill rule
    bool stroked = false;
    bool filled = false;
    QColor penColour;
    double penWidth = 0; // drawing units; 0 means one device pixel
    QColor brushColour;
    QRectF bounds; // of the geometry, without the pen
};

// The drawing operations in painting order, with an index by horizontal
// position so that painting a small part of a picture touches only the
// operations that reach into it.
class DisplayList {
public:
    void add(DrawItem item);
    // Builds the index; call once after the last add().
    void seal();

    const std::vector<DrawItem>& items() const { return m_items; }
    double widestPen() const { return m_widestPen; }

    // Positions, in painting order, of the items whose bounds meet area.
    std::vector<std::uint32_t> itemsMeeting(const QRectF& area) const;

private:
    std::vector<DrawItem> m_items;
    std::vector<std::uint32_t> m_byLeft; // item positions sorted by left edge
    std::vector<double> m_lefts;         // their left edges, ascending
    double m_widestItem = 0;
    double m_widestPen = 0;
};
