// SPDX-License-Identifier: GPL-3.0-or-later
// Painting the trace on the screen: the whole visible part at any device
// pixel ratio, and the kept copy of its drawing, when it is made, that it
// shows what drawing afresh shows, and that any change, or a device that
// needs the vectors, draws afresh.

#include "panel/drawingcache.h"
#include "panel/imagecontrol.h"
#include "platform/pictures/pictureloader.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

PicturePtr picture(const QString& file) {
    return loadPicture(QStringLiteral(":/assets/") + file);
}

// How far blending a kept copy may round a channel from drawing straight.
constexpr int roundingSteps = 2;

// The largest difference in any channel of any pixel.
int maxDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return worst;
}

// The oscilloscope's screen in miniature: a grey ground for the trace to be
// blended over, so that a copy blended differently would show.
class Screen {
public:
    explicit Screen(double ratio) : m_ratio(ratio) {
        m_screen.resize(343, 273);
        m_trace = new ImageControl(&m_screen);
    }
    ImageControl& trace() { return *m_trace; }

    QImage paint() {
        QImage image(m_screen.size() * m_ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(m_ratio);
        image.fill(QColor(90, 60, 120));
        m_screen.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

private:
    double m_ratio;
    QWidget m_screen;
    ImageControl* m_trace;
};

// Counts the real drawings and notes on which painter each was made.
struct Drawings {
    int count = 0;
    const QPainter* last = nullptr;
    std::function<void(QPainter&)> draw() {
        return [this](QPainter& painter) {
            ++count;
            last = &painter;
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(Qt::green, 3));
            painter.drawLine(QPointF(2, 3), QPointF(40, 27.5));
        };
    }
};

// Columns of the image where the trace shows over the ground, in logical
// pixels; a one-pixel line between two rows still counts.
std::vector<bool> litColumns(const QImage& image) {
    const double ratio = image.devicePixelRatio();
    std::vector<bool> lit(static_cast<std::size_t>(std::lround(image.width() / ratio)));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qGreen(c) > 100) {
                lit.at(static_cast<std::size_t>(x / ratio)) = true;
            }
        }
    }
    return lit;
}

} // namespace

class TestScreenPaint : public QObject {
    Q_OBJECT

private slots:
    void wholeTraceAtAnyRatio_data();
    void wholeTraceAtAnyRatio();
    void copyShowsTheDrawing_data();
    void copyShowsTheDrawing();
    void keptFromTheSecondPaint();
    void changeDrawsAfresh();
    void wholePixelShiftKeepsTheCopy();
    void vectorDevicesGetVectors();
    void nothingToKeep();
    void traceMovedAndBack();
};

// The trace wider than the screen fills it edge to edge, whatever the
// device pixel ratio: no part is left out as lying beyond the screen.
void TestScreenPaint::wholeTraceAtAnyRatio_data() {
    QTest::addColumn<double>("ratio");
    QTest::newRow("x1") << 1.0;
    QTest::newRow("x1.5") << 1.5;
    QTest::newRow("x2") << 2.0;
    QTest::newRow("x3") << 3.0;
}

void TestScreenPaint::wholeTraceAtAnyRatio() {
    QFETCH(double, ratio);
    for (const char* file : {"saw.emf", "sine.emf", "square.emf"}) {
        Screen screen(ratio);
        screen.trace().setPicture(picture(QString::fromLatin1(file)));
        screen.trace().setTwips(-7430, 1000, 20000, 2100);
        // Drawn straight onto the device, then from the kept copy.
        for (int paint = 0; paint < 2; ++paint) {
            const std::vector<bool> lit = litColumns(screen.paint());
            const auto dark = std::count(lit.begin(), lit.end(), false);
            // A sawtooth or sine this size leaves no column of the screen
            // unlit; the rectangle's levels and edges neither.
            QVERIFY2(dark == 0, qPrintable(QStringLiteral("%1: %2 dark columns, paint %3")
                                               .arg(QLatin1String(file))
                                               .arg(dark)
                                               .arg(paint + 1)));
        }
    }
}

