#include "platform/wavefile.h"

#include <QtEndian>
#include <cstdint>

namespace {

constexpr std::uint16_t formatPcm = 1;

std::uint32_t u32At(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

std::uint16_t u16At(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}

bool isPlayableFormat(const QByteArray& data, qsizetype at, std::uint32_t size) {
    if (size < 16) {
        return false;
    }
    const std::uint16_t format = u16At(data, at);
    const std::uint16_t channels = u16At(data, at + 2);
    const std::uint32_t rate = u32At(data, at + 4);
    const std::uint16_t bits = u16At(data, at + 14);
    return format == formatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32) &&
           channels > 0 && rate > 0;
}

} // namespace

bool isPlayableWave(const QByteArray& data) {
    const qsizetype end = data.size();
    if (end < 12 || !data.startsWith("RIFF") || data.mid(8, 4) != "WAVE") {
        return false;
    }
    bool formatSeen = false;
    qsizetype at = 12;
    while (end - at >= 8) {
        const QByteArray id = data.mid(at, 4);
        const std::uint32_t size = u32At(data, at + 4);
        at += 8;
        // Qt's reader loses its place after the pad byte of an odd-sized
        // chunk, so those are refused too.
        if (size > std::uint64_t(end - at) || (id != "data" && size % 2 != 0)) {
            return false;
        }
        if (id == "fmt ") {
            if (formatSeen || !isPlayableFormat(data, at, size)) {
                return false;
            }
            formatSeen = true;
        } else if (id == "data") {
            return formatSeen && size > 0;
        }
        at += qsizetype(size);
    }
    return false;
}
