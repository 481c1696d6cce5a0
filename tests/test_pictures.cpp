// SPDX-License-Identifier: GPL-3.0-or-later
// The trace pictures as a student sees them: rendered at several sizes and
// counted, teeth, periods, levels, the spot and the stroke.

#include "panel/imagecontrol.h"
#include "platform/pictures/pictureloader.h"
#include "platform/pictures/rasterpicture.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Reference-device units per millimetre: 300 dots per inch.
constexpr double unitsPerMm = 300.0 / 25.4;

PicturePtr picture(const char* file) {
    return loadPicture(QStringLiteral(":/assets/") + file);
}

QImage render(const PicturePtr& p, QSize size, double dpr = 1.0) {
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    p->paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

bool lit(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return qAlpha(c) > 96 && qGreen(c) > 2 * qRed(c) && qGreen(c) > 2 * qBlue(c);
}

int litInColumn(const QImage& image, int x) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        n += lit(image, x, y);
    }
    return n;
}

// Starts of the runs of consecutive true values.
std::vector<int> runStarts(const std::vector<bool>& marks) {
    std::vector<int> starts;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (marks[i] && (i == 0 || !marks[i - 1])) {
            starts.push_back(static_cast<int>(i));
        }
    }
    return starts;
}

double meanSpacing(const std::vector<int>& starts) {
    return starts.size() < 2 ? 0.0
                             : double(starts.back() - starts.front()) / double(starts.size() - 1);
}

// Columns that are lit nearly all the way from one level to the other: the
// vertical strokes of the sawtooth and the rectangle.
std::vector<int> verticalStrokes(const QImage& image) {
    std::vector<bool> marks;
    for (int x = 0; x < image.width(); ++x) {
        marks.push_back(litInColumn(image, x) >= image.height() * 8 / 10);
    }
    return runStarts(marks);
}

// Runs of lit pixels along one row at least minLength long: the levels of
// the rectangle, not the rows where a vertical edge merely touches.
std::vector<int> runsInRow(const QImage& image, int y, int minLength) {
    std::vector<int> starts;
    int run = 0;
    for (int x = 0; x <= image.width(); ++x) {
        if (x < image.width() && lit(image, x, y)) {
            ++run;
            continue;
        }
        if (run >= minLength) {
            starts.push_back(x - run);
        }
        run = 0;
    }
    return starts;
}

int topmostLitRow(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (lit(image, x, y)) {
                return y;
            }
        }
    }
    return -1;
}

int bottommostLitRow(const QImage& image) {
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            if (lit(image, x, y)) {
                return y;
            }
        }
    }
    return -1;
}

QRect litBounds(const QImage& image, int* count) {
    QRect bounds;
    *count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (lit(image, x, y)) {
                bounds |= QRect(x, y, 1, 1);
                ++*count;
            }
        }
    }
    return bounds;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void sawtoothTeeth_data();
    void sawtoothTeeth();
    void sinePeriods_data();
    void sinePeriods();
    void rectangularPeriods_data();
    void rectangularPeriods();
    void levels_data();
    void levels();
    void spotIsADisc_data();
    void spotIsADisc();
    void strokeIsAVerticalBar();
    void partialPaintingMatchesTheWhole_data();
    void partialPaintingMatchesTheWhole();
    void wideTraceThroughTheControl();
    void sharperAtDoubleDensity();
    void thinLinesStayVisible();
    void rasterPictures_data();
    void rasterPictures();
};

void TestPictures::sawtoothTeeth_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("300 px") << 300;
    QTest::newRow("600 px") << 600;
    QTest::newRow("1200 px") << 1200;
    QTest::newRow("2400 px") << 2400;
}

void TestPictures::sawtoothTeeth() {
    QFETCH(int, width);
    const PicturePtr saw = picture("saw.emf");
    const std::vector<int> drops = verticalStrokes(render(saw, QSize(width, 66)));
    QCOMPARE(drops.size(), std::size_t(60));
    QVERIFY(std::abs(meanSpacing(drops) - width / 60.0) < width / 60.0 * 0.02);

    // Half as wide, half the period.
    const std::vector<int> half = verticalStrokes(render(saw, QSize(width / 2, 66)));
    QCOMPARE(half.size(), std::size_t(60));
    QVERIFY(std::abs(meanSpacing(drops) / meanSpacing(half) - 2.0) < 0.04);
}

