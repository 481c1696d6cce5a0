// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/imagecontrol.h"

#include "panel/twips.h"
#include "platform/pictures/rasterpicture.h"

#include <QEvent>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    // Pictures are drawn over whatever lies beneath; nothing here is opaque.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ImageControl::setPicture(PicturePtr picture) {
    m_picture = std::move(picture);
    update();
}

void ImageControl::setStretch(bool stretch) {
    m_stretch = stretch;
    update();
}

QRectF ImageControl::target() const {
    const QRectF full = pixelRect();
    return m_stretch || !m_picture ? full : QRectF(full.topLeft(), m_picture->naturalSize());
}

void ImageControl::setLeft(float left) {
    m_left = left;
    place();
}

void ImageControl::setTop(float top) {
    m_top = top;
    place();
}

void ImageControl::setWidth(float width) {
    m_width = width;
    place();
}

void ImageControl::setHeight(float height) {
    m_height = height;
    place();
}

void ImageControl::setTwips(float left, float top, float width, float height) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    place();
}

QRectF ImageControl::pixelRect() const {
    return twips::rectF(m_left, m_top, m_width, m_height);
}

void ImageControl::place() {
    QRect area = pixelRect().toAlignedRect();
    if (const QWidget* container = parentWidget()) {
        area &= container->rect();
    }
    if (area.isEmpty()) {
        area = QRect(area.topLeft(), QSize(0, 0));
    }
    if (area != geometry()) {
        setGeometry(area);
    }
    update();
}

bool ImageControl::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange) {
        place();
    }
    return QWidget::event(event);
}

void ImageControl::paintEvent(QPaintEvent*) {
    if (!m_picture) {
        return;
    }
    QPainter painter(this);
    // On screen the widget clips already; a recording for the printer does
    // not, and the picture may be far larger than the widget.
    painter.setClipRect(rect());
    const QRectF target = this->target();
    // A raster picture is pixels already: a copy would only cost memory.
    if (dynamic_cast<const RasterPicture*>(m_picture.get())) {
        drawPicture(painter, target);
        return;
    }
    m_cache.paint(painter, rect(), {m_picture, target, geometry()},
                  [this, &target](QPainter& on) { drawPicture(on, target); });
}

void ImageControl::drawPicture(QPainter& painter, const QRectF& target) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Paint in the container's coordinates: the widget is only the visible
    // window onto the full rectangle.
    painter.translate(-QPointF(geometry().topLeft()));
    m_picture->paint(painter, target);
}