// Blending a kept copy may round an edge pixel one step differently from
// drawing onto the screen, two where two strokes overlap and the screen
// blends twice; nothing else may differ.
void TestScreenPaint::copyShowsTheDrawing_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<double>("ratio");
    const struct {
        const char* name;
        float width;
        float height;
    } sizes[] = {{"initial", 20000.0F, 2100.0F},
                 {"widest", 266666.66F, 7700.0F},
                 {"narrowest", 1333.3334F, 350.0F}};
    for (const char* file : {"saw.emf", "sine.emf", "square.emf", "spot.emf"}) {
        for (const auto& size : sizes) {
            for (const double ratio : {1.0, 2.0, 1.5}) {
                QTest::addRow("%s %s x%g", file, size.name, ratio)
                    << QString::fromLatin1(file) << size.width << size.height << ratio;
            }
        }
    }
}

void TestScreenPaint::copyShowsTheDrawing() {
    QFETCH(QString, file);
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(double, ratio);
    Screen screen(ratio);
    screen.trace().setPicture(picture(file));
    screen.trace().setTwips(2570 - width / 2, 2050 - height / 2, width, height);

    const QImage drawn = screen.paint();
    const QImage copied = screen.paint();
    const QImage copiedAgain = screen.paint();
    QCOMPARE(copiedAgain, copied);
    const int difference = maxDifference(drawn, copied);
    QVERIFY2(difference <= roundingSteps, qPrintable(QString::number(difference)));
    // Not a blank screen compared with itself.
    QVERIFY(drawn != Screen(ratio).paint());
}

void TestScreenPaint::keptFromTheSecondPaint() {
    DrawingCache cache;
    Drawings drawings;
    const DrawingCache::Key key{picture(QStringLiteral("saw.emf")), QRectF(0, 0, 50, 30),
                                QRect(0, 0, 50, 30)};
    QImage image(50, 30, QImage::Format_RGB32);
    const auto paint = [&] {
        image.fill(Qt::black);
        QPainter painter(&image);
        cache.paint(painter, QRect(0, 0, 50, 30), key, drawings.draw());
        return &painter == drawings.last;
    };

    QVERIFY(paint()); // drawn straight onto the device
    QCOMPARE(drawings.count, 1);
    QVERIFY(!cache.holdsCopy());
    const QImage first = image;

    QVERIFY(!paint()); // drawn into the copy
    QCOMPARE(drawings.count, 2);
    QVERIFY(cache.holdsCopy());
    QVERIFY(maxDifference(first, image) <= roundingSteps);

    paint(); // copied only
    paint();
    QCOMPARE(drawings.count, 2);

    cache.clear();
    QVERIFY(!cache.holdsCopy());
    QVERIFY(paint());
    QCOMPARE(drawings.count, 3);
}

