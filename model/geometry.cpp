// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/geometry.h"

#include <cmath>
#include <limits>

namespace geometry {

namespace {

const char* describe(TraceError::Kind kind) {
    switch (kind) {
    case TraceError::Kind::Overflow:
        return "Ошибка выполнения 6: переполнение (Overflow)";
    case TraceError::Kind::DivisionByZero:
        return "Ошибка выполнения 11: деление на ноль (Division by zero)";
    case TraceError::Kind::InvalidOperation:
        return "Ошибка выполнения 6: недопустимая операция с плавающей точкой (Invalid operation)";
    }
    return "Ошибка выполнения";
}

double checked(double value) {
    if (std::isnan(value)) {
        throw TraceError(TraceError::Kind::InvalidOperation);
    }
    if (std::isinf(value)) {
        throw TraceError(TraceError::Kind::Overflow);
    }
    return value;
}

} // namespace

TraceError::TraceError(Kind kind) : std::runtime_error(describe(kind)), m_kind(kind) {}

std::int32_t offsetSum(std::int32_t value, std::int32_t centre) {
    std::int32_t sum = 0;
    if (__builtin_add_overflow(value, centre, &sum)) {
        throw TraceError(TraceError::Kind::Overflow);
    }
    return sum;
}

float toSingle(double value) {
    checked(value);
    // Beyond the largest float plus half its last unit, rounding would give
    // infinity.
    const double limit =
        static_cast<double>(std::numeric_limits<float>::max()) + std::ldexp(1.0, 103);
    if (std::fabs(value) >= limit) {
        throw TraceError(TraceError::Kind::Overflow);
    }
    return static_cast<float>(value);
}

float centredStart(std::int32_t point, float size) {
    const double half = checked(static_cast<double>(size) / 2.0);
    return toSingle(checked(static_cast<double>(point) - half));
}

float traceHeight(std::int32_t gain, std::int32_t voltage) {
    const double perGain = checked(84.0 / 6.0 * static_cast<double>(gain));
    return toSingle(checked(static_cast<double>(voltage) * perGain));
}

float traceWidth(std::int32_t timePerDivision, std::int32_t frequency) {
    const double perTime = checked(1000000.0 / 5.0 / 6.0 * static_cast<double>(timePerDivision));
    if (frequency == 0) {
        throw TraceError(TraceError::Kind::DivisionByZero);
    }
    return toSingle(checked(perTime / static_cast<double>(frequency)));
}

} // namespace geometry
