// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pictures/pictureloader.h"

#include "platform/pictures/emfreader.h"
#include "platform/pictures/metafile.h"
#include "platform/pictures/rastercheck.h"
#include "platform/pictures/rasterpicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

PicturePtr loadPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw PictureError(QStringLiteral("Не удаётся открыть рисунок «%1»: %2")
                               .arg(path, file.errorString())
                               .toStdString());
    }
    const QByteArray data = file.readAll();
    if (looksLikeEnhancedMetafile(data)) {
        return Metafile::fromData(data, path);
    }

    if (const QString damage = rasterDamage(data); !damage.isEmpty()) {
        throw PictureError(
            QStringLiteral("Рисунок «%1» повреждён: %2").arg(path, damage).toStdString());
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QFileInfo(path).suffix().toLatin1());
    QImage image = reader.read();
    if (image.isNull()) {
        throw PictureError(QStringLiteral("Не удаётся прочитать рисунок «%1»: %2")
                               .arg(path, reader.errorString())
                               .toStdString());
    }
    return std::make_shared<const RasterPicture>(std::move(image));
}
