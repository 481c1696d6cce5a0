// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A straight line between two points given in twips of its container.
class LineControl : public QWidget {
    Q_OBJECT

public:
    explicit LineControl(QWidget* parent = nullptr);

    void setLine(int x1, int y1, int x2, int y2);
    int x1() const { return m_x1; }
    int y1() const { return m_y1; }
    int x2() const { return m_x2; }
    int y2() const { return m_y2; }

    void setColor(int rgb);
    int color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_x1 = 0;
    int m_y1 = 0;
    int m_x2 = 0;
    int m_y2 = 0;
    int m_color = 0;
};
