// SPDX-License-Identifier: GPL-3.0-or-later
// The committed assets: a fresh run of the generator writes the same bytes,
// and each file is what the program's pictures, icon and sounds must be.

#include <gif_lib.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const QString assetsDir = QStringLiteral(VIRTALAB_ASSETS_DIR);

QByteArray readAsset(const QString& name) {
    QFile f(assetsDir + QLatin1Char('/') + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

quint32 u32At(const QByteArray& d, int at) {
    quint32 v;
    std::memcpy(&v, d.constData() + at, sizeof v);
    return v;
}

quint16 u16At(const QByteArray& d, int at) {
    quint16 v;
    std::memcpy(&v, d.constData() + at, sizeof v);
    return v;
}

struct GifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using Gif = std::unique_ptr<GifFileType, GifCloser>;

Gif slurp(const QString& name) {
    const QByteArray path = (assetsDir + QLatin1Char('/') + name).toLocal8Bit();
    int error = 0;
    Gif gif(DGifOpenFileName(path.constData(), &error));
    if (gif && DGifSlurp(gif.get()) != GIF_OK) {
        gif.reset();
    }
    return gif;
}

QRgb colourAt(const GifFileType* gif, const SavedImage& image, int i) {
    const ColorMapObject* map =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    const GifColorType c = map->Colors[image.RasterBits[i]];
    return qRgb(c.Red, c.Green, c.Blue);
}

std::vector<QRgb> frameColours(const GifFileType* gif, int frame) {
    const SavedImage& image = gif->SavedImages[frame];
    const int n = image.ImageDesc.Width * image.ImageDesc.Height;
    std::vector<QRgb> out;
    for (int i = 0; i < n; ++i) {
        out.push_back(colourAt(gif, image, i));
    }
    return out;
}

// Hue turned from a to b the short way round, in degrees.
double hueStep(QRgb a, QRgb b) {
    double d = QColor(b).hueF() * 360 - QColor(a).hueF() * 360;
    while (d > 180) {
        d -= 360;
    }
    while (d < -180) {
        d += 360;
    }
    return d;
}

// The rainbow's rules: anchors at their pixels, saturated colours only, bands
// of about 12 pixels, and one full turn round the hue circle in one direction.
void checkRainbow(const std::vector<QRgb>& strip, const std::vector<std::pair<int, QRgb>>& anchors,
                  double turn) {
    QCOMPARE(int(strip.size()), 600);
    for (const auto& [at, rgb] : anchors) {
        QVERIFY2(strip[static_cast<std::size_t>(at)] == rgb,
                 qPrintable(QStringLiteral("pixel %1 is %2").arg(at).arg(strip[at], 6, 16)));
    }
    std::vector<int> bands;
    double turned = 0;
    int run = 1;
    for (std::size_t i = 0; i < strip.size(); ++i) {
        const QColor c(strip[i]);
        QVERIFY(std::max({c.red(), c.green(), c.blue()}) == 255);
        QVERIFY(std::min({c.red(), c.green(), c.blue()}) <= 5);
        if (i + 1 < strip.size() && strip[i + 1] == strip[i]) {
            ++run;
            continue;
        }
        bands.push_back(run);
        run = 1;
        if (i + 1 < strip.size()) {
            const double step = hueStep(strip[i], strip[i + 1]);
            QVERIFY2(step * turn > 0, qPrintable(QStringLiteral("hue turns back at %1").arg(i)));
            turned += step;
        }
    }
    QVERIFY2(std::abs(turned - turn) < 10, qPrintable(QString::number(turned)));
    QVERIFY(bands.size() >= 45 && bands.size() <= 60);
    for (std::size_t i = 0; i + 1 < bands.size(); ++i) { // the last band may be short
        QVERIFY2(bands[i] >= 9 && bands[i] <= 15, qPrintable(QString::number(bands[i])));
    }
}

} // namespace

class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void freshGenerationIsIdentical();
    void screenBitmapHeader();
    void screenBitmapPixels();
    void horizontalStrip();
    void verticalStrip();
    void icon();
    void sounds_data();
    void sounds();
};

