// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pictures/rastercheck.h"

#include "platform/littleendian.h"

#include <cstdint>
#include <cstdlib>

namespace {

using littleendian::u16At;
using littleendian::u32At;

QString bitmapDamage(const QByteArray& data) {
    constexpr qsizetype headers = 14 + 40;
    if (data.size() < headers || u32At(data, 14) < 40) {
        return {}; // too short for its headers: Qt's reader says so itself
    }
    const std::uint32_t pixelsAt = u32At(data, 10);
    const std::int64_t width = std::llabs(std::int64_t(std::int32_t(u32At(data, 18))));
    const std::int64_t height = std::llabs(std::int64_t(std::int32_t(u32At(data, 22))));
    const std::uint16_t bits = u16At(data, 28);
    const std::uint32_t compression = u32At(data, 30);
    const std::uint32_t imageSize = u32At(data, 34);
    constexpr std::uint32_t plain = 0;
    constexpr std::uint32_t bitFields = 3;
    // Rows are padded to whole 32-bit words.
    const std::int64_t row = (width * bits + 31) / 32 * 4;
    const std::int64_t room = std::int64_t(data.size()) - pixelsAt;
    bool cut = room < 0;
    if (!cut && (compression == plain || compression == bitFields)) {
        cut = height > 0 && row > room / height;
    } else if (!cut) {
        cut = imageSize > room;
    }
    return cut ? QStringLiteral("точки изображения обрываются раньше конца файла") : QString();
}

QString gifDamage(const QByteArray& data) {
    return data.endsWith(';') ? QString() : QStringLiteral("файл оборван: нет завершающего байта");
}

QString iconDamage(const QByteArray& data) {
    const qsizetype count = u16At(data, 4);
    if (data.size() < 6 + 16 * count) {
        return QStringLiteral("файл оборван посреди каталога изображений");
    }
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * i;
        const std::uint64_t end = std::uint64_t(u32At(data, entry + 12)) + u32At(data, entry + 8);
        if (end > std::uint64_t(data.size())) {
            return QStringLiteral("изображение %1 выходит за конец файла").arg(i + 1);
        }
    }
    return {};
}

} // namespace

QString rasterDamage(const QByteArray& data) {
    if (data.startsWith("BM")) {
        return bitmapDamage(data);
    }
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a")) {
        return gifDamage(data);
    }
    if (data.size() >= 6 && data.startsWith(QByteArray("\0\0\1\0", 4))) {
        return iconDamage(data);
    }
    return {};
}
