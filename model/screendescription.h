// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

class Panel;

// The screen in words, for a student who cannot see it: what the trace
// shows, how large it is and where. Derived from the trace alone, so the
// text is right whatever sequence of handlers led there.
namespace screentext {

// Twips in one cell of the screen's grid (8 pixels), the unit a student
// counts in.
inline constexpr double twipsPerDivision = 120.0;

struct TraceView {
    bool shown = false;
    // Index of the source picture the trace holds (0 sawtooth, 1 sine,
    // 2 rectangle, 3 spot, 4 stroke); -1 for none.
    int picture = -1;
    // Twips from the top-left corner of the screen's drawing area.
    QRectF rect;
};

// area: the drawing area's size in twips.
QString describe(const TraceView& trace, const QSizeF& area);

TraceView traceOf(const Panel& panel);

// Writes the description of the panel's screen into its accessible
// description; assistive tools hear of the change only when the text changes.
void describeScreen(Panel& panel);

} // namespace screentext
