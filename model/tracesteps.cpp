// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/tracesteps.h"

#include "model/geometry.h"
#include "panel/imagecontrol.h"
#include "panel/panel.h"
#include "panel/slider.h"

using namespace geometry;

// The size is read back from the trace before the offset slider is read.
void TraceSteps::ycentr() {
    const float height = p.ii->Height();
    const std::int32_t point = offsetSum(p.sl2->value(), yCentre);
    p.ii->setTop(centredStart(point, height));
}

void TraceSteps::xcentr() {
    const float width = p.ii->Width();
    const std::int32_t point = offsetSum(p.sl1->value(), xCentre);
    p.ii->setLeft(centredStart(point, width));
}

void TraceSteps::ystroy() {
    const std::int32_t gain = p.sl5->value();
    const std::int32_t voltage = p.sl3->value();
    p.ii->setHeight(traceHeight(gain, voltage));
    ycentr();
}

void TraceSteps::xystroy() {
    ystroy();
    const std::int32_t time = p.sl6->value();
    const std::int32_t frequency = p.sl4->value();
    p.ii->setWidth(traceWidth(time, frequency));
    xcentr();
}
