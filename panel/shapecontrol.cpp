// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/shapecontrol.h"

#include "panel/vbcolor.h"

#include <QPainter>

ShapeControl::ShapeControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeControl::setFillColor(int rgb) {
    m_fill = rgb;
    update();
}

void ShapeControl::setBorderColor(int rgb) {
    m_border = rgb;
    update();
}

void ShapeControl::setBorderWidth(int pixels) {
    m_borderWidth = pixels;
    update();
}

void ShapeControl::setFilled(bool filled) {
    m_filled = filled;
    update();
}

void ShapeControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    if (m_filled) {
        painter.fillRect(r, fromVbColor(m_fill));
    }
    const QColor border = fromVbColor(m_border);
    const int w = std::min({m_borderWidth, r.width(), r.height()});
    painter.fillRect(QRect(r.left(), r.top(), r.width(), w), border);
    painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), border);
    painter.fillRect(QRect(r.left(), r.top(), w, r.height()), border);
    painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), border);
}
