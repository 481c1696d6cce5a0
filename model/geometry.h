// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panel/designed.h"

#include <cstdint>
#include <stdexcept>

// The trace's size and centring arithmetic, as pure functions over plain
// numbers. Sizes and positions are twips; every product and quotient is
// evaluated in double precision in a fixed order and rounded once to single
// precision, the precision the trace control keeps.
namespace geometry {

// The point the trace centres on with both offsets at 0.
inline constexpr std::int32_t xCentre = designed::xCentre;
inline constexpr std::int32_t yCentre = designed::yCentre;

// A run-time fault that stops a handler before it writes anything.
class TraceError : public std::runtime_error {
public:
    enum class Kind { Overflow, DivisionByZero, InvalidOperation };

    explicit TraceError(Kind kind);
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// Offset slider value plus the centre, as a checked 32-bit addition.
std::int32_t offsetSum(std::int32_t value, std::int32_t centre);

// Left or Top that centres a size on a point: point - size / 2.
float centredStart(std::int32_t point, float size);

// Height: 84 / 6 * gain, then times voltage.
float traceHeight(std::int32_t gain, std::int32_t voltage);

// Width: 1000000 / 5 / 6 * time per division, then divided by frequency.
float traceWidth(std::int32_t timePerDivision, std::int32_t frequency);

// Rounds to single precision, refusing what single precision cannot hold.
float toSingle(double value);

} // namespace geometry
