// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QSizeF>
#include <memory>
#include <stdexcept>

class QPainter;

// A picture an image control can show. Pictures are immutable and shared:
// copying a picture from one control to another shares the same object.
class Picture {
public:
    virtual ~Picture() = default;

    // Draws the whole picture mapped onto target (logical coordinates of the
    // painter), independently scaled in x and y.
    virtual void paint(QPainter& painter, const QRectF& target) const = 0;

    // Size in logical pixels when shown unstretched.
    virtual QSizeF naturalSize() const = 0;
};

using PicturePtr = std::shared_ptr<const Picture>;

// A picture file that cannot be read or is malformed. The message names the
// file and, for a malformed file, the byte offset of the fault.
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
