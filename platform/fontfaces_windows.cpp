// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fontfaces.h"

QString fonts::family(Design design) {
    return design == Design::sans ? QStringLiteral("Microsoft Sans Serif")
                                  : QStringLiteral("Times New Roman");
}
