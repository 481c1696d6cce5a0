// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/pictures/picture.h"

#include <QString>

// Loads a bitmap, GIF (first frame), icon or enhanced metafile, by file name
// or Qt resource path (":/assets/..."); throws PictureError.
PicturePtr loadPicture(const QString& path);
