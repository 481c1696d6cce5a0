// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A rectangle shape with a one-pixel border and an opaque fill, as used for
// the power lamps and the about box's frame.
class ShapeControl : public QWidget {
    Q_OBJECT

public:
    explicit ShapeControl(QWidget* parent = nullptr);

    // Colours as designed integers (red + 256 * green + 65536 * blue).
    void setFillColor(int rgb);
    int fillColor() const { return m_fill; }
    void setBorderColor(int rgb);
    int borderColor() const { return m_border; }
    void setBorderWidth(int pixels);
    // An outline only: the fill is not drawn.
    void setFilled(bool filled);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_fill = 0xffffff;
    int m_border = 0;
    int m_borderWidth = 1;
    bool m_filled = true;
};