void TestAssets::freshGenerationIsIdentical() {
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess generator;
    generator.start(QStringLiteral(VIRTALAB_ASSETGEN), {out.path()});
    QVERIFY(generator.waitForFinished(120000));
    QCOMPARE(generator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(generator.exitCode(), 0);

    const QStringList generated = QDir(out.path()).entryList(QDir::Files, QDir::Name);
    QStringList committed = QDir(assetsDir).entryList(QDir::Files, QDir::Name);
    committed.removeAll(QStringLiteral("CMakeLists.txt"));
    QCOMPARE(generated, committed);
    QCOMPARE(generated.size(), 13);
    for (const QString& name : generated) {
        QFile fresh(out.filePath(name));
        QVERIFY(fresh.open(QIODevice::ReadOnly));
        QVERIFY2(fresh.readAll() == readAsset(name), qPrintable(name + " differs"));
    }
}

void TestAssets::screenBitmapHeader() {
    const QByteArray bmp = readAsset("screen.bmp");
    QCOMPARE(bmp.size(), 289014);
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(u32At(bmp, 2), 289014u);
    QCOMPARE(u32At(bmp, 10), 54u); // no palette
    QCOMPARE(u32At(bmp, 14), 40u);
    QCOMPARE(u32At(bmp, 18), 343u);
    QCOMPARE(u32At(bmp, 22), 280u);
    QCOMPARE(u16At(bmp, 28), quint16(24));
    QCOMPARE(u32At(bmp, 30), 0u); // uncompressed
}

void TestAssets::screenBitmapPixels() {
    const QImage image = QImage(assetsDir + "/screen.bmp");
    QCOMPARE(image.size(), QSize(343, 280));
    const QRgb field = qRgb(192, 192, 192);
    const QRgb grid = qRgb(128, 128, 128);
    const QRgb black = qRgb(0, 0, 0);
    for (int y = 0; y < 280; ++y) {
        for (int x = 0; x < 343; ++x) {
            const bool gridLine = x % 8 == 3 || y % 8 == 4;
            QRgb expected = gridLine ? grid : field;
            if (!gridLine && x % 8 == 7 && y % 8 == 0) {
                expected = black; // the centre of a cell
            }
            if (y == 0 && !gridLine) {
                const int phase = x % 8;
                expected = phase == 7 || phase <= 2 ? black : field; // dashed top edge
            }
            if (x == 342 && y % 8 != 4) {
                expected = black; // the right edge, crossed only by grid lines
            }
            QVERIFY2(image.pixel(x, y) == expected,
                     qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
        }
    }
}

void TestAssets::horizontalStrip() {
    QCOMPARE(readAsset("rainbow-h.gif").left(6), QByteArray("GIF89a"));
    const Gif gif = slurp("rainbow-h.gif");
    QVERIFY(gif);
    QCOMPARE(gif->SWidth, 600);
    QCOMPARE(gif->SHeight, 1);
    QCOMPARE(gif->ImageCount, 11);
    QVERIFY(gif->SColorMap);
    QCOMPARE(gif->SColorMap->ColorCount, 256);

    // The loop block rides with the first frame.
    int loops = -1;
    const SavedImage& first = gif->SavedImages[0];
    for (int i = 0; i + 1 < first.ExtensionBlockCount; ++i) {
        const ExtensionBlock& b = first.ExtensionBlocks[i];
        if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
            std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0) {
            const ExtensionBlock& data = first.ExtensionBlocks[i + 1];
            QCOMPARE(data.ByteCount, 3);
            QCOMPARE(int(data.Bytes[0]), 1);
            loops = data.Bytes[1] | data.Bytes[2] << 8;
        }
    }
    QCOMPARE(loops, 1000);

    const std::vector<QRgb> frame0 = frameColours(gif.get(), 0);
    for (int k = 0; k < gif->ImageCount; ++k) {
        GraphicsControlBlock gcb;
        QCOMPARE(DGifSavedExtensionToGCB(gif.get(), k, &gcb), GIF_OK);
        QCOMPARE(gcb.DelayTime, 6);
        QCOMPARE(gcb.TransparentColor, NO_TRANSPARENT_COLOR);
        const std::vector<QRgb> frame = frameColours(gif.get(), k);
        for (int x = 0; x < 600; ++x) {
            QCOMPARE(frame[static_cast<std::size_t>((x + 50 * k) % 600)],
                     frame0[static_cast<std::size_t>(x)]);
        }
    }
    // Left to right: red, magenta, blue, cyan, green, yellow, orange, red.
    checkRainbow(frame0,
                 {{0, 0xffff0505},
                  {49, 0xffff00e1},
                  {157, 0xff0000ff},
                  {277, 0xff00ffee},
                  {325, 0xff00ff22},
                  {433, 0xffffff00},
                  {517, 0xffff9900},
                  {592, 0xffff0000},
                  {599, 0xffff0000}},
                 -360);
}

void TestAssets::verticalStrip() {
    QCOMPARE(readAsset("rainbow-v.gif").left(6), QByteArray("GIF87a"));
    const Gif gif = slurp("rainbow-v.gif");
    QVERIFY(gif);
    QCOMPARE(gif->SWidth, 1);
    QCOMPARE(gif->SHeight, 600);
    QCOMPARE(gif->ImageCount, 1);
    QCOMPARE(gif->SColorMap->ColorCount, 256);
    // Top to bottom the other way round the circle.
    checkRainbow(frameColours(gif.get(), 0),
                 {{0, 0xffff0505},
                  {155, 0xffffff00},
                  {263, 0xff00ff22},
                  {311, 0xff00ffee},
                  {431, 0xff0000ff},
                  {539, 0xffff00e1},
                  {587, 0xffff0505},
                  {599, 0xffff0505}},
                 360);
}

void TestAssets::icon() {
    const QByteArray ico = readAsset("virtalab.ico");
    QCOMPARE(ico.size(), 1078);
    QCOMPARE(u16At(ico, 2), quint16(1)); // an icon, not a cursor
    QCOMPARE(u16At(ico, 4), quint16(2));
    const int sizes[] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        const int entry = 6 + 16 * i;
        QCOMPARE(int(quint8(ico[entry])), sizes[i]);
        QCOMPARE(int(quint8(ico[entry + 1])), sizes[i]);
        QCOMPARE(int(quint8(ico[entry + 2])), 16);
        QCOMPARE(u16At(ico, entry + 6), quint16(4));
        const int offset = int(u32At(ico, entry + 12));
        QCOMPARE(int(u32At(ico, entry + 8)), 40 + 64 + sizes[i] * sizes[i] / 2 + 4 * sizes[i]);
        QCOMPARE(int(u32At(ico, offset + 8)), 2 * sizes[i]); // colours and mask
    }

    QImageReader reader(assetsDir + "/virtalab.ico");
    QCOMPARE(reader.imageCount(), 2);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QCOMPARE(image.size(), QSize(sizes[i], sizes[i]));
        QVERIFY(image.hasAlphaChannel());
        int clear = 0;
        int white = 0;
        int grey = 0;
        int black = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                clear += qAlpha(p) == 0;
                white += p == 0xffffffff;
                grey += p == 0xff808080 || p == 0xffc0c0c0;
                black += p == 0xff000000;
            }
        }
        // Grey-and-white terminals drawn in black on a clear background.
        const int area = sizes[i] * sizes[i];
        QVERIFY(clear > area / 5 && clear < area * 3 / 5);
        QVERIFY(white > area / 20);
        QVERIFY(grey > area / 20);
        QVERIFY(black > area / 10);
        QCOMPARE(qAlpha(image.pixel(0, sizes[i] - 1)), 0);
    }
}

