// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QPainter;
class QRectF;
class QWidget;

// Paints a widget with all its children, as they are shown at this moment,
// into the rectangle `page` of the painter's device (in the device's
// pixels): at one scale for both axes, as large as fits, centred across the
// page and at its top. The drawing reaches the device as vector commands,
// so text and pictures stay sharp at a printer's resolution. Every printed
// page of the program is made here, whatever the device.
void paintWidgetOnPage(QWidget& widget, QPainter& painter, const QRectF& page);
