// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The panel's designed values that more than one part of the program works
// with, each written once: the panel builds its controls from them, the
// model computes with them, the tools draw with them.
namespace designed {

// Colours as designed integers: red + 256 × green + 65536 × blue.
namespace colour {
inline constexpr int green = 65280;      // a lamp switched on; the traces
inline constexpr int darkRed = 192;      // a lamp switched off
inline constexpr int grey = 8421504;     // the lamps' border
inline constexpr int white = 16777215;   // the screen's axes
inline constexpr int red = 255;          // the title's letters, the about box's rule
inline constexpr int cyan = 16776960;    // the about box's link and notices
inline constexpr int darkGrey = 4210752; // the about box's background
inline constexpr int blue = 16711680;    // the about box's outline
inline constexpr int black = 0;          // behind the about box's "OK"
} // namespace colour

inline constexpr int lampOn = colour::green;
inline constexpr int lampOff = colour::darkRed;

// Where the screen's axes cross, in twips of its drawing area: the trace's
// centre with both offsets at 0.
inline constexpr std::int32_t xCentre = 2570;
inline constexpr std::int32_t yCentre = 2050;

// The source pictures i1(0) to i1(4), by what they show. The three
// waveforms share their indices with the signal options signal(0) to
// signal(2).
enum Trace : int { Sawtooth = 0, Sine = 1, Rectangle = 2, Spot = 3, Stroke = 4 };

// A slider's range and start value as designed; the steps of the arrow keys
// and of a page click are the program's own.
struct SliderSettings {
    int minimum;
    int maximum;
    int start;
    int step;
    int page;
};

inline constexpr SliderSettings sl1{-2570, 2570, 0, 10, 100}; // X offset of the trace, twips
inline constexpr SliderSettings sl2{-2100, 2100, 0, 10, 100}; // Y offset, twips, growing down
inline constexpr SliderSettings sl3{0, 50, 25, 1, 5};         // source voltage, V
inline constexpr SliderSettings sl4{1, 25, 10, 1, 5};         // source frequency, Hz
inline constexpr SliderSettings sl5{1, 11, 6, 1, 1};          // oscilloscope gain
inline constexpr SliderSettings sl6{1, 8, 6, 1, 1};           // time per division

} // namespace designed