void TestPictures::sinePeriods_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("600 px") << 600;
    QTest::newRow("1200 px") << 1200;
    QTest::newRow("2400 px") << 2400;
}

void TestPictures::sinePeriods() {
    QFETCH(int, width);
    const PicturePtr sine = picture("sine.emf");
    auto crests = [&sine](int w) {
        const QImage image = render(sine, QSize(w, 128));
        const int top = topmostLitRow(image);
        const int bottom = bottommostLitRow(image);
        std::vector<bool> peaks;
        std::vector<bool> troughs;
        for (int x = 0; x < w; ++x) {
            peaks.push_back(lit(image, x, top) || lit(image, x, top + 1));
            troughs.push_back(lit(image, x, bottom) || lit(image, x, bottom - 1));
        }
        return std::pair{runStarts(peaks), runStarts(troughs)};
    };
    const auto [peaks, troughs] = crests(width);
    QCOMPARE(peaks.size(), std::size_t(56));
    QCOMPARE(troughs.size(), std::size_t(56));
    // The first half-wave goes up.
    QVERIFY(peaks.front() < troughs.front());
    QVERIFY(std::abs(meanSpacing(peaks) - width / 56.0) < width / 56.0 * 0.02);

    const auto [halfPeaks, halfTroughs] = crests(width / 2);
    QCOMPARE(halfPeaks.size(), std::size_t(56));
    QVERIFY(std::abs(meanSpacing(peaks) / meanSpacing(halfPeaks) - 2.0) < 0.04);
}

void TestPictures::rectangularPeriods_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("300 px") << 300;
    QTest::newRow("600 px") << 600;
    QTest::newRow("1200 px") << 1200;
    QTest::newRow("2400 px") << 2400;
}

void TestPictures::rectangularPeriods() {
    QFETCH(int, width);
    const PicturePtr square = picture("square.emf");
    const QImage image = render(square, QSize(width, 66));
    const int top = topmostLitRow(image);
    const int bottom = bottommostLitRow(image);
    const int level = width / 120; // half a level's length
    const std::vector<int> high = runsInRow(image, top, level);
    const std::vector<int> low = runsInRow(image, bottom, level);
    QCOMPARE(high.size(), std::size_t(30));
    QCOMPARE(low.size(), std::size_t(30));
    const std::vector<int> edges = verticalStrokes(image);
    QCOMPARE(edges.size(), std::size_t(60));
    // It starts on the top level and ends with a rise at the right edge.
    QVERIFY(high.front() < low.front());
    QVERIFY(low.back() > high.back());
    QVERIFY(edges.back() >= width - 3);
    QVERIFY(std::abs(meanSpacing(high) - width / 30.0) < width / 30.0 * 0.02);

    const QImage half = render(square, QSize(width / 2, 66));
    const std::vector<int> halfHigh = runsInRow(half, topmostLitRow(half), level / 2);
    QCOMPARE(halfHigh.size(), std::size_t(30));
    QVERIFY(std::abs(meanSpacing(high) / meanSpacing(halfHigh) - 2.0) < 0.04);
}

void TestPictures::levels_data() {
    // The levels' y in drawing units and the frame's height as catalogued;
    // the proportions on screen follow from them whatever the image height.
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("high");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("frameMm");
    QTest::addColumn<int>("height");
    QTest::newRow("sawtooth, short") << "saw.emf" << 1.0 << 31.0 << 2.82 << 100;
    QTest::newRow("sawtooth, tall") << "saw.emf" << 1.0 << 31.0 << 2.82 << 330;
    QTest::newRow("sine, short") << "sine.emf" << 1.0 << 61.0 << 5.38 << 100;
    QTest::newRow("sine, tall") << "sine.emf" << 1.0 << 61.0 << 5.38 << 330;
    QTest::newRow("rectangle, short") << "square.emf" << 1.0 << 31.0 << 2.73 << 100;
    QTest::newRow("rectangle, tall") << "square.emf" << 1.0 << 31.0 << 2.73 << 330;
}

