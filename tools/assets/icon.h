// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The application icon: two grey-and-white terminals joined by a dotted
// cable, as 32 x 32 and 16 x 16 images in 16 colours with a transparency mask.
QByteArray applicationIcon();
