// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QRectF>
#include <cmath>

// The panel is designed in twips; Qt lays out in logical pixels, and the
// device pixel ratio takes care of high-DPI screens.
namespace twips {

inline constexpr double perPixel = 15.0;

inline int toPx(double t) {
    return static_cast<int>(std::lround(t / perPixel));
}

inline double toPxF(double t) {
    return t / perPixel;
}

// Both edges are rounded, not the width, so that neighbours that touch in
// the design still touch on screen.
inline QRect rect(int left, int top, int width, int height) {
    const int l = toPx(left);
    const int t = toPx(top);
    return {l, t, toPx(left + width) - l, toPx(top + height) - t};
}

inline QRectF rectF(double left, double top, double width, double height) {
    return {toPxF(left), toPxF(top), toPxF(width), toPxF(height)};
}

} // namespace twips
