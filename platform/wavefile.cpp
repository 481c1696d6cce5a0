// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wavefile.h"

#include "platform/littleendian.h"

#include <cstdint>
#include <limits>

namespace {

// The format tags Qt reads as integer samples; it takes an unknown tag for PCM.
constexpr std::uint16_t formatUnknown = 0;
constexpr std::uint16_t formatPcm = 1;

// Qt's reader skips an unwanted chunk, header and all, in one read of 16 KB
// and never comes back for the rest; after the format's 16 bytes it skips
// the rest of that chunk the same way.
constexpr std::uint32_t largestSkipped = 16384 - 8;
constexpr std::uint32_t largestFormat = 16 + 16384;

// Qt's PulseAudio output feeds the server in 20 ms periods and divides by the
// bytes in one: below 50 Hz that is none, and the program dies of a division
// by zero. Qt keeps the rate in an int; a larger one turns negative and no
// output opens for it.
constexpr std::uint32_t lowestRate = 50;
constexpr std::uint32_t highestRate = std::numeric_limits<int>::max();

using littleendian::u16At;
using littleendian::u32At;

// The size of one block (a sample for each channel) of a format Qt plays;
// 0 for any other format.
std::uint32_t blockOf(const QByteArray& data, qsizetype at, std::uint32_t size) {
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

} // namespace

bool isPlayableWave(const QByteArray& data) {
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
        if (block == 0 && id == "fmt ") {
            block = blockOf(data, at, size);
            // Qt reads no pad byte after an odd-sized chunk and loses its place.
            if (block == 0 || size % 2 != 0) {
                return false;
            }
        } else if (block != 0 && id == "data") {
            // Qt reads only whole samples and waits for ever for the rest of a
            // partial one; an empty chunk it takes for the whole file.
            return size > 0 && size % block == 0;
        } else if (size % 2 != 0 || size > largestSkipped) {
            return false;
        }
        at += qsizetype(size);
    }
    return false;
}
