// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Panel;

// The four trace steps. Each reads the sliders and the trace's current size
// when it runs and writes straight into the trace; nothing is cached.
class TraceSteps {
public:
    explicit TraceSteps(Panel& panel) : p(panel) {}

    void ycentr();
    void xcentr();
    void ystroy();
    void xystroy();

private:
    Panel& p;
};
