// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/geometry.h"

#include <QTest>
#include <cstring>
#include <limits>

using namespace geometry;

namespace {

bool same(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class TestGeometry : public QObject {
    Q_OBJECT

private slots:
    void height_data() {
        QTest::addColumn<int>("gain");
        QTest::addColumn<int>("voltage");
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("top");
        QTest::newRow("initial 6x25") << 6 << 25 << 2100.0f << 1000.0f;
        QTest::newRow("gain 1") << 1 << 25 << 350.0f << 1875.0f;
        QTest::newRow("largest 11x50") << 11 << 50 << 7700.0f << -1800.0f;
        QTest::newRow("no voltage, gain 1") << 1 << 0 << 0.0f << 2050.0f;
        QTest::newRow("no voltage, gain 11") << 11 << 0 << 0.0f << 2050.0f;
    }
    void height() {
        QFETCH(int, gain);
        QFETCH(int, voltage);
        QFETCH(float, height);
        QFETCH(float, top);
        const float h = traceHeight(gain, voltage);
        QVERIFY2(same(h, height), qPrintable(QString::number(h)));
        QVERIFY(same(centredStart(offsetSum(0, yCentre), h), top));
    }

    void width_data() {
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("left");
        QTest::newRow("initial 6/10") << 6 << 10 << 20000.0f << -7430.0f;
        QTest::newRow("6/25") << 6 << 25 << 8000.0f << -1430.0f;
        QTest::newRow("narrowest 1/25") << 1 << 25 << 1333.3334f << 1903.3333f;
        QTest::newRow("widest 8/1") << 8 << 1 << 266666.66f << -130763.33f;
    }
    void width() {
        QFETCH(int, time);
        QFETCH(int, frequency);
        QFETCH(float, width);
        QFETCH(float, left);
        const float w = traceWidth(time, frequency);
        QVERIFY2(same(w, width), qPrintable(QString::number(w, 'g', 10)));
        const float l = centredStart(offsetSum(0, xCentre), w);
        QVERIFY2(same(l, left), qPrintable(QString::number(l, 'g', 10)));
    }

    // Every pair in the slider ranges: the quotient rounded once equals the
    // exact value 100000 * t / (3 * f) rounded once.
    void widthIsTheExactQuotientRounded() {
        for (int t = 1; t <= 8; ++t) {
            for (int f = 1; f <= 25; ++f) {
                const long double exact = 100000.0L * t / (3.0L * f);
                QVERIFY2(same(traceWidth(t, f), static_cast<float>(exact)),
                         qPrintable(QStringLiteral("t=%1 f=%2").arg(t).arg(f)));
            }
        }
    }

    void offsetExtremes_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("centre");
        QTest::addColumn<int>("point");
        QTest::newRow("x left edge") << -2570 << int(xCentre) << 0;
        QTest::newRow("x right") << 2570 << int(xCentre) << 5140;
        QTest::newRow("y above the screen") << -2100 << int(yCentre) << -50;
        QTest::newRow("y below the screen") << 2100 << int(yCentre) << 4150;
    }
    void offsetExtremes() {
        QFETCH(int, value);
        QFETCH(int, centre);
        QFETCH(int, point);
        QCOMPARE(offsetSum(value, centre), point);
    }

    void faults_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("kind");
        using K = TraceError::Kind;
        QTest::newRow("offset sum overflows") << 0 << int(K::Overflow);
        QTest::newRow("offset sum underflows") << 1 << int(K::Overflow);
        QTest::newRow("frequency zero") << 2 << int(K::DivisionByZero);
        QTest::newRow("centring an infinite size") << 3 << int(K::Overflow);
        QTest::newRow("centring a NaN size") << 4 << int(K::InvalidOperation);
        QTest::newRow("beyond single precision") << 5 << int(K::Overflow);
        QTest::newRow("negative beyond single precision") << 6 << int(K::Overflow);
    }
    void faults() {
        QFETCH(int, which);
        QFETCH(int, kind);
        const float inf = std::numeric_limits<float>::infinity();
        const float nan = std::numeric_limits<float>::quiet_NaN();
        try {
            switch (which) {
            case 0:
                offsetSum(std::numeric_limits<std::int32_t>::max(), xCentre);
                break;
            case 1:
                offsetSum(std::numeric_limits<std::int32_t>::min(), -yCentre);
                break;
            case 2:
                traceWidth(6, 0);
                break;
            case 3:
                centredStart(2050, inf);
                break;
            case 4:
                centredStart(2050, nan);
                break;
            case 5:
                toSingle(1e39);
                break;
            case 6:
                toSingle(-1e39);
                break;
            }
            QFAIL("no error raised");
        } catch (const TraceError& error) {
            QCOMPARE(int(error.kind()), kind);
            QVERIFY(QString::fromUtf8(error.what()).contains(QStringLiteral("Ошибка выполнения")));
        }
    }

    void largestFloatStillFits() {
        const float max = std::numeric_limits<float>::max();
        QVERIFY(same(toSingle(static_cast<double>(max)), max));
        QVERIFY(same(toSingle(-static_cast<double>(max)), -max));
    }
};

QTEST_APPLESS_MAIN(TestGeometry)
#include "test_geometry.moc"
