// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/picture.h"

#include <QString>
#include <stdexcept>

// A picture file that cannot be read or is malformed. The message names the
// file and, for a malformed file, the byte offset of the fault.
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Loads a bitmap, GIF (first frame), icon or enhanced metafile, by file name
// or Qt resource path (":/assets/...").
PicturePtr loadPicture(const QString& path);
