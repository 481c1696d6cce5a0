// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSlider>

// The panel's slider. Value notifications are valueChanged, raised while the
// thumb is dragged and whenever the value is set from code.
class Slider : public QSlider {
    Q_OBJECT

public:
    explicit Slider(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Sets the value and always notifies, even when the value is unchanged,
    // so that a request to re-centre a trace is never silently dropped.
    void setValueNotify(int value);
};
