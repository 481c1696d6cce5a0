// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/pictures/displaylist.h"

#include <QByteArray>
#include <QRect>
#include <QRectF>
#include <QString>

// What an enhanced metafile holds once read: its drawing as a display list in
// reference-device pixels, and the frame the file declares for itself.
struct EmfDrawing {
    DisplayList list;
    QRect frameHundredthsMm; // as declared: hundredths of a millimetre
    QRectF frame;            // the same rectangle in reference-device pixels
};

// Reads and checks every record. Records the pictures never use are skipped;
// a malformed file throws PictureError naming `name` and the byte offset of
// the faulty record.
EmfDrawing readEnhancedMetafile(const QByteArray& data, const QString& name);

// Whether data starts like an enhanced metafile.
bool looksLikeEnhancedMetafile(const QByteArray& data);
