// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The faces the windows are drawn with: Windows' own faces there, and
// elsewhere metric stand-ins of the same sizes.
namespace fonts {

// Makes the faces below available where the system has none of them (the
// browser), with the desktop's default face for menus and message boxes.
void install();

// A window's default font: "MS Sans Serif" 8 pt.
QFont window();

// "MS Sans Serif", regular.
QFont sans(double points);

// "Times New Roman", bold.
QFont serifBold(double points);

} // namespace fonts
