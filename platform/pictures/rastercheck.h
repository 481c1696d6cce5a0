// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// What is missing from a bitmap, GIF or icon file that was cut short, or an
// empty string when its parts are all there (or it is none of these kinds).
// Qt's readers show whatever part of such a file they got, so a damaged
// picture would otherwise load with pixels missing and no word of it.
QString rasterDamage(const QByteArray& data);
