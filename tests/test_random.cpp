// SPDX-License-Identifier: GPL-3.0-or-later
#include "modelrig.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

// An independent account of what the panel must show, written from the rules
// of the instrument rather than from the program's own functions.
struct Reference {
    bool scope = false;
    bool generator = false;
    bool sweepXY = false;
    int shape = 1;
    int s[7] = {0, 0, 0, 25, 10, 6, 6}; // s[1]..s[6]
    QString t3 = "25", t4 = "10", text1 = "6", text2 = "6";
    bool visible = false;
    int picture = -1;
    float left = 2565, top = 2040, width = 1575, height = 1335;

    void centreY() { top = float(double(s[2] + 2050) - double(height) / 2); }
    void centreX() { left = float(double(s[1] + 2570) - double(width) / 2); }
    void setupY() {
        height = float(14 * s[5] * s[3]);
        centreY();
    }
    void setupXY() {
        setupY();
        width = float(100000.0L * s[6] / (3.0L * s[4]));
        centreX();
    }
    void spot() {
        picture = 3;
        height = 50;
        width = 70;
        centreY();
        centreX();
    }

    bool enabled(int control) const {
        switch (control) {
        case 0: // Опция6
        case 1: // Опция5
            return true;
        case 6:
        case 7:
        case 8: // signal(i)
        case 13:
        case 14: // sl3, sl4
            return generator;
        default:
            return scope;
        }
    }

    void click(int control) {
        if (!enabled(control)) {
            return;
        }
        switch (control) {
        case 0:
            if (!scope) {
                scope = true;
                visible = true;
                picture = 4;
                height = 50;
                width = 70;
            }
            break;
        case 1:
            if (scope) {
                visible = false;
                if (generator) {
                    spot();
                    generator = false;
                }
                scope = false;
            }
            break;
        case 2:
            if (!generator) {
                generator = true;
                if (sweepXY) {
                    picture = shape;
                    setupXY();
                } else {
                    picture = 4;
                    setupY();
                }
            }
            break;
        case 3:
            if (generator) {
                spot();
                generator = false;
            }
            break;
        case 4:
            if (sweepXY) {
                sweepXY = false;
                if (generator) {
                    picture = 4;
                    width = 50;
                    setupY();
                }
                centreY();
                centreX();
            }
            break;
        case 5:
            if (!sweepXY) {
                sweepXY = true;
                if (generator) {
                    picture = shape;
                    setupXY();
                }
            }
            break;
        case 6:
        case 7:
        case 8:
            if (shape != control - 6) {
                shape = control - 6;
                if (sweepXY) {
                    picture = shape;
                }
            }
            break;
        case 9: // Центр: both offsets to 0, each re-centring
            s[2] = 0;
            centreY();
            s[1] = 0;
            centreX();
            break;
        }
    }

    void slide(int k, int value) {
        if (s[k] == value) {
            return;
        }
        s[k] = value;
        switch (k) {
        case 1:
            centreX();
            break;
        case 2:
            centreY();
            break;
        case 3:
            t3 = QString::number(value);
            setupY();
            break;
        case 4:
            t4 = QString::number(value);
            if (sweepXY) {
                setupXY();
            }
            break;
        case 5:
            text1 = QString::number(value);
            if (generator) {
                setupY();
            }
            break;
        case 6:
            text2 = QString::number(value);
            if (sweepXY && generator) {
                setupXY();
            }
            break;
        }
    }
};

} // namespace

