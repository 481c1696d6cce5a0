// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The rainbow strips that frame the screen: a 600 x 1 GIF89a of 11 frames,
// each shifted 50 pixels further right, and a still 1 x 600 GIF87a running
// the other way round the hue circle.
QByteArray horizontalRainbowGif();
QByteArray verticalRainbowGif();
