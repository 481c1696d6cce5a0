// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panel/drawingcache.h"
#include "platform/pictures/picture.h"

#include <QWidget>

// An image control: shows a picture either stretched to its rectangle or at
// the picture's own size from its top-left corner. The rectangle is kept in
// single-precision twips exactly as set, so a trace may be placed and sized
// to a fraction of a pixel and may reach far beyond its container; the widget
// itself only covers the part its container shows, so painting never costs
// more than the visible area.
class ImageControl : public QWidget {
    Q_OBJECT

public:
    explicit ImageControl(QWidget* parent = nullptr);

    void setPicture(PicturePtr picture);
    const PicturePtr& picture() const { return m_picture; }

    void setStretch(bool stretch);
    bool stretch() const { return m_stretch; }

    // Twips, relative to the container's top-left corner.
    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);
    void setTwips(float left, float top, float width, float height);

    // The rectangle in logical pixels of the container, unclipped.
    QRectF pixelRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void place();
    // Where the picture goes, in the container's logical pixels.
    QRectF target() const;
    // Draws the picture into its rectangle, in the container's coordinates.
    void drawPicture(QPainter& painter, const QRectF& target) const;

    PicturePtr m_picture;
    bool m_stretch = true;
    float m_left = 0;
    float m_top = 0;
    float m_width = 0;
    float m_height = 0;
    DrawingCache m_cache;
};
