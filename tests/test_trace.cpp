// SPDX-License-Identifier: GPL-3.0-or-later
#include "modelrig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The slider handlers and the centre button, driven through the real panel.
class TestTrace : public QObject {
    Q_OBJECT

    // Scope on, generator on, sweep along X and Y: every handler may act.
    static void allOn(ModelRig& rig) {
        rig.scopeOn();
        rig.sweepXY();
        rig.generatorOn();
    }

private slots:
    void heightFromGainAndVoltage_data() {
        QTest::addColumn<int>("gain");
        QTest::addColumn<int>("voltage");
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("top");
        QTest::newRow("initial") << 6 << 25 << 2100.0f << 1000.0f;
        QTest::newRow("gain 1") << 1 << 25 << 350.0f << 1875.0f;
        QTest::newRow("largest") << 11 << 50 << 7700.0f << -1800.0f;
        QTest::newRow("no voltage") << 3 << 0 << 0.0f << 2050.0f;
    }
    void heightFromGainAndVoltage() {
        QFETCH(int, gain);
        QFETCH(int, voltage);
        QFETCH(float, height);
        QFETCH(float, top);
        ModelRig rig;
        allOn(rig);
        rig.p().sl5->setValue(gain);
        rig.p().sl3->setValue(voltage);
        COMPARE_EXACT(rig.p().ii->Height(), height);
        COMPARE_EXACT(rig.p().ii->Top(), top);
        QCOMPARE(rig.p().Текст1->text(), QString::number(gain));
        QCOMPARE(rig.p().t3->text(), QString::number(voltage));
        QVERIFY(rig.errors.isEmpty());
    }

    void widthFromTimeAndFrequency_data() {
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("left");
        QTest::newRow("initial") << 6 << 10 << 20000.0f << -7430.0f;
        QTest::newRow("6/25") << 6 << 25 << 8000.0f << -1430.0f;
        QTest::newRow("narrowest") << 1 << 25 << 1333.3334f << 1903.3333f;
        QTest::newRow("widest") << 8 << 1 << 266666.66f << -130763.33f;
    }
    void widthFromTimeAndFrequency() {
        QFETCH(int, time);
        QFETCH(int, frequency);
        QFETCH(float, width);
        QFETCH(float, left);
        ModelRig rig;
        allOn(rig);
        rig.p().sl6->setValue(time);
        rig.p().sl4->setValue(frequency);
        COMPARE_EXACT(rig.p().ii->Width(), width);
        COMPARE_EXACT(rig.p().ii->Left(), left);
        QCOMPARE(rig.p().Текст2->text(), QString::number(time));
        QCOMPARE(rig.p().t4->text(), QString::number(frequency));
    }

    // Handlers whose condition is false write their readout and nothing else.
    void onlyTheReadoutChanges_data() {
        QTest::addColumn<bool>("generator");
        QTest::addColumn<bool>("sweepXY");
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("value");
        QTest::newRow("sl4 in the sweep along Y") << true << false << 4 << 20;
        QTest::newRow("sl5 with the generator off, sweep Y") << false << false << 5 << 2;
        QTest::newRow("sl5 with the generator off, sweep XY") << false << true << 5 << 9;
        QTest::newRow("sl6 with the generator off") << false << true << 6 << 3;
        QTest::newRow("sl6 in the sweep along Y") << true << false << 6 << 8;
    }
    void onlyTheReadoutChanges() {
        QFETCH(bool, generator);
        QFETCH(bool, sweepXY);
        QFETCH(int, slider);
        QFETCH(int, value);
        ModelRig rig;
        Panel& p = rig.p();
        rig.scopeOn();
        if (generator) {
            rig.generatorOn();
        }
        if (sweepXY) {
            rig.sweepXY();
        }
        const QRectF before(p.ii->Left(), p.ii->Top(), p.ii->Width(), p.ii->Height());
        const int picture = rig.tracePicture();
        Slider* const sliders[] = {p.sl4, p.sl5, p.sl6};
        QLineEdit* const readouts[] = {p.t4, p.Текст1, p.Текст2};
        sliders[slider - 4]->setValue(value);
        QCOMPARE(readouts[slider - 4]->text(), QString::number(value));
        QCOMPARE(QRectF(p.ii->Left(), p.ii->Top(), p.ii->Width(), p.ii->Height()), before);
        QCOMPARE(rig.tracePicture(), picture);
    }

    void voltageRunsYSetupInEitherSweep_data() {
        QTest::addColumn<bool>("sweepXY");
        QTest::newRow("sweep Y") << false;
        QTest::newRow("sweep XY") << true;
    }
    void voltageRunsYSetupInEitherSweep() {
        QFETCH(bool, sweepXY);
        ModelRig rig;
        rig.scopeOn();
        if (sweepXY) {
            rig.sweepXY();
        }
        rig.generatorOn();
        const float width = rig.p().ii->Width();
        rig.p().sl2->setValue(300);
        rig.p().sl3->setValue(10);
        COMPARE_EXACT(rig.p().ii->Height(), 840.0f);
        COMPARE_EXACT(rig.p().ii->Top(), 2050.0f + 300.0f - 420.0f);
        COMPARE_EXACT(rig.p().ii->Width(), width);
    }