void TestPictures::levels() {
    QFETCH(QString, file);
    QFETCH(double, high);
    QFETCH(double, low);
    QFETCH(double, frameMm);
    QFETCH(int, height);
    const double frameUnits = frameMm * unitsPerMm;
    const QImage image = render(picture(file.toLatin1().constData()), QSize(1200, height));
    // Lines are one pixel wide here: their centres are half a pixel inside.
    const double top = topmostLitRow(image) + 0.5;
    const double bottom = bottommostLitRow(image) + 0.5;
    const double tolerance = 1.5 / height;
    QVERIFY2(std::abs((bottom - top) / height - (low - high) / frameUnits) < tolerance,
             qPrintable(QStringLiteral("peak to peak %1 of %2").arg(bottom - top).arg(height)));
    QVERIFY2(std::abs((height - bottom) / height - (frameUnits - low) / frameUnits) < tolerance,
             qPrintable(QStringLiteral("lower level at %1 of %2").arg(bottom).arg(height)));
}

void TestPictures::spotIsADisc_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("square") << QSize(100, 100);
    QTest::newRow("large") << QSize(300, 300);
    QTest::newRow("stretched") << QSize(160, 80);
}

void TestPictures::spotIsADisc() {
    QFETCH(QSize, size);
    int count = 0;
    const QRect bounds = litBounds(render(picture("spot.emf"), size), &count);
    // The disc spans 28 of the frame's 2.91 mm: about four fifths.
    const double fraction = 28.0 / (2.91 * unitsPerMm);
    QVERIFY(std::abs(bounds.width() - fraction * size.width()) <= 2);
    QVERIFY(std::abs(bounds.height() - fraction * size.height()) <= 2);
    // Filled, with no hole: the area of an ellipse of that size.
    const double area = std::numbers::pi * bounds.width() * bounds.height() / 4;
    QVERIFY2(std::abs(count / area - 1.0) < 0.04, qPrintable(QString::number(count / area)));
    // Centred on unit 16 of a window starting at -1.
    const double centre = 17.0 / (2.91 * unitsPerMm);
    QVERIFY(std::abs(bounds.center().x() + 0.5 - centre * size.width()) <= 1.5);
    QVERIFY(std::abs(bounds.center().y() + 0.5 - centre * size.height()) <= 1.5);
}

void TestPictures::strokeIsAVerticalBar() {
    const QSize size(52, 344); // ten pixels a unit
    const QImage image = render(picture("stroke.emf"), size);
    int count = 0;
    const QRect bounds = litBounds(image, &count);
    QVERIFY(bounds.height() > 5 * bounds.width());
    QVERIFY(std::abs(bounds.width() - 30) <= 2); // three units wide
    QVERIFY(std::abs(bounds.center().x() + 0.5 - 2.0 / (0.44 * unitsPerMm) * size.width()) <= 2);
    // Solid across its width from one end to the other.
    for (int y = 20; y <= 310; y += 10) {
        for (int x = bounds.left() + 2; x <= bounds.right() - 2; ++x) {
            QVERIFY(lit(image, x, y));
        }
    }
}

void TestPictures::partialPaintingMatchesTheWhole_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("offset");
    QTest::newRow("sawtooth, start") << "saw.emf" << 0;
    QTest::newRow("sawtooth, middle") << "saw.emf" << 1731;
    QTest::newRow("sawtooth, end") << "saw.emf" << 3700;
    QTest::newRow("sine, middle") << "sine.emf" << 2222;
    QTest::newRow("rectangle, middle") << "square.emf" << 1500;
    QTest::newRow("title, middle") << "title.emf" << 1900;
}

// Painting only what a small device shows must give exactly those pixels of
// the whole picture: nothing that reaches into view may be skipped.
void TestPictures::partialPaintingMatchesTheWhole() {
    QFETCH(QString, file);
    QFETCH(int, offset);
    const PicturePtr p = picture(file.toLatin1().constData());
    const QSize whole(4000, 120);
    const QImage full = render(p, whole);

    QImage window(300, 120, QImage::Format_ARGB32_Premultiplied);
    window.fill(Qt::transparent);
    QPainter painter(&window);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-offset, 0);
    p->paint(painter, QRectF(QPointF(0, 0), QSizeF(whole)));
    painter.end();

    const QImage expected = full.copy(offset, 0, 300, 120);
    QCOMPARE(window, expected);
    int count = 0;
    litBounds(window, &count);
    QVERIFY(count > 0 || file == "title.emf");
}

