// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/assets/rainbowgif.h"

#include <gif_lib.h>

#include <QColor>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int stripLength = 600;
constexpr int bandWidth = 12;
constexpr int frameCount = 11;
constexpr int frameShift = 50;
constexpr int frameDelay = 6; // hundredths of a second
constexpr int repetitions = 1000;

// A colour fixed at the first pixel of its band; the bands between two
// anchors step evenly round the hue circle.
struct Anchor {
    int position;
    QRgb rgb;
};

// Left to right: red, magenta, blue, cyan, green, yellow, orange, red.
const std::vector<Anchor> horizontalAnchors{
    {0, 0xff0505},   {49, 0xff00e1},  {157, 0x0000ff}, {277, 0x00ffee},
    {325, 0x00ff22}, {433, 0xffff00}, {517, 0xff9900}, {592, 0xff0000},
};

// Top to bottom, the other way round.
const std::vector<Anchor> verticalAnchors{
    {0, 0xff0505},   {155, 0xffff00}, {263, 0x00ff22}, {311, 0x00ffee},
    {431, 0x0000ff}, {539, 0xff00e1}, {587, 0xff0505},
};

double hueOf(QRgb rgb) {
    return QColor::fromRgb(rgb).hueF() * 360.0;
}

// A fully saturated colour: one channel at 255, one at 0.
QRgb saturated(double hue) {
    hue = std::fmod(std::fmod(hue, 360.0) + 360.0, 360.0);
    const double sector = hue / 60.0;
    const int s = static_cast<int>(sector);
    const int rising = static_cast<int>(std::lround((sector - s) * 255.0));
    const int falling = 255 - rising;
    int r = 0;
    int g = 0;
    int b = 0;
    switch (s) {
    case 0:
        r = 255, g = rising;
        break;
    case 1:
        r = falling, g = 255;
        break;
    case 2:
        g = 255, b = rising;
        break;
    case 3:
        g = falling, b = 255;
        break;
    case 4:
        r = rising, b = 255;
        break;
    default:
        r = 255, b = falling;
        break;
    }
    return qRgb(r, g, b);
}

// direction is +1 or -1: which way round the hue circle the strip runs.
std::vector<QRgb> strip(const std::vector<Anchor>& anchors, int direction) {
    std::vector<QRgb> pixels(stripLength);
    for (std::size_t i = 0; i + 1 < anchors.size(); ++i) {
        const Anchor& from = anchors[i];
        const Anchor& to = anchors[i + 1];
        const int length = to.position - from.position;
        const int bands = std::max(1, static_cast<int>(std::lround(length / double(bandWidth))));
        double sweep = (hueOf(to.rgb) - hueOf(from.rgb)) * direction;
        sweep = std::fmod(sweep + 720.0, 360.0) * direction;
        for (int band = 0; band < bands; ++band) {
            const int begin = from.position + length * band / bands;
            const int end = from.position + length * (band + 1) / bands;
            const QRgb colour =
                band == 0 ? from.rgb : saturated(hueOf(from.rgb) + sweep * band / bands);
            std::fill(pixels.begin() + begin, pixels.begin() + end, colour);
        }
    }
    std::fill(pixels.begin() + anchors.back().position, pixels.end(), anchors.back().rgb);
    return pixels;
}

class GifOutput {
public:
    GifOutput() {
        int error = 0;
        m_gif = EGifOpen(&m_bytes, &GifOutput::write, &error);
        if (!m_gif) {
            fail(error);
        }
    }
    ~GifOutput() {
        if (m_gif) {
            EGifCloseFile(m_gif, nullptr);
        }
    }
    GifOutput(const GifOutput&) = delete;
    GifOutput& operator=(const GifOutput&) = delete;

    GifFileType* gif() { return m_gif; }
    void check(int result) const {
        if (result != GIF_OK) {
            fail(m_gif->Error);
        }
    }

