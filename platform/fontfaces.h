// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The faces of this system for the two designs the windows use: Windows'
// own, or metric stand-ins of the same sizes.
namespace fonts {

enum class Design {
    // "MS Sans Serif"
    sans,
    // "Times New Roman"
    serif,
};

QString family(Design design);

} // namespace fonts