// A trace twice as wide as the screen, centred on it, shows half its teeth;
// one 266,666 twips wide shows a single tooth's worth of lines.
void TestPictures::wideTraceThroughTheControl() {
    QWidget screen;
    screen.resize(343, 273);
    auto* trace = new ImageControl(&screen);
    trace->setPicture(picture("saw.emf"));

    trace->setTwips(5145.0f / 2 - 5145.0f, 1000, 2 * 5145.0f, 1200);
    QImage image(screen.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    screen.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const std::size_t teeth = verticalStrokes(image.copy(0, 60, 343, 90)).size();
    QVERIFY2(teeth >= 29 && teeth <= 31, qPrintable(QString::number(teeth)));

    trace->setTwips(2570.0f - 133333.0f, 1000, 266666.0f, 1200);
    image.fill(Qt::transparent);
    screen.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int count = 0;
    const QRect bounds = litBounds(image, &count);
    // The tooth is 296 pixels wide: the screen shows part of a rise or a drop.
    QVERIFY(count > 0);
    QVERIFY(verticalStrokes(image.copy(0, 60, 343, 90)).size() <= 1);
    QVERIFY(bounds.top() >= 60 && bounds.bottom() <= 150);
}

// At a device pixel ratio of 2 the vectors are drawn at the finer
// resolution: lines stay one device pixel thin instead of doubling.
void TestPictures::sharperAtDoubleDensity() {
    const PicturePtr square = picture("square.emf");
    const QSize size(600, 66);
    const QImage single = render(square, size, 1.0);
    const QImage twice = render(square, size, 2.0);
    QCOMPARE(twice.size(), size * 2);

    auto thickness = [](const QImage& image, int x) {
        int n = 0;
        for (int y = 0; y < image.height() / 2; ++y) {
            n += lit(image, x, y);
        }
        return n;
    };
    // Middle of the first top level, away from its edges.
    const int x = 5;
    const int thin = thickness(twice, 2 * x);
    QVERIFY(thin >= 1);
    QVERIFY2(thin < 2 * thickness(single, x),
             qPrintable(QStringLiteral("%1 vs %2").arg(thin).arg(thickness(single, x))));
    QCOMPARE(verticalStrokes(twice).size(), std::size_t(60));
    // Not a scaled-up copy of the single-density image.
    const QImage scaled = single.scaled(size * 2);
    QVERIFY(scaled != twice.convertToFormat(scaled.format()));
}

// However small the trace, its lines are at least a pixel wide.
void TestPictures::thinLinesStayVisible() {
    const QImage image = render(picture("square.emf"), QSize(200, 8));
    const int top = topmostLitRow(image);
    QVERIFY(top >= 0);
    QCOMPARE(runsInRow(image, top, 2).size(), std::size_t(30));
}

void TestPictures::rasterPictures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::newRow("screen") << "screen.bmp" << QSize(343, 280);
    QTest::newRow("horizontal strip") << "rainbow-h.gif" << QSize(600, 1);
    QTest::newRow("vertical strip") << "rainbow-v.gif" << QSize(1, 600);
    QTest::newRow("icon") << "virtalab.ico" << QSize(32, 32);
}

void TestPictures::rasterPictures() {
    QFETCH(QString, file);
    QFETCH(QSize, size);
    const PicturePtr p = picture(file.toLatin1().constData());
    QCOMPARE(p->naturalSize(), QSizeF(size));
    const auto* raster = dynamic_cast<const RasterPicture*>(p.get());
    QVERIFY(raster);

    // Stretched to twice its size, every pixel becomes a 2 x 2 block.
    const QImage stretched = render(p, size * 2);
    const QImage source = raster->image().convertToFormat(stretched.format());
    for (int y = 0; y < size.height(); y += std::max(1, size.height() / 7)) {
        for (int x = 0; x < size.width(); x += std::max(1, size.width() / 7)) {
            QCOMPARE(stretched.pixel(2 * x + 1, 2 * y + 1), source.pixel(x, y));
        }
    }
    QCOMPARE(stretched.pixel(2 * size.width() - 1, 2 * size.height() - 1),
             source.pixel(size.width() - 1, size.height() - 1));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestPictures test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pictures.moc"
