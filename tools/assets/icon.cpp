// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/assets/icon.h"

#include "tools/assets/bytewriter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace {

// The standard 16-colour palette, by the names the drawing uses.
enum Colour : std::uint8_t { Black = 0, Teal = 6, Silver = 7, Grey = 8, White = 15 };

constexpr std::array<std::uint32_t, 16> palette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xc0c0c0,
    0x808080, 0xff0000, 0x00ff00, 0xffff00, 0x0000ff, 0xff00ff, 0x00ffff, 0xffffff,
};

class Canvas {
public:
    explicit Canvas(int size) : m_size(size), m_pixels(size * size, -1) {}

    int size() const { return m_size; }
    // -1 where nothing is drawn: transparent.
    int at(int x, int y) const { return m_pixels[y * m_size + x]; }

    void dot(int x, int y, Colour c) {
        if (x >= 0 && y >= 0 && x < m_size && y < m_size) {
            m_pixels[y * m_size + x] = c;
        }
    }
    void fill(int x, int y, int w, int h, Colour c) {
        for (int j = y; j < y + h; ++j) {
            for (int i = x; i < x + w; ++i) {
                dot(i, j, c);
            }
        }
    }
    void hline(int x0, int x1, int y, Colour c) { fill(x0, y, x1 - x0 + 1, 1, c); }
    void vline(int x, int y0, int y1, Colour c) { fill(x, y0, 1, y1 - y0 + 1, c); }

private:
    int m_size;
    std::vector<int> m_pixels;
};

// A raised block: light face, white lit edges at the top and left, grey
// shaded edges at the bottom and right, black outline.
void block(Canvas& c, int x, int y, int w, int h) {
    c.fill(x, y, w, h, Silver);
    c.hline(x, x + w - 1, y, White);
    c.vline(x, y, y + h - 1, White);
    c.hline(x + 1, x + w - 1, y + h - 1, Grey);
    c.vline(x + w - 1, y + 1, y + h - 1, Grey);
    c.hline(x - 1, x + w, y - 1, Black);
    c.hline(x - 1, x + w, y + h, Black);
    c.vline(x - 1, y - 1, y + h, Black);
    c.vline(x + w, y - 1, y + h, Black);
}

// A terminal seen from the front left: a monitor cabinet receding up and to
// the right by depth pixels, a screen in its face, and a keyboard slab.
void terminal(Canvas& c, int x, int y, int w, int h, int depth) {
    // Slices of the cabinet from the back forwards: each leaves its top row
    // as the lit top face and its right column as the shaded side.
    for (int d = depth; d >= 1; --d) {
        const int left = x - 1 + d;
        const int right = x + w + d;
        const int top = y - 1 - d;
        const int bottom = y + h - d;
        c.fill(left, top, right - left + 1, bottom - top + 1, Grey);
        c.hline(left, right, top, d == depth ? Black : White);
        c.dot(left, top, Black);
        c.dot(right, bottom, Black);
        if (d == depth) {
            c.vline(right, top, bottom, Black);
        }
    }
    block(c, x, y, w, h);
    const int inset = w >= 10 ? 2 : 1;
    c.fill(x + inset, y + inset, w - 2 * inset, h - 2 * inset - 1, Black);
    c.hline(x + inset + 1, x + w - inset - 2, y + inset + 1, Teal);
    if (h >= 9) {
        c.hline(x + inset + 1, x + w / 2, y + inset + 3, Teal);
    }
    const int slab = h >= 9 ? 3 : 2;
    block(c, x - 1, y + h + 2, w + 2, slab);
}

// Dotted cable: every other pixel along a path of horizontal and vertical runs.
void cable(Canvas& c, const std::vector<std::array<int, 2>>& corners) {
    int phase = 0;
    for (std::size_t i = 0; i + 1 < corners.size(); ++i) {
        int x = corners[i][0];
        int y = corners[i][1];
        const int tx = corners[i + 1][0];
        const int ty = corners[i + 1][1];
        while (x != tx || y != ty) {
            if (phase++ % 2 == 0) {
                c.dot(x, y, Black);
            }
            x += (tx > x) - (tx < x);
            y += (ty > y) - (ty < y);
        }
    }
}

