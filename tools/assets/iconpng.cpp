// SPDX-License-Identifier: GPL-3.0-or-later
// virtalab-iconpng <icon.ico> <size> <out.png>: writes the icon's image of
// the given size as a PNG for the desktop's icon theme. The image is taken as
// drawn, never scaled: a missing size is an error.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "virtalab-iconpng: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // The ICO reader is a plugin; an application object lets Qt find it.
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <icon.ico> <size> <out.png>\n", argv[0]);
        return 2;
    }
    const QString iconPath = QString::fromLocal8Bit(argv[1]);
    const QString outPath = QString::fromLocal8Bit(argv[3]);
    bool isNumber = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&isNumber);
    if (!isNumber || size <= 0) {
        return fail(QStringLiteral("bad size \"%1\"").arg(QString::fromLocal8Bit(argv[2])));
    }

    QImageReader reader(iconPath, "ico");
    if (!reader.canRead()) {
        return fail(
            QStringLiteral("%1: not a readable icon (%2)").arg(iconPath, reader.errorString()));
    }
    QImage found;
    const int count = reader.imageCount();
    for (int i = 0; i < count && found.isNull(); ++i) {
        if (!reader.jumpToImage(i)) {
            break;
        }
        QImage image = reader.read();
        if (image.isNull()) {
            return fail(QStringLiteral("%1: image %2 is damaged (%3)")
                            .arg(iconPath)
                            .arg(i)
                            .arg(reader.errorString()));
        }
        if (image.width() == size && image.height() == size) {
            found = std::move(image);
        }
    }
    if (found.isNull()) {
        return fail(QStringLiteral("%1 holds no %2 x %2 image").arg(iconPath).arg(size));
    }

    const QFileInfo out(outPath);
    if (!QDir().mkpath(out.absolutePath())) {
        return fail(QStringLiteral("cannot create %1").arg(out.absolutePath()));
    }
    if (!found.convertToFormat(QImage::Format_ARGB32).save(outPath, "PNG")) {
        return fail(QStringLiteral("cannot write %1").arg(outPath));
    }
    return 0;
}
