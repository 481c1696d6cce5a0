// SPDX-License-Identifier: GPL-3.0-or-later
#include "modelrig.h"

#include <QTest>

// Sweep mode and signal shape, reached through the real option buttons.
class TestSweep : public QObject {
    Q_OBJECT

    static QRectF rectOf(const ImageControl& ii) {
        return {ii.Left(), ii.Top(), ii.Width(), ii.Height()};
    }

    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

private slots:
    // What the trace shows for generator off/on in each sweep mode.
    void stateTable_data() {
        QTest::addColumn<bool>("generator");
        QTest::addColumn<bool>("sweepXY");
        QTest::addColumn<int>("picture");
        QTest::addColumn<QRectF>("rect");
        QTest::newRow("off, Y") << false << false << 4 << QRectF(2535, 2025, 70, 50);
        QTest::newRow("off, XY") << false << true << 4 << QRectF(2565, 2040, 70, 50);
        QTest::newRow("on, Y") << true << false << 4 << QRectF(2545, 1000, 50, 2100);
        QTest::newRow("on, XY") << true << true << 1 << QRectF(-7430, 1000, 20000, 2100);
    }
    void stateTable() {
        QFETCH(bool, generator);
        QFETCH(bool, sweepXY);
        QFETCH(int, picture);
        QFETCH(QRectF, rect);
        ModelRig rig;
        Panel& p = rig.p();
        click(p.Опция6);
        if (generator) {
            click(p.Опция1);
        }
        // Choose the mode after the switch-on, through the buttons.
        click(sweepXY ? p.Опция2 : p.Опция3);
        click(sweepXY ? p.Опция3 : p.Опция2);
        QCOMPARE(rig.tracePicture(), picture);
        QCOMPARE(rectOf(*p.ii), rect);
    }

    void shapeInTheXYSweepSwapsOnlyThePicture() {
        ModelRig rig;
        Panel& p = rig.p();
        click(p.Опция6);
        click(p.Опция3);
        click(p.Опция1);
        p.sl1->setValue(250);
        const QRectF before = rectOf(*p.ii);
        for (int shape : {2, 0, 1}) {
            click(p.signal[shape]);
            QCOMPARE(rig.tracePicture(), shape);
            QCOMPARE(rectOf(*p.ii), before);
        }
    }

    void shapeInTheSweepAlongYIsRememberedForLater() {
        ModelRig rig;
        Panel& p = rig.p();
        click(p.Опция6);
        click(p.Опция1);
        const QRectF before = rectOf(*p.ii);
        click(p.signal[2]);
        QCOMPARE(rig.tracePicture(), 4);
        QCOMPARE(rectOf(*p.ii), before);
        click(p.Опция3);
        QCOMPARE(rig.tracePicture(), 2);
        QCOMPARE(rectOf(*p.ii), QRectF(-7430, 1000, 20000, 2100));
    }

    void sweepAlongYWithTheGeneratorOnGivesTheStroke_data() {
        QTest::addColumn<int>("x");
        QTest::newRow("offset 0") << 0;
        QTest::newRow("offset -2570") << -2570;
        QTest::newRow("offset 1234") << 1234;
    }
    void sweepAlongYWithTheGeneratorOnGivesTheStroke() {
        QFETCH(int, x);
        ModelRig rig;
        Panel& p = rig.p();
        click(p.Опция6);
        click(p.Опция3);
        click(p.Опция1);
        p.sl1->setValue(x);
        p.sl5->setValue(2);
        click(p.Опция2);
        QCOMPARE(rig.tracePicture(), 4);
        COMPARE_EXACT(p.ii->Width(), 50.0f);
        COMPARE_EXACT(p.ii->Left(), float(x + 2570 - 25));
        COMPARE_EXACT(p.ii->Height(), 700.0f);
        COMPARE_EXACT(p.ii->Top(), 2050.0f - 350.0f);
    }

    void xySweepWithTheGeneratorOffChangesNothingUntilSwitchedOn() {
        ModelRig rig;
        Panel& p = rig.p();
        click(p.Опция6);
        click(p.Опция1);
        click(p.signal[0]);
        click(p.Опция4);
        const QRectF before = rectOf(*p.ii);
        click(p.Опция3);
        QCOMPARE(rig.tracePicture(), 3);
        QCOMPARE(rectOf(*p.ii), before);
        click(p.Опция1);
        QCOMPARE(rig.tracePicture(), 0);
        QCOMPARE(rectOf(*p.ii), QRectF(-7430, 1000, 20000, 2100));
    }

    // Only choosing the sweep along Y again could differ; a re-click on a
    // selected option runs nothing, so the 70-wide line stays 70 wide.
    void reclickOfTheSelectedSweepRunsNothing() {
        ModelRig rig;
        Panel& p = rig.p();
        click(p.Опция6);
        click(p.Опция1);
        const QRectF before = rectOf(*p.ii);
        click(p.Опция2);
        QCOMPARE(rectOf(*p.ii), before);
        COMPARE_EXACT(p.ii->Width(), 70.0f);
    }

    void selectionsSurviveSwitchingOffAndOn() {
        ModelRig rig;
        Panel& p = rig.p();
        click(p.Опция6);
        click(p.Опция3);
        click(p.Опция1);
        click(p.signal[2]);
        click(p.Опция5);
        QVERIFY(p.Опция3->isChecked());
        QVERIFY(p.signal[2]->isChecked());
        click(p.Опция6);
        click(p.Опция1);
        QVERIFY(p.Опция3->isChecked());
        QCOMPARE(rig.tracePicture(), 2);
    }

    void buttonsIgnoredWhileTheirUnitIsOff() {
        ModelRig rig;
        Panel& p = rig.p();
        click(p.Опция3);
        QVERIFY(p.Опция2->isChecked());
        click(p.Опция6);
        click(p.signal[0]);
        QVERIFY(p.signal[1]->isChecked());
    }
};

QTEST_MAIN(TestSweep)
#include "test_sweep.moc"
