// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/wavefile.h"

#include "platform/littleendian.h"

#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QVersionNumber>

#include <cstdint>
#include <limits>

namespace {

using littleendian::u16At;
using littleendian::u32At;

// Qt's reader.

// The format tags Qt reads as integer samples; it takes an unknown tag for PCM.
constexpr std::uint16_t formatUnknown = 0;
constexpr std::uint16_t formatPcm = 1;

// Qt's reader skips an unwanted chunk, header and all, in one read of 16 KB
// and never comes back for the rest; after the format's 16 bytes it skips
// the rest of that chunk the same way.
constexpr std::uint32_t largestSkipped = 16384 - 8;
constexpr std::uint32_t largestFormat = 16 + 16384;

// Whether the reader skips the pad byte after an odd-sized chunk it passes
// over, in the same read: Qt 6.8's does; 6.4's does not and loses its place.
// The Qt the program runs with decides, whatever it was built with.
bool padByteSkipped() {
    static const bool skipped = QLibraryInfo::version() >= QVersionNumber(6, 8);
    return skipped;
}

// Qt's PulseAudio output feeds the server in 20 ms periods and divides by the
// bytes in one: below 50 Hz that is none, and the program dies of a division
// by zero. Qt keeps the rate in an int; a larger one turns negative and no
// output opens for it.
constexpr std::uint32_t lowestRate = 50;
constexpr std::uint32_t highestRate = std::numeric_limits<int>::max();

// The size of one block (a sample for each channel) of a format Qt plays;
// 0 for any other format.
std::uint32_t qtBlockOf(const QByteArray& data, qsizetype at, std::uint32_t size) {
    if (size < 16 || size > largestFormat) {
        return 0;
    }
    const std::uint16_t format = u16At(data, at);
    const std::uint32_t channels = u16At(data, at + 2);
    const std::uint32_t rate = u32At(data, at + 4);
    const std::uint16_t block = u16At(data, at + 12);
    const std::uint16_t bits = u16At(data, at + 14);
    const bool playable = (format == formatPcm || format == formatUnknown) &&
                          (bits == 8 || bits == 16 || bits == 24 || bits == 32) && channels > 0 &&
                          rate >= lowestRate && rate <= highestRate && block == channels * bits / 8;
    return playable ? block : 0;
}

bool playableByQt(const QByteArray& data) {
    const qsizetype end = data.size();
    // Big-endian RIFX is refused too: Qt's byte swapping for it never ends.
    if (end < 12 || !data.startsWith("RIFF") || data.mid(8, 4) != "WAVE") {
        return false;
    }
    std::uint32_t block = 0;
    qsizetype at = 12;
    while (end - at >= 8) {
        const QByteArray id = data.mid(at, 4);
        const std::uint32_t size = u32At(data, at + 4);
        at += 8;
        if (size > std::uint64_t(end - at)) {
            return false;
        }
        const std::uint32_t pad = size % 2;
        if (block == 0 && id == "fmt ") {
            block = qtBlockOf(data, at, size);
            // No Qt reads the pad byte after an odd-sized format chunk.
            if (block == 0 || pad != 0) {
                return false;
            }
        } else if (block != 0 && id == "data") {
            // Qt reads only whole samples and waits for ever for the rest of a
            // partial one; an empty chunk it takes for the whole file.
            return size > 0 && size % block == 0;
        } else if ((pad != 0 && !padByteSkipped()) || size + pad > largestSkipped) {
            return false;
        }
        at += qsizetype(size) + qsizetype(pad);
    }
    return false;
}

// Windows' player: mmio walks the RIFF chunks, waveOut plays the format,
// through the ACM codecs that come with Windows where it is compressed.

constexpr std::uint16_t formatIeeeFloat = 3;
constexpr std::uint16_t formatMsAdpcm = 2;
constexpr std::uint16_t formatAlaw = 6;
constexpr std::uint16_t formatMulaw = 7;
constexpr std::uint16_t formatImaAdpcm = 0x11;
constexpr std::uint16_t formatExtensible = 0xfffe;

// Windows' audio moves sound in 10 ms periods: below 100 Hz a period holds
// no frame, and under Wine such a sound never ends, which blocks the next
// one. No Windows audio device takes more than 384 kHz, and Wine's
// PulseAudio output aborts the program above it.
constexpr std::uint32_t lowestWindowsRate = 100;
constexpr std::uint32_t highestWindowsRate = 384000;

// The fields after WAVEFORMATEX's fixed 16 bytes and its cbSize.
constexpr std::uint32_t extraAt = 18;

// The coefficient pairs every Microsoft ADPCM file carries first; the
// system's codec decodes no others.
constexpr std::int16_t msAdpcmCoefficients[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                                                    {240, 0}, {460, -208}, {392, -232}};

// Whether the format's extra fields, cbSize of them, lie inside its chunk.
bool hasExtra(const QByteArray& data, qsizetype at, std::uint32_t size, std::uint32_t needed) {
    return size >= extraAt + needed && u16At(data, at + 16) >= needed;
}

bool samplesFit(std::uint16_t bits, std::uint32_t channels, std::uint32_t block, bool isFloat) {
    const bool width = isFloat ? bits == 32 : (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    return width && block == channels * bits / 8;
}

// WAVE_FORMAT_EXTENSIBLE whose sub-format GUID is integer or float samples.
bool extensibleFits(const QByteArray& data, qsizetype at, std::uint32_t size, std::uint16_t bits,
                    std::uint32_t channels, std::uint32_t block) {
    if (!hasExtra(data, at, size, 22)) {
        return false;
    }
    const std::uint16_t validBits = u16At(data, at + extraAt);
    const qsizetype guid = at + extraAt + 6;
    const std::uint32_t subFormat = u32At(data, guid);
    const bool knownGuid =
        u16At(data, guid + 4) == 0 && u16At(data, guid + 6) == 0x10 &&
        data.mid(guid + 8, 8) == QByteArray("\x80\x00\x00\xaa\x00\x38\x9b\x71", 8);
    return knownGuid && validBits > 0 && validBits <= bits &&
           (subFormat == formatPcm || subFormat == formatIeeeFloat) &&
           samplesFit(bits, channels, block, subFormat == formatIeeeFloat);
}

// ADPCM blocks: a header of `header` bytes a channel, then 4-bit samples;
// the format states how many samples a block holds, `first` of them in the
// header.
bool adpcmFits(const QByteArray& data, qsizetype at, std::uint32_t channels, std::uint32_t block,
               std::uint32_t header, std::uint32_t first) {
    if (channels > 2 || block <= header * channels) {
        return false;
    }
    const std::uint32_t samples = u16At(data, at + extraAt);
    return samples == (block - header * channels) * 2 / channels + first;
}

bool msAdpcmFits(const QByteArray& data, qsizetype at, std::uint32_t size, std::uint32_t channels,
                 std::uint32_t block) {
    if (!hasExtra(data, at, size, 4 + 4 * 7) || !adpcmFits(data, at, channels, block, 7, 2)) {
        return false;
    }
    const std::uint32_t count = u16At(data, at + extraAt + 2);
    if (count < 7 || extraAt + 4 + 4 * std::uint64_t(count) > size) {
        return false;
    }
    for (int i = 0; i < 7; ++i) {
        const qsizetype pair = at + extraAt + 4 + 4 * i;
        if (std::int16_t(u16At(data, pair)) != msAdpcmCoefficients[i][0] ||
            std::int16_t(u16At(data, pair + 2)) != msAdpcmCoefficients[i][1]) {
            return false;
        }
    }
    return true;
}

// The size of one block of a format Windows plays; 0 for any other format.
std::uint32_t windowsBlockOf(const QByteArray& data, qsizetype at, std::uint32_t size) {
    if (size < 16) {
        return 0;
    }
    const std::uint16_t format = u16At(data, at);
    const std::uint32_t channels = u16At(data, at + 2);
    const std::uint32_t rate = u32At(data, at + 4);
    const std::uint32_t bytesPerSecond = u32At(data, at + 8);
    const std::uint32_t block = u16At(data, at + 12);
    const std::uint16_t bits = u16At(data, at + 14);
    if (channels == 0 || rate < lowestWindowsRate || rate > highestWindowsRate ||
        bytesPerSecond == 0 || block == 0) {
        return 0;
    }
    bool playable = false;
    switch (format) {
    case formatPcm:
    case formatIeeeFloat:
        // 32-bit integers only as WAVE_FORMAT_EXTENSIBLE: the player opens no
        // output for them under the plain tag.
        playable = samplesFit(bits, channels, block, format == formatIeeeFloat) &&
                   !(format == formatPcm && bits == 32);
        break;
    case formatExtensible:
        playable = extensibleFits(data, at, size, bits, channels, block);
        break;
    case formatAlaw:
    case formatMulaw:
        playable = bits == 8 && channels <= 2 && block == channels;
        break;
    case formatImaAdpcm:
        playable = bits == 4 && hasExtra(data, at, size, 2) && (block % (4 * channels)) == 0 &&
                   adpcmFits(data, at, channels, block, 4, 1);
        break;
    case formatMsAdpcm:
        playable = bits == 4 && msAdpcmFits(data, at, size, channels, block);
        break;
    default:
        // Format tag 0 among them: nothing plays it.
        break;
    }
    return playable ? block : 0;
}

bool playableByWindows(const QByteArray& data) {
    if (data.size() < 12 || !data.startsWith("RIFF") || data.mid(8, 4) != "WAVE") {
        return false;
    }
    // Every chunk must be there in whole: a file cut short, or one whose
    // sizes claim more than it holds, is not played.
    const qsizetype end = data.size();
    const std::uint32_t riffSize = u32At(data, 4);
    if (riffSize < 4 || riffSize > std::uint64_t(end - 8)) {
        return false;
    }
    // mmio finds the first format chunk, then the first sample chunk after
    // it, looking for a chunk only where the RIFF chunk says it holds one.
    const qsizetype riffEnd = 8 + qsizetype(riffSize);
    std::uint32_t block = 0;
    qsizetype at = 12;
    while (at < riffEnd && end - at >= 8) {
        const QByteArray id = data.mid(at, 4);
        const std::uint32_t size = u32At(data, at + 4);
        at += 8;
        if (size > std::uint64_t(end - at)) {
            return false;
        }
        if (block == 0 && id == "fmt ") {
            block = windowsBlockOf(data, at, size);
            if (block == 0) {
                return false;
            }
        } else if (block != 0 && id == "data") {
            return size >= block;
        }
        // An odd-sized chunk is followed by a pad byte.
        at += qsizetype(size) + qsizetype(size % 2);
    }
    return false;
}

} // namespace

bool isPlayableWave(const QByteArray& data, WavePlayer player) {
    return player == WavePlayer::Windows ? playableByWindows(data) : playableByQt(data);
}

QByteArray readPlayableWave(const QString& path, WavePlayer player) {
    constexpr qint64 largest = 16 << 20;
    QFile file(path);
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.read(largest + 1);
    if (bytes.size() > largest || !isPlayableWave(bytes, player)) {
        return {};
    }
    return bytes;
}
