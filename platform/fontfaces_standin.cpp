// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fontfaces.h"

// Liberation's faces have the metrics of Windows' own.
QString fonts::family(Design design) {
    return design == Design::sans ? QStringLiteral("Liberation Sans")
                                  : QStringLiteral("Liberation Serif");
}
