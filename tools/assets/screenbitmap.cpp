// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/assets/screenbitmap.h"

#include "tools/assets/bytewriter.h"

#include <array>
#include <cstdint>

namespace {

constexpr int width = 343;
constexpr int height = 280;

using Rgb = std::array<std::uint8_t, 3>;
constexpr Rgb field{192, 192, 192};
constexpr Rgb gridLine{128, 128, 128};
constexpr Rgb black{0, 0, 0};

bool onVerticalLine(int x) {
    return x % 8 == 3;
}
bool onHorizontalLine(int y) {
    return y % 8 == 4;
}

Rgb pixel(int x, int y) {
    if (x == width - 1) {
        return onHorizontalLine(y) ? gridLine : black;
    }
    if (y == 0) {
        const int phase = x % 8;
        if (phase == 7 || phase <= 2) {
            return black;
        }
        return onVerticalLine(x) ? gridLine : field;
    }
    if (onVerticalLine(x) || onHorizontalLine(y)) {
        return gridLine;
    }
    if (x % 8 == 7 && y % 8 == 0) {
        return black;
    }
    return field;
}

} // namespace

QByteArray screenBitmap() {
    constexpr int rowBytes = (width * 3 + 3) / 4 * 4;
    constexpr int headerBytes = 14 + 40;
    constexpr int imageBytes = rowBytes * height;

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(headerBytes + imageBytes);
    out.u32(0);
    out.u32(headerBytes);

    out.u32(40);
    out.i32(width);
    out.i32(height); // bottom-up rows
    out.u16(1);
    out.u16(24);
    out.u32(0); // no compression
    out.u32(imageBytes);
    out.i32(3780); // 96 dots per inch
    out.i32(3780);
    out.u32(0);
    out.u32(0);

    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            out.u8(c[2]);
            out.u8(c[1]);
            out.u8(c[0]);
        }
        out.zeros(rowBytes - width * 3);
    }
    return out.bytes();
}
