// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the metafile reader and player: any byte string is
// either refused with PictureError or read into a drawing that keeps the
// reader's promises and paints without fault, however it is stretched.

#include "platform/pictures/metafile.h"
#include "platform/pictures/pictureloader.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void broken(const char* promise) {
    std::fprintf(stderr, "metafile promise broken: %s\n", promise);
    std::abort();
}

bool finite(const QRectF& r) {
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.width()) &&
           std::isfinite(r.height());
}

void checkDrawing(const Metafile& picture) {
    if (!(picture.frame().width() > 0 && picture.frame().height() > 0) ||
        !finite(picture.frame())) {
        broken("a usable frame");
    }
    const QSizeF natural = picture.naturalSize();
    if (!(natural.width() > 0 && natural.height() > 0 && std::isfinite(natural.width()) &&
          std::isfinite(natural.height()))) {
        broken("a usable natural size");
    }
    for (const DrawItem& item : picture.displayList().items()) {
        if (!item.stroked && !item.filled) {
            broken("every item draws something");
        }
        if (!finite(item.bounds) || !(item.penWidth >= 0) || !std::isfinite(item.penWidth)) {
            broken("finite geometry and pen widths");
        }
    }
}

// The same drawing as the screen shows it: fitted, stretched far past the
// image like the widest trace, and shrunk below a pixel.
void paintEveryWay(const Metafile& picture) {
    static const QRectF targets[] = {
        {0, 0, 64, 24},
        {-9000, 2, 17800, 20},
        {30, 10, 0.25, 0.5},
    };
    QImage image(64, 24, QImage::Format_ARGB32_Premultiplied);
    for (const QRectF& target : targets) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        picture.paint(painter, target);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::shared_ptr<const Metafile> picture;
    try {
        picture = Metafile::fromData(bytes, QStringLiteral("fuzz.emf"));
    } catch (const PictureError&) {
        return 0;
    }
    checkDrawing(*picture);
    paintEveryWay(*picture);
    return 0;
}