    // The voltage slider tests no option: with the generator off the spot is
    // stretched too.
    void voltageActsWithTheGeneratorOff() {
        ModelRig rig;
        rig.scopeOn();
        rig.p().sl2->setValue(-100);
        rig.p().sl3->setValue(0);
        COMPARE_EXACT(rig.p().ii->Height(), 0.0f);
        COMPARE_EXACT(rig.p().ii->Top(), 2050.0f - 100.0f);
    }

    void gainInTheXYSweepKeepsTheWidth() {
        ModelRig rig;
        allOn(rig);
        rig.p().sl6->setValue(2);
        const float width = rig.p().ii->Width();
        const float left = rig.p().ii->Left();
        rig.p().sl5->setValue(11);
        COMPARE_EXACT(rig.p().ii->Height(), 3850.0f);
        COMPARE_EXACT(rig.p().ii->Width(), width);
        COMPARE_EXACT(rig.p().ii->Left(), left);
    }

    void offsetsAtTheirExtremes_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<float>("centreX");
        QTest::addColumn<float>("centreY");
        QTest::newRow("left, top") << -2570 << -2100 << 0.0f << -50.0f;
        QTest::newRow("right, bottom") << 2570 << 2100 << 5140.0f << 4150.0f;
        QTest::newRow("left, bottom") << -2570 << 2100 << 0.0f << 4150.0f;
        QTest::newRow("middle") << 0 << 0 << 2570.0f << 2050.0f;
    }
    void offsetsAtTheirExtremes() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(float, centreX);
        QFETCH(float, centreY);
        ModelRig rig;
        allOn(rig);
        rig.p().sl1->setValue(x);
        rig.p().sl2->setValue(y);
        const ImageControl& ii = *rig.p().ii;
        COMPARE_EXACT(ii.Left() + ii.Width() / 2, centreX);
        COMPARE_EXACT(ii.Top() + ii.Height() / 2, centreY);
    }

    void sl2DraggedDownMovesTheTraceDown() {
        ModelRig rig;
        allOn(rig);
        const float top = rig.p().ii->Top();
        rig.p().sl2->setSliderDown(true);
        rig.p().sl2->setSliderPosition(rig.p().sl2->value() + 500);
        rig.p().sl2->setSliderDown(false);
        COMPARE_EXACT(rig.p().ii->Top(), top + 500);
    }

    // sl2 is reset before sl1, the size stays, the centre returns home.
    void centreButton() {
        ModelRig rig;
        allOn(rig);
        Panel& p = rig.p();
        p.sl1->setValue(1200);
        p.sl2->setValue(-700);
        const float width = p.ii->Width();
        const float height = p.ii->Height();
        QStringList order;
        connect(p.sl1, &QSlider::valueChanged, this, [&] { order << "sl1"; });
        connect(p.sl2, &QSlider::valueChanged, this, [&] {
            order << "sl2";
            QCOMPARE(p.sl1->value(), 1200);
        });
        QTest::mouseClick(p.Комманда1, Qt::LeftButton);
        QCOMPARE(order, (QStringList{"sl2", "sl1"}));
        COMPARE_EXACT(p.ii->Width(), width);
        COMPARE_EXACT(p.ii->Height(), height);
        COMPARE_EXACT(p.ii->Left() + p.ii->Width() / 2, 2570.0f);
        COMPARE_EXACT(p.ii->Top() + p.ii->Height() / 2, 2050.0f);
    }

    // Offsets already at 0 still re-centre: the first scope-on leaves the
    // trace at its designed corner, and "Центр" brings it to the middle.
    void centreButtonRecentresUnchangedOffsets() {
        ModelRig rig;
        rig.scopeOn();
        COMPARE_EXACT(rig.p().ii->Left(), 2565.0f);
        QTest::mouseClick(rig.p().Комманда1, Qt::LeftButton);
        COMPARE_EXACT(rig.p().ii->Left(), 2535.0f);
        COMPARE_EXACT(rig.p().ii->Top(), 2025.0f);
    }

    // Outside the designed ranges a fault escapes the handler: the readout is
    // already written, the trace keeps its width, and the error is reported
    // by name.
    void faultIsReportedAfterTheReadout() {
        ModelRig rig;
        allOn(rig);
        Panel& p = rig.p();
        const float width = p.ii->Width();
        p.sl4->setMinimum(0);
        p.sl4->setValue(0);
        QCOMPARE(p.t4->text(), QStringLiteral("0"));
        COMPARE_EXACT(p.ii->Width(), width);
        QCOMPARE(rig.errors.size(), 1);
        QVERIFY(rig.errors.first().contains(QStringLiteral("деление на ноль")));
    }
};

QTEST_MAIN(TestTrace)
#include "test_trace.moc"
