// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// Colours are kept as the designed integers: red + 256 * green + 65536 * blue.
inline QColor fromVbColor(int rgb) {
    return {rgb & 0xff, (rgb >> 8) & 0xff, (rgb >> 16) & 0xff};
}

inline int toVbColor(const QColor& c) {
    return c.red() + 256 * c.green() + 65536 * c.blue();
}
