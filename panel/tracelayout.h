// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panel/designed.h"

#include <array>

// How the three waveform pictures i1(0) to i1(2) lie in their drawings: the
// asset generator draws them so, and the screen's description speaks of
// them so. Drawing units, y growing downwards.
namespace tracelayout {

struct Wave {
    int periods; // full periods; teeth for the sawtooth
    int width;   // of the drawing
    int height;
    int first; // the drawn span along x
    int last;
    int top; // the two levels the wave swings between
    int bottom;

    // The share of the drawing's width that the periods span.
    constexpr double span() const { return double(last - first) / width; }
    // Peak to peak, as a share of the drawing's height.
    constexpr double swing() const { return double(bottom - top) / height; }
};

inline constexpr Wave sawtooth{60, 1778, 33, 1, 1776, 1, 31};
inline constexpr Wave sine{56, 2370, 64, 1, 2367, 1, 61};
inline constexpr Wave rectangle{30, 1778, 33, 1, 1776, 1, 31};

// By picture index.
inline constexpr std::array<Wave, 3> waves{[] {
    std::array<Wave, 3> byIndex{};
    byIndex[designed::Sawtooth] = sawtooth;
    byIndex[designed::Sine] = sine;
    byIndex[designed::Rectangle] = rectangle;
    return byIndex;
}()};

} // namespace tracelayout
