// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The oscilloscope screen's graph paper as a 343 x 280, 24-bit Windows bitmap.
QByteArray screenBitmap();
