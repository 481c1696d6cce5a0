// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fonts.h"

#include "platform/fontfaces.h"

namespace fonts {

// "MS Sans Serif" is a bitmap face Qt does not draw; Windows' TrueType face
// of the same design and metrics takes its name. The window's default is
// that face at 8 pt, as Windows gives a form of the designed kind; the
// system's newer user-interface fonts (Tahoma, Segoe UI) are wider, and the
// designed captions do not fit them.
QFont window() {
    return sans(8);
}

QFont sans(double points) {
    QFont font(family(Design::sans));
    font.setPointSizeF(points);
    return font;
}

QFont serifBold(double points) {
    QFont font(family(Design::serif));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

} // namespace fonts