Canvas large() {
    Canvas c(32);
    terminal(c, 16, 4, 11, 9, 3); // the rear one, on the right
    cable(c, {{{22, 18}, {22, 29}, {11, 29}, {11, 28}}});
    terminal(c, 3, 11, 13, 10, 3); // the front one, on the left
    return c;
}

// At 16 pixels there is no room for bevels drawn by rule: the two terminals
// are laid out pixel by pixel (K black, W white, s silver, g grey, t teal).
Canvas small() {
    static const char* const rows[16] = {
        "........KKKKKKKK", //
        "........KWWWWWWK", //
        ".......KKKKKKKgK", //
        "..KKKKKKKKWWgKgK", //
        "..KWWWWWWKKKgKgK", //
        ".KKKKKKKgKtKgKgK", //
        ".KWWWWgKgKKKgKgK", //
        ".KWKKKgKgKgggKgK", //
        ".KWttKgKgKKKKKK.", //
        ".KWKKKgKgKWWWWK.", //
        ".KWggggKgKKKKKK.", //
        ".KKKKKKKK...K...", //
        "KWWWWWWWWK......", //
        "KKKKKKKKKK..K...", //
        "................", //
        "......K.K.K.K...", //
    };
    Canvas c(16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            switch (rows[y][x]) {
            case 'K':
                c.dot(x, y, Black);
                break;
            case 'W':
                c.dot(x, y, White);
                break;
            case 's':
                c.dot(x, y, Silver);
                break;
            case 'g':
                c.dot(x, y, Grey);
                break;
            case 't':
                c.dot(x, y, Teal);
                break;
            default:
                break;
            }
        }
    }
    return c;
}

void writeImage(ByteWriter& out, const Canvas& c) {
    const int n = c.size();
    out.u32(40);
    out.i32(n);
    out.i32(2 * n); // colour rows followed by mask rows
    out.u16(1);
    out.u16(4);
    out.u32(0);
    out.u32(static_cast<std::uint32_t>(n * n / 2 + ((n + 31) / 32 * 4) * n));
    out.zeros(16);
    for (std::uint32_t rgb : palette) {
        out.u8(rgb & 0xff);
        out.u8((rgb >> 8) & 0xff);
        out.u8((rgb >> 16) & 0xff);
        out.u8(0);
    }
    for (int y = n - 1; y >= 0; --y) {
        for (int x = 0; x < n; x += 2) {
            const int hi = std::max(c.at(x, y), 0);
            const int lo = std::max(c.at(x + 1, y), 0);
            out.u8(static_cast<std::uint8_t>(hi << 4 | lo));
        }
    }
    const int maskRow = (n + 31) / 32 * 4;
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRow, 0);
        for (int x = 0; x < n; ++x) {
            if (c.at(x, y) < 0) {
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        for (std::uint8_t b : row) {
            out.u8(b);
        }
    }
}

} // namespace

QByteArray applicationIcon() {
    const std::array<Canvas, 2> images{large(), small()};
    std::array<ByteWriter, 2> bodies;
    for (std::size_t i = 0; i < images.size(); ++i) {
        writeImage(bodies[i], images[i]);
    }

    ByteWriter out;
    out.u16(0);
    out.u16(1); // icon
    out.u16(static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.u8(static_cast<std::uint8_t>(images[i].size()));
        out.u8(static_cast<std::uint8_t>(images[i].size()));
        out.u8(16);
        out.u8(0);
        out.u16(1);
        out.u16(4);
        out.u32(static_cast<std::uint32_t>(bodies[i].size()));
        out.u32(offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const ByteWriter& body : bodies) {
        out.raw(body.bytes());
    }
    return out.bytes();
}
