// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/linecontrol.h"

#include "panel/twips.h"
#include "panel/vbcolor.h"

#include <QPainter>

LineControl::LineControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::setLine(int x1, int y1, int x2, int y2) {
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
    // The widget spans the line's bounding box and is at least one pixel thick.
    const QPoint a(twips::toPx(x1), twips::toPx(y1));
    const QPoint b(twips::toPx(x2), twips::toPx(y2));
    setGeometry(QRect(a, b).normalized().adjusted(0, 0, 1, 1));
    update();
}

void LineControl::setColor(int rgb) {
    m_color = rgb;
    update();
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(fromVbColor(m_color), 0));
    const QPoint origin = geometry().topLeft();
    painter.drawLine(QPoint(twips::toPx(m_x1), twips::toPx(m_y1)) - origin,
                     QPoint(twips::toPx(m_x2), twips::toPx(m_y2)) - origin);
}