void TestAssets::sounds_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("scope switch") << "whip.wav";
    QTest::newRow("generator on") << "Sldwst2.wav";
    QTest::newRow("generator off") << "Sldwst.wav";
}

void TestAssets::sounds() {
    QFETCH(QString, file);
    const QByteArray wav = readAsset(file);
    QCOMPARE(wav.left(4), QByteArray("RIFF"));
    QCOMPARE(int(u32At(wav, 4)), wav.size() - 8);
    QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(u16At(wav, 20), quint16(1)); // PCM
    QCOMPARE(u16At(wav, 22), quint16(1)); // mono
    const quint32 rate = u32At(wav, 24);
    QCOMPARE(u16At(wav, 34), quint16(16));
    QCOMPARE(wav.mid(36, 4), QByteArray("data"));
    const int samples = int(u32At(wav, 40)) / 2;
    QCOMPARE(44 + 2 * samples, wav.size());
    // A short sound: a switch, not a tune.
    const double seconds = double(samples) / rate;
    QVERIFY(seconds > 0.05 && seconds < 0.5);

    int peak = 0;
    for (int i = 0; i < samples; ++i) {
        peak = std::max(peak, std::abs(int(qint16(u16At(wav, 44 + 2 * i)))));
    }
    QVERIFY(peak > 16000 && peak < 32767);
    // It fades out rather than stopping with a click.
    for (int i = samples - 20; i < samples; ++i) {
        QVERIFY(std::abs(int(qint16(u16At(wav, 44 + 2 * i)))) < peak / 10);
    }
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TestAssets test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_assets.moc"