    QByteArray finish() {
        int error = 0;
        const int result = EGifCloseFile(m_gif, &error);
        m_gif = nullptr;
        if (result != GIF_OK) {
            fail(error);
        }
        return m_bytes;
    }

private:
    static int write(GifFileType* gif, const GifByteType* data, int length) {
        static_cast<QByteArray*>(gif->UserData)
            ->append(reinterpret_cast<const char*>(data), length);
        return length;
    }
    [[noreturn]] static void fail(int error) {
        const char* text = GifErrorString(error);
        throw std::runtime_error(std::string("GIF writer: ") + (text ? text : "error"));
    }

    QByteArray m_bytes;
    GifFileType* m_gif = nullptr;
};

struct Palette {
    std::vector<GifColorType> colours;
    std::vector<GifByteType> indexes;
};

// Every colour of the strip once, in order of first use, padded with black
// to the 256-entry table.
Palette paletteFor(const std::vector<QRgb>& pixels) {
    Palette palette;
    std::vector<QRgb> seen;
    for (QRgb p : pixels) {
        auto it = std::find(seen.begin(), seen.end(), p);
        if (it == seen.end()) {
            seen.push_back(p);
            it = seen.end() - 1;
        }
        palette.indexes.push_back(static_cast<GifByteType>(it - seen.begin()));
    }
    palette.colours.resize(256, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < seen.size(); ++i) {
        palette.colours[i] = GifColorType{static_cast<GifByteType>(qRed(seen[i])),
                                          static_cast<GifByteType>(qGreen(seen[i])),
                                          static_cast<GifByteType>(qBlue(seen[i]))};
    }
    return palette;
}

struct ColorMap {
    explicit ColorMap(std::vector<GifColorType>& colours)
        : map(GifMakeMapObject(static_cast<int>(colours.size()), colours.data())) {
        if (!map) {
            throw std::runtime_error("GIF writer: out of memory");
        }
    }
    ~ColorMap() { GifFreeMapObject(map); }
    ColorMap(const ColorMap&) = delete;
    ColorMap& operator=(const ColorMap&) = delete;
    ColorMapObject* map;
};

} // namespace

QByteArray horizontalRainbowGif() {
    const std::vector<QRgb> first = strip(horizontalAnchors, -1);
    Palette palette = paletteFor(first);
    ColorMap map(palette.colours);

    GifOutput out;
    GifFileType* gif = out.gif();
    EGifSetGifVersion(gif, true);
    out.check(EGifPutScreenDesc(gif, stripLength, 1, 8, 0, map.map));

    GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    GifByteType loop[] = {1, repetitions & 0xff, repetitions >> 8};
    out.check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE));
    out.check(EGifPutExtensionBlock(gif, sizeof netscape, netscape));
    out.check(EGifPutExtensionBlock(gif, sizeof loop, loop));
    out.check(EGifPutExtensionTrailer(gif));

    for (int k = 0; k < frameCount; ++k) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.DelayTime = frameDelay;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        EGifGCBToExtension(&gcb, extension);
        out.check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension));

        std::vector<GifByteType> line(stripLength);
        for (int x = 0; x < stripLength; ++x) {
            const int source = ((x - k * frameShift) % stripLength + stripLength) % stripLength;
            line[x] = palette.indexes[source];
        }
        out.check(EGifPutImageDesc(gif, 0, 0, stripLength, 1, false, nullptr));
        out.check(EGifPutLine(gif, line.data(), stripLength));
    }
    return out.finish();
}

QByteArray verticalRainbowGif() {
    const std::vector<QRgb> column = strip(verticalAnchors, +1);
    Palette palette = paletteFor(column);
    ColorMap map(palette.colours);

    GifOutput out;
    GifFileType* gif = out.gif();
    out.check(EGifPutScreenDesc(gif, 1, stripLength, 8, 0, map.map));
    out.check(EGifPutImageDesc(gif, 0, 0, 1, stripLength, false, nullptr));
    for (int y = 0; y < stripLength; ++y) {
        out.check(EGifPutPixel(gif, palette.indexes[y]));
    }
    return out.finish();
}
