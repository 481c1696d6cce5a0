// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fonts.h"

// The system has the faces, and its own default for menus and message boxes.
void fonts::install() {}
