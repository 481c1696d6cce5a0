// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The about box's title: the program's name in bold serif letters, red over
// a light-grey drop shadow, one filled path per letter. fontFile is the
// typeface the letter outlines are taken from.
void writeTitle(const QString& path, const QString& fontFile);
