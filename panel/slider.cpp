// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/slider.h"

Slider::Slider(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) {
    setTracking(true);
}

void Slider::setValueNotify(int value) {
    if (value == this->value()) {
        Q_EMIT valueChanged(value);
    } else {
        setValue(value);
    }
}
