// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/assets/tracemetafiles.h"

#include "panel/tracelayout.h"
#include "tools/assets/emfwriter.h"

#include <cmath>

namespace {

using tracelayout::Wave;

// The three waveforms share one layout: a one-unit green pen over a
// transparent background in a drawing whose logical units are device pixels.
class Trace {
public:
    Trace(const QString& path, const Wave& wave, const QSize& frame)
        : m_emf(path, QRect(0, 0, wave.width, wave.height), frame) {
        m_emf.setAnisotropicMapping(QPoint(0, 0), QSize(wave.width, wave.height));
        m_emf.setTransparentBackground();
        m_pen = m_emf.createPen(1, designed::colour::green);
        m_emf.select(m_pen);
    }
    EmfWriter& emf() { return m_emf; }
    void finish() {
        m_emf.selectNullPen();
        m_emf.deleteObject(m_pen);
        m_emf.finish();
    }

private:
    EmfWriter m_emf;
    std::uint32_t m_pen = 0;
};

// Whole-unit position of the k-th of n equal steps from first to last.
int step(int first, int last, int k, int n) {
    return first + static_cast<int>(std::floor((last - first) * double(k) / n + 0.5));
}

} // namespace

void writeSawtooth(const QString& path) {
    constexpr Wave saw = tracelayout::sawtooth;
    Trace trace(path, saw, QSize(15055, 282));
    for (int k = 0; k < saw.periods; ++k) {
        const int from = step(saw.first, saw.last, k, saw.periods);
        const int to = step(saw.first, saw.last, k + 1, saw.periods);
        trace.emf().line(QPoint(from, saw.bottom), QPoint(to, saw.top));
        trace.emf().line(QPoint(to, saw.top), QPoint(to, saw.bottom));
    }
    trace.finish();
}

void writeSine(const QString& path) {
    constexpr Wave sine = tracelayout::sine;
    constexpr int halfWaves = 2 * sine.periods;
    constexpr int middle = (sine.top + sine.bottom) / 2;
    constexpr int amplitude = (sine.bottom - sine.top) / 2;
    constexpr double halfWave = (sine.last - sine.first) / double(halfWaves);
    Trace trace(path, sine, QSize(20064, 538));
    for (int i = 0; i < halfWaves; ++i) {
        // Half-waves start at whole units; the peak sits at the middle unit and
        // the control points hug it so the curve looks like a sine.
        const int x0 = sine.first + static_cast<int>(std::floor(i * halfWave + 0.8));
        const int x1 = sine.first + static_cast<int>(std::floor((i + 1) * halfWave + 0.8));
        const int peak = x0 + (x1 - x0) / 2;
        const int sign = i % 2 == 0 ? -1 : 1; // the first half-wave goes up
        const int crest = middle + sign * amplitude;
        const int shoulder = middle + sign * amplitude / 2;
        trace.emf().beginPath();
        trace.emf().moveTo(QPoint(x0, middle));
        trace.emf().polyBezierTo({{peak - 7, shoulder},
                                  {peak - 3, crest},
                                  {peak, crest},
                                  {peak + 4, crest},
                                  {peak + 7, shoulder},
                                  {x1, middle}});
        trace.emf().endPath();
        trace.emf().strokePath(
            QRect(QPoint(x0, std::min(middle, crest)), QPoint(x1, std::max(middle, crest))));
    }
    trace.finish();
}

void writeSquare(const QString& path) {
    constexpr Wave square = tracelayout::rectangle;
    constexpr int levels = 2 * square.periods;
    Trace trace(path, square, QSize(15055, 273));
    for (int k = 0; k < levels; ++k) {
        const int from = step(square.first, square.last, k, levels);
        const int to = step(square.first, square.last, k + 1, levels);
        const int level = k % 2 == 0 ? square.top : square.bottom;
        const int next = k % 2 == 0 ? square.bottom : square.top;
        trace.emf().line(QPoint(from, level), QPoint(to, level));
        trace.emf().line(QPoint(to, level), QPoint(to, next));
    }
    trace.finish();
}

void writeSpot(const QString& path) {
    EmfWriter emf(path, QRect(0, 0, 35, 35), QSize(291, 291));
    emf.setAnisotropicMapping(QPoint(-1, -1), QSize(35, 35));
    emf.setTransparentBackground();
    // The three-unit point under the disc.
    const std::uint32_t pen = emf.createPen(3, designed::colour::green);
    emf.select(pen);
    emf.line(QPoint(16, 16), QPoint(16, 16));
    const std::uint32_t brush = emf.createBrush(designed::colour::green);
    emf.select(brush);
    emf.selectNullPen();
    emf.deleteObject(pen);
    emf.ellipse(QRect(QPoint(2, 2), QPoint(30, 30)));
    emf.deleteObject(brush);
    emf.finish();
}

void writeStroke(const QString& path) {
    EmfWriter emf(path, QRect(0, 0, 6, 34), QSize(44, 291));
    emf.setAnisotropicMapping(QPoint(0, 0), QSize(6, 34));
    emf.setTransparentBackground();
    const std::uint32_t pen = emf.createPen(3, designed::colour::green);
    emf.select(pen);
    emf.line(QPoint(2, 31), QPoint(2, 1));
    emf.selectNullPen();
    emf.deleteObject(pen);
    emf.finish();
}