// Hundreds of thousands of random user actions on the real panel, each
// followed by a full comparison with the reference.
class TestRandom : public QObject {
    Q_OBJECT

private slots:
    void randomLesson() {
        const quint32 seed = qEnvironmentVariableIsSet("VIRTALAB_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("VIRTALAB_SEED"))
                                 : 20261208u;
        const int actions = qEnvironmentVariableIsSet("VIRTALAB_ACTIONS")
                                ? qEnvironmentVariableIntValue("VIRTALAB_ACTIONS")
                                : 200000;
        QRandomGenerator random(seed);
        ModelRig rig;
        Panel& p = rig.p();
        Reference ref;

        QWidget* const buttons[] = {p.Опция6, p.Опция5,    p.Опция1,    p.Опция4,    p.Опция2,
                                    p.Опция3, p.signal[0], p.signal[1], p.signal[2], p.Комманда1};
        Slider* const sliders[] = {nullptr, p.sl1, p.sl2, p.sl3, p.sl4, p.sl5, p.sl6};
        const int sliderControl[] = {0, 10, 11, 13, 14, 12, 12}; // which unit enables it

        for (int step = 0; step < actions; ++step) {
            const int action = int(random.bounded(16));
            QString what;
            if (action < 10) {
                what = buttons[action]->objectName();
                QTest::mouseClick(buttons[action], Qt::LeftButton);
                ref.click(action);
            } else {
                const int k = action - 9; // 1..6
                Slider* slider = sliders[k];
                const int value =
                    slider->minimum() +
                    int(random.bounded(quint32(slider->maximum() - slider->minimum() + 1)));
                what = QStringLiteral("%1 -> %2").arg(slider->objectName()).arg(value);
                if (ref.enabled(sliderControl[k])) {
                    slider->setValue(value);
                    ref.slide(k, value);
                } else {
                    // A user's attempt on a disabled slider goes nowhere.
                    QTest::keyClick(slider, value > slider->value() ? Qt::Key_End : Qt::Key_Home);
                    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(1, 1));
                }
            }

            const auto fail = [&](const char* field) {
                return qPrintable(QStringLiteral("seed %1, action %2 (%3): %4 differs")
                                      .arg(seed)
                                      .arg(step)
                                      .arg(what, QString::fromLatin1(field)));
            };
            QVERIFY2(p.Опция6->isChecked() == ref.scope && p.Опция5->isChecked() == !ref.scope,
                     fail("oscilloscope switch"));
            QVERIFY2(p.Опция1->isChecked() == ref.generator &&
                         p.Опция4->isChecked() == !ref.generator,
                     fail("generator switch"));
            QVERIFY2(p.Опция3->isChecked() == ref.sweepXY && p.Опция2->isChecked() == !ref.sweepXY,
                     fail("sweep mode"));
            for (int i = 0; i < 3; ++i) {
                QVERIFY2(p.signal[i]->isChecked() == (ref.shape == i), fail("signal shape"));
            }
            QVERIFY2(p.Форма4->fillColor() == (ref.scope ? 65280 : 192), fail("scope lamp"));
            QVERIFY2(p.Форма2->fillColor() == (ref.generator ? 65280 : 192),
                     fail("generator lamp"));
            for (QWidget* w : {static_cast<QWidget*>(p.Опция1), static_cast<QWidget*>(p.Опция2),
                               static_cast<QWidget*>(p.Опция3), static_cast<QWidget*>(p.Опция4),
                               static_cast<QWidget*>(p.Метка1), static_cast<QWidget*>(p.Метка2),
                               static_cast<QWidget*>(p.Метка3), static_cast<QWidget*>(p.Метка7),
                               static_cast<QWidget*>(p.Текст1), static_cast<QWidget*>(p.Текст2),
                               static_cast<QWidget*>(p.sl1), static_cast<QWidget*>(p.sl2),
                               static_cast<QWidget*>(p.sl5), static_cast<QWidget*>(p.sl6),
                               static_cast<QWidget*>(p.Комманда1)}) {
                QVERIFY2(w->isEnabled() == ref.scope, fail("oscilloscope controls enabled"));
            }
            for (QWidget* w :
                 {static_cast<QWidget*>(p.signal[0]), static_cast<QWidget*>(p.signal[1]),
                  static_cast<QWidget*>(p.signal[2]), static_cast<QWidget*>(p.Метка4),
                  static_cast<QWidget*>(p.Метка5), static_cast<QWidget*>(p.Метка6),
                  static_cast<QWidget*>(p.t3), static_cast<QWidget*>(p.t4),
                  static_cast<QWidget*>(p.sl3), static_cast<QWidget*>(p.sl4)}) {
                QVERIFY2(w->isEnabled() == ref.generator, fail("generator controls enabled"));
            }
            QVERIFY2(p.Опция5->isEnabled() && p.Опция6->isEnabled(), fail("power switch enabled"));
            for (int k = 1; k <= 6; ++k) {
                QVERIFY2(sliders[k]->value() == ref.s[k], fail("slider value"));
            }
            QVERIFY2(p.t3->text() == ref.t3 && p.t4->text() == ref.t4 &&
                         p.Текст1->text() == ref.text1 && p.Текст2->text() == ref.text2,
                     fail("readouts"));
            QVERIFY2(p.ii->isHidden() == !ref.visible, fail("trace visibility"));
            QVERIFY2(rig.tracePicture() == ref.picture, fail("trace picture"));
            QVERIFY2(sameFloat(p.ii->Left(), ref.left), fail("trace left"));
            QVERIFY2(sameFloat(p.ii->Top(), ref.top), fail("trace top"));
            QVERIFY2(sameFloat(p.ii->Width(), ref.width), fail("trace width"));
            QVERIFY2(sameFloat(p.ii->Height(), ref.height), fail("trace height"));
        }
        QVERIFY(rig.errors.isEmpty());
        qInfo("%d random actions checked (seed %u)", actions, seed);
    }
};

QTEST_MAIN(TestRandom)
#include "test_random.moc"