// Each part of the key, and the scale of the device, makes a new drawing.
void TestScreenPaint::changeDrawsAfresh() {
    const PicturePtr saw = picture(QStringLiteral("saw.emf"));
    const DrawingCache::Key base{saw, QRectF(0, 0, 50, 30), QRect(0, 0, 50, 30)};
    DrawingCache::Key otherPicture = base;
    otherPicture.picture = picture(QStringLiteral("saw.emf")); // equal content, another object
    DrawingCache::Key otherTarget = base;
    otherTarget.target.setWidth(50.001);
    DrawingCache::Key otherGeometry = base;
    otherGeometry.geometry.moveLeft(1);

    for (const DrawingCache::Key& changed : {otherPicture, otherTarget, otherGeometry}) {
        DrawingCache cache;
        Drawings drawings;
        QImage image(50, 30, QImage::Format_RGB32);
        for (int i = 0; i < 3; ++i) {
            QPainter painter(&image);
            cache.paint(painter, QRect(0, 0, 50, 30), base, drawings.draw());
        }
        QCOMPARE(drawings.count, 2);
        QPainter painter(&image);
        cache.paint(painter, QRect(0, 0, 50, 30), changed, drawings.draw());
        QCOMPARE(drawings.count, 3);
        QCOMPARE(drawings.last, &painter);
        QVERIFY(!cache.holdsCopy());
    }

    DrawingCache cache;
    Drawings drawings;
    for (const double ratio : {1.0, 1.0, 1.0, 2.0}) {
        QImage image(QSize(50, 30) * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        cache.paint(painter, QRect(0, 0, 50, 30), base, drawings.draw());
    }
    QCOMPARE(drawings.count, 3);
}

// The copy holds device pixels: moved by whole pixels it is the same copy;
// moved by half a pixel it is drawn again.
void TestScreenPaint::wholePixelShiftKeepsTheCopy() {
    DrawingCache cache;
    Drawings drawings;
    const DrawingCache::Key key{picture(QStringLiteral("saw.emf")), QRectF(0, 0, 50, 30),
                                QRect(0, 0, 50, 30)};
    QImage image(120, 90, QImage::Format_RGB32);
    const auto paintAt = [&](QPointF shift) {
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.translate(shift);
        cache.paint(painter, QRect(0, 0, 50, 30), key, drawings.draw());
    };
    paintAt({0, 0});
    paintAt({0, 0});
    QCOMPARE(drawings.count, 2);
    const QImage atOrigin = image;

    paintAt({17, 23});
    QCOMPARE(drawings.count, 2);
    QCOMPARE(image.copy(17, 23, 50, 30), atOrigin.copy(0, 0, 50, 30));

    paintAt({17.5, 23});
    QCOMPARE(drawings.count, 3);
}

// A recording (what printing replays) and a rotated painter get the
// drawing itself every time.
void TestScreenPaint::vectorDevicesGetVectors() {
    const DrawingCache::Key key{picture(QStringLiteral("saw.emf")), QRectF(0, 0, 50, 30),
                                QRect(0, 0, 50, 30)};
    {
        DrawingCache cache;
        Drawings drawings;
        for (int i = 0; i < 3; ++i) {
            QPicture recording;
            QPainter painter(&recording);
            cache.paint(painter, QRect(0, 0, 50, 30), key, drawings.draw());
            QCOMPARE(drawings.last, &painter);
        }
        QCOMPARE(drawings.count, 3);
        QVERIFY(!cache.holdsCopy());
    }
    {
        DrawingCache cache;
        Drawings drawings;
        QImage image(100, 100, QImage::Format_RGB32);
        for (int i = 0; i < 3; ++i) {
            QPainter painter(&image);
            painter.rotate(10);
            cache.paint(painter, QRect(0, 0, 50, 30), key, drawings.draw());
        }
        QCOMPARE(drawings.count, 3);
        QVERIFY(!cache.holdsCopy());
    }
}

// An empty area leaves nothing to copy: every paint draws, quietly.
void TestScreenPaint::nothingToKeep() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    DrawingCache cache;
    Drawings drawings;
    const DrawingCache::Key key{picture(QStringLiteral("saw.emf")), QRectF(0, 0, 50, 30),
                                QRect(0, 0, 0, 0)};
    QImage image(50, 30, QImage::Format_RGB32);
    for (int i = 0; i < 3; ++i) {
        QPainter painter(&image);
        cache.paint(painter, QRect(), key, drawings.draw());
        QCOMPARE(drawings.last, &painter);
    }
    QCOMPARE(drawings.count, 3);
    QVERIFY(!cache.holdsCopy());
}

// A trace that moves away and back is drawn for where it is now, never
// from a copy made for elsewhere.
void TestScreenPaint::traceMovedAndBack() {
    Screen screen(1.0);
    screen.trace().setPicture(picture(QStringLiteral("sine.emf")));
    const auto place = [&](float left) { screen.trace().setTwips(left, 1000, 20000, 2100); };

    place(-7430);
    screen.paint();
    screen.paint();
    const QImage home = screen.paint();
    place(-7000);
    const QImage moved = screen.paint();
    QVERIFY(moved != home);

    Screen fresh(1.0);
    fresh.trace().setPicture(screen.trace().picture());
    fresh.trace().setTwips(-7000, 1000, 20000, 2100);
    QCOMPARE(moved, fresh.paint());

    place(-7430);
    const int difference = maxDifference(screen.paint(), home);
    QVERIFY2(difference <= roundingSteps, qPrintable(QString::number(difference)));
}

QTEST_MAIN(TestScreenPaint)
#include "test_screenpaint.moc"
