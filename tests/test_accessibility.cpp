// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "modelrig.h"

#include "model/screendescription.h"
#include "platform/printing/moduleprinting.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QString accessibleName(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

QString spokenDescription(const Panel& p) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(p.pole);
    return iface ? iface->text(QAccessible::Description) : QStringLiteral("<none>");
}

// Tab and the arrow keys reach only an active window.
bool activate(Panel& panel) {
    panel.activateWindow();
    return QTest::qWaitForWindowActive(&panel);
}

QWidget* focused() {
    return QApplication::focusWidget();
}

// The focus after one key press on whatever has it.
QWidget* press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* at = focused();
    QTest::keyClick(at ? at : &window, key, modifiers);
    return focused();
}

// The name a screen reader gives each control the student can operate.
const QMap<QString, QString>& spokenNames() {
    static const QMap<QString, QString> names = {
        {"Опция3", "Развертка по X и Y"},
        {"Опция2", "Развертка по Y"},
        {"sl5", "Усиление"},
        {"sl2", "Смещение по Y"},
        {"sl3", "Напряжение (В):"},
        {"sl4", "Частота (Гц):"},
        {"t3", "Напряжение (В):"},
        {"t4", "Частота (Гц):"},
        {"Опция5", "Осциллограф: Off"},
        {"Опция6", "Осциллограф: On"},
        {"sl1", "Смещение по X"},
        {"sl6", "Время/дел."},
        {"Опция1", "Генератор: On"},
        {"Опция4", "Генератор: Off"},
        {"pole", "Экран осциллографа"},
        {"Текст1", "Усиление"},
        {"Текст2", "Время/дел."},
        {"signal(0)", "Пилообразный"},
        {"signal(1)", "Синусоидальный"},
        {"signal(2)", "Прямоугольный"},
        {"Комманда1", "Центр"},
    };
    return names;
}

// The Tab stops with both units on, in the designed order; an option group
// is one stop, at its selected option.
const QStringList& bothOnChain() {
    static const QStringList chain = {
        "Опция2", "sl5", "sl2",    "sl3",  "sl4",    "t3",     "t4",        "Опция6",
        "sl1",    "sl6", "Опция1", "pole", "Текст1", "Текст2", "signal(1)", "Комманда1",
    };
    return chain;
}

// The Tab stops met in one round from the focused control.
QStringList tabRound(QWidget& window) {
    QStringList round{focused()->objectName()};
    for (int i = 0; i < 40; ++i) {
        const QString name = press(window, Qt::Key_Tab)->objectName();
        if (name == round.first()) {
            break;
        }
        round << name;
    }
    return round;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void tabChainWithBothUnitsOn();
    void shiftTabWalksBack();
    void arrowsChooseWithinAGroup();
    void everyOperableControlIsNamedAndReachable();
    void slidersAreLabelledByTheirCaptions();
    void keyboardMovesSliderAndTrace_data();
    void keyboardMovesSliderAndTrace();
    void screenDescription_data();
    void screenDescription();
    void descriptionNumbers_data();
    void descriptionNumbers();
};

// The real window, switched on by keyboard alone, then walked with Tab.
void TestAccessibility::tabChainWithBothUnitsOn() {
    RecordingSounds sounds;
    QStringList errors;
    ModulePrinting printing{QStringLiteral(VIRTALAB_MODULE_DIR)};
    MainWindow window(sounds, printing, [&errors](const QString& e) { errors << e; });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    Panel& p = window.panel();

    // The window opens on the oscilloscope's switch; the arrow switches it
    // on, and Tab goes on to the generator's switch.
    QCOMPARE(focused(), static_cast<QWidget*>(p.Опция5));
    QCOMPARE(press(window, Qt::Key_Left), static_cast<QWidget*>(p.Опция6));
    QVERIFY(p.Опция6->isChecked());
    for (int i = 0; i < 20 && focused() != p.Опция4; ++i) {
        press(window, Qt::Key_Tab);
    }
    QCOMPARE(focused(), static_cast<QWidget*>(p.Опция4));
    QCOMPARE(press(window, Qt::Key_Left), static_cast<QWidget*>(p.Опция1));
    QVERIFY(p.Опция1->isChecked());

    QStringList expected = bothOnChain();
    expected =
        expected.mid(expected.indexOf("Опция1")) + expected.first(expected.indexOf("Опция1"));
    QCOMPARE(tabRound(window), expected);
    for (const QString& name : expected) {
        QCOMPARE(accessibleName(p.findChild<QWidget*>(name)), spokenNames().value(name));
    }
    QVERIFY(errors.isEmpty());
}

void TestAccessibility::shiftTabWalksBack() {
    ModelRig rig;
    Panel& p = rig.p();
    QVERIFY(activate(p));
    rig.scopeOn();
    rig.generatorOn();
    p.Комманда1->setFocus(Qt::TabFocusReason);
    const QStringList& expected = bothOnChain();
    for (qsizetype i = expected.size() - 2; i >= 0; --i) {
        QCOMPARE(press(p, Qt::Key_Backtab, Qt::ShiftModifier)->objectName(), expected[i]);
    }
}

// The arrow keys choose within a group, and the group's Tab stop follows.
void TestAccessibility::arrowsChooseWithinAGroup() {
    ModelRig rig;
    Panel& p = rig.p();
    QVERIFY(activate(p));
    // "On" stands left of "Off".
    p.Опция5->setFocus(Qt::TabFocusReason);
    QCOMPARE(press(p, Qt::Key_Left), static_cast<QWidget*>(p.Опция6));
    QVERIFY(p.Опция6->isChecked());
    QVERIFY(!p.ii->isHidden());
    rig.generatorOn();

    p.Опция2->setFocus(Qt::TabFocusReason);
    QCOMPARE(press(p, Qt::Key_Down), static_cast<QWidget*>(p.Опция3));
    QVERIFY(p.Опция3->isChecked());
    QCOMPARE(rig.tracePicture(), 1);
    p.signal[1]->setFocus(Qt::TabFocusReason);
    QCOMPARE(press(p, Qt::Key_Down), static_cast<QWidget*>(p.signal[2]));
    QCOMPARE(rig.tracePicture(), 2);

    QStringList expected = bothOnChain();
    expected.replace(expected.indexOf("Опция2"), "Опция3");
    expected.replace(expected.indexOf("signal(1)"), "signal(2)");
    p.Опция3->setFocus(Qt::TabFocusReason);
    QCOMPARE(tabRound(p), expected);
    QVERIFY(rig.errors.isEmpty());
}

// In every power state each control the student can operate has its name
// and is reached with Tab, or with the arrows from its group's stop; Tab
// never lands on a disabled control.
void TestAccessibility::everyOperableControlIsNamedAndReachable() {
    ModelRig rig;
    Panel& p = rig.p();
    QVERIFY(activate(p));
    for (int state = 0; state < 3; ++state) {
        if (state == 1) {
            rig.scopeOn();
        } else if (state == 2) {
            rig.generatorOn();
        }
        p.Опция5->setFocus(Qt::TabFocusReason);
        if (state > 0) {
            p.Опция6->setFocus(Qt::TabFocusReason);
        }
        const QStringList round = tabRound(p);
        for (const QString& name : round) {
            QWidget* w = p.findChild<QWidget*>(name);
            QVERIFY2(w && w->isEnabled(), qPrintable(name));
        }
        for (QWidget* w : p.findChildren<QWidget*>()) {
            if (w->focusPolicy() == Qt::NoFocus || !w->isEnabled() || !w->isVisible()) {
                continue;
            }
            const QString name = w->objectName();
            QCOMPARE(accessibleName(w), spokenNames().value(name, "<not operable>"));
            bool reached = round.contains(name);
            if (auto* option = qobject_cast<QRadioButton*>(w)) {
                for (QAbstractButton* other : option->group()->buttons()) {
                    reached =
                        reached || (other->isChecked() && round.contains(other->objectName()));
                }
            }
            QVERIFY2(reached, qPrintable(name));
        }
    }
}

// A screen reader can also find each slider's caption through the label.
void TestAccessibility::slidersAreLabelledByTheirCaptions() {
    const Panel p;
    const QList<QPair<QLabel*, QWidget*>> pairs = {
        {p.Метка1, p.sl5}, {p.Метка7, p.sl6}, {p.Метка2, p.sl1},
        {p.Метка3, p.sl2}, {p.Метка4, p.sl3}, {p.Метка5, p.sl4},
    };
    for (const auto& [label, slider] : pairs) {
        QCOMPARE(label->buddy(), slider);
        QCOMPARE(accessibleName(slider), label->text());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(slider);
        bool labelled = false;
        for (const auto& [other, relation] : iface->relations(QAccessible::Label)) {
            labelled = labelled || other->object() == label;
        }
        QVERIFY2(labelled, qPrintable(label->text()));
    }
}

void TestAccessibility::keyboardMovesSliderAndTrace_data() {
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("value");
    // The trace edge or size that follows the slider, and how it must move:
    // +1 grows (down or right for an edge), -1 shrinks (up or left).
    QTest::addColumn<QString>("follows");
    QTest::addColumn<int>("sign");

    QTest::newRow("sl4 Right") << "sl4" << int(Qt::Key_Right) << 11 << "width" << -1;
    QTest::newRow("sl4 Left") << "sl4" << int(Qt::Key_Left) << 9 << "width" << 1;
    QTest::newRow("sl4 PageUp") << "sl4" << int(Qt::Key_PageUp) << 15 << "width" << -1;
    QTest::newRow("sl4 PageDown") << "sl4" << int(Qt::Key_PageDown) << 5 << "width" << 1;
    QTest::newRow("sl4 Home") << "sl4" << int(Qt::Key_Home) << 1 << "width" << 1;
    QTest::newRow("sl4 End") << "sl4" << int(Qt::Key_End) << 25 << "width" << -1;
    QTest::newRow("sl5 Right") << "sl5" << int(Qt::Key_Right) << 7 << "height" << 1;
    QTest::newRow("sl5 End") << "sl5" << int(Qt::Key_End) << 11 << "height" << 1;
    QTest::newRow("sl6 Home") << "sl6" << int(Qt::Key_Home) << 1 << "width" << -1;
    QTest::newRow("sl3 PageDown") << "sl3" << int(Qt::Key_PageDown) << 20 << "height" << -1;
    QTest::newRow("sl1 Right") << "sl1" << int(Qt::Key_Right) << 10 << "left" << 1;
    QTest::newRow("sl1 Home") << "sl1" << int(Qt::Key_Home) << -2570 << "left" << -1;
    // The Y offset's thumb runs from the top: Up moves thumb and trace up.
    QTest::newRow("sl2 Up") << "sl2" << int(Qt::Key_Up) << -10 << "top" << -1;
    QTest::newRow("sl2 Down") << "sl2" << int(Qt::Key_Down) << 10 << "top" << 1;
    QTest::newRow("sl2 PageUp") << "sl2" << int(Qt::Key_PageUp) << -100 << "top" << -1;
    QTest::newRow("sl2 PageDown") << "sl2" << int(Qt::Key_PageDown) << 100 << "top" << 1;
    QTest::newRow("sl2 Home") << "sl2" << int(Qt::Key_Home) << -2100 << "top" << -1;
    QTest::newRow("sl2 End") << "sl2" << int(Qt::Key_End) << 2100 << "top" << 1;
}

// Through the real model in the X-and-Y sweep with both units on, so every
// slider moves the trace.
void TestAccessibility::keyboardMovesSliderAndTrace() {
    QFETCH(QString, slider);
    QFETCH(int, key);
    QFETCH(int, value);
    QFETCH(QString, follows);
    QFETCH(int, sign);
    ModelRig rig;
    Panel& p = rig.p();
    QVERIFY(activate(p));
    rig.scopeOn();
    rig.sweepXY();
    rig.generatorOn();
    auto* s = p.findChild<Slider*>(slider);
    QVERIFY(s);
    s->setFocus(Qt::TabFocusReason);
    QCOMPARE(focused(), static_cast<QWidget*>(s));

    const auto measure = [&p, &follows]() -> double {
        if (follows == "width") {
            return p.ii->Width();
        }
        if (follows == "height") {
            return p.ii->Height();
        }
        return follows == "left" ? p.ii->Left() : p.ii->Top();
    };
    const double before = measure();
    const QString describedBefore = spokenDescription(p);
    QTest::keyClick(s, Qt::Key(key));
    QCOMPARE(s->value(), value);
    const double moved = measure() - before;
    QVERIFY2(moved * sign > 0, qPrintable(QString::number(moved)));
    QVERIFY(spokenDescription(p) != describedBefore);
    QVERIFY(rig.errors.isEmpty());
}

void TestAccessibility::screenDescription_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");

    QTest::newRow("off") << QStringList{} << "Осциллограф выключен";
    // Right after switching on: the short stroke at the trace's first
    // place, a little off the axes' crossing.
    QTest::newRow("stroke at switch-on")
        << QStringList{"scope on"}
        << "Луч: вертикальная линия высотой 0,4 деления, на 0,3 деления правее и на 0,1 "
           "деления ниже центра экрана";
    QTest::newRow("spot") << QStringList{"scope on", "generator on", "generator off"}
                          << "Луч: точка, в центре экрана";
    QTest::newRow("spot moved") << QStringList{"scope on", "generator on", "generator off",
                                               "sl1 240", "sl2 -600"}
                                << "Луч: точка, на 2 деления правее и на 5 делений выше "
                                   "центра экрана";
    QTest::newRow("spot beyond the top")
        << QStringList{"scope on", "generator on", "generator off", "sl2 -2100"}
        << "Луч за пределами экрана";
    QTest::newRow("spot on the left edge")
        << QStringList{"scope on", "generator on", "generator off", "sl1 -2570"}
        << "Луч: точка, на 21,4 деления левее центра экрана, выходит за край экрана";
    // Switched on in the sweep along Y the stroke keeps its width and its
    // left edge; choosing the sweep again centres it.
    QTest::newRow("stroke, sweep along Y")
        << QStringList{"scope on", "generator on"}
        << "Луч: вертикальная линия высотой 17,5 деления, на 0,3 деления правее центра экрана";
    QTest::newRow("stroke, sweep along Y chosen")
        << QStringList{"scope on", "generator on", "sweep XY", "sweep Y"}
        << "Луч: вертикальная линия высотой 17,5 деления, в центре экрана";
    QTest::newRow("stroke taller than the screen")
        << QStringList{"scope on", "generator on", "sweep XY", "sweep Y", "sl5 11", "sl3 50"}
        << "Луч: вертикальная линия высотой 64,2 деления, в центре экрана, выходит за край "
           "экрана";
    QTest::newRow("voltage 0") << QStringList{"scope on", "generator on", "sweep Y", "sl3 0"}
                               << "Луч не виден";
    QTest::newRow("sine") << QStringList{"scope on", "sweep XY", "generator on"}
                          << "Синусоидальный сигнал: на экране 14,3 периода, длина периода 3 "
                             "деления, размах 16,4 деления, в центре экрана";
    QTest::newRow("sawtooth") << QStringList{"scope on", "sweep XY", "generator on", "signal 0"}
                              << "Пилообразный сигнал: на экране 15,3 периода, длина периода "
                                 "2,8 деления, размах 15,9 деления, в центре экрана";
    QTest::newRow("rectangle") << QStringList{"scope on", "sweep XY", "generator on", "signal 2"}
                               << "Прямоугольный сигнал: на экране 7,6 периода, длина периода "
                                  "5,5 деления, размах 15,9 деления, в центре экрана";
    // Narrower than the screen: every period is in sight.
    QTest::newRow("sine, all periods")
        << QStringList{"scope on", "sweep XY", "generator on", "sl6 1", "sl4 25"}
        << "Синусоидальный сигнал: на экране 56 периодов, длина периода 0,2 деления, размах "
           "16,4 деления, в центре экрана";
    QTest::newRow("sine, lowered")
        << QStringList{"scope on", "sweep XY", "generator on", "sl2 1200"}
        << "Синусоидальный сигнал: на экране 14,3 периода, длина периода 3 деления, размах "
           "16,4 деления, на 10 делений ниже центра экрана, выходит за край экрана";
    QTest::newRow("off again") << QStringList{"scope on", "sweep XY", "generator on", "scope off"}
                               << "Осциллограф выключен";
}

void TestAccessibility::screenDescription() {
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);
    ModelRig rig;
    Panel& p = rig.p();
    for (const QString& step : steps) {
        const QStringList words = step.split(' ');
        if (step == "scope on") {
            rig.scopeOn();
        } else if (step == "scope off") {
            rig.scopeOff();
        } else if (step == "generator on") {
            rig.generatorOn();
        } else if (step == "generator off") {
            rig.generatorOff();
        } else if (step == "sweep Y") {
            rig.sweepY();
        } else if (step == "sweep XY") {
            rig.sweepXY();
        } else if (words[0] == "signal") {
            p.signal[words[1].toUInt()]->setChecked(true);
        } else {
            auto* slider = p.findChild<Slider*>(words[0]);
            QVERIFY2(slider, qPrintable(step));
            slider->setValue(words[1].toInt());
            QCOMPARE(slider->value(), words[1].toInt());
        }
    }
    QCOMPARE(spokenDescription(p), expected);
    QVERIFY(rig.errors.isEmpty());
}

// Counts in every grammatical form, from made-up traces.
void TestAccessibility::descriptionNumbers_data() {
    QTest::addColumn<int>("picture");
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<QString>("expected");
    const auto stroke = [](double height) { return QRectF(2545, 2050 - height / 2, 50, height); };
    QTest::newRow("1") << 4 << stroke(120) << "высотой 1 деление,";
    QTest::newRow("2") << 4 << stroke(240) << "высотой 2 деления,";
    QTest::newRow("5") << 4 << stroke(600) << "высотой 5 делений,";
    QTest::newRow("11") << 4 << stroke(1320) << "высотой 11 делений,";
    QTest::newRow("12") << 4 << stroke(1440) << "высотой 12 делений,";
    QTest::newRow("21") << 4 << stroke(2520) << "высотой 21 деление,";
    QTest::newRow("22") << 4 << stroke(2640) << "высотой 22 деления,";
    QTest::newRow("1.5") << 4 << stroke(180) << "высотой 1,5 деления,";
    QTest::newRow("0.96 rounds to 1") << 4 << stroke(115) << "высотой 1 деление,";
    // The sawtooth's 60 teeth: 21 of them on a screen that shows 21 widths.
    QTest::newRow("21 periods") << 0 << QRectF(0, 1000, 5085.0 * 60 / 21 * 1778 / 1775, 2100)
                                << "на экране 21 период,";
    QTest::newRow("2 periods") << 2 << QRectF(0, 1000, 5085.0 * 30 / 2 * 1778 / 1775, 2100)
                               << "на экране 2 периода,";
    QTest::newRow("zero width") << 1 << QRectF(0, 1000, 0, 2100) << "Луч не виден";
    QTest::newRow("no picture") << -1 << QRectF(0, 1000, 50, 2100) << "Луч не виден";
    QTest::newRow("right of the screen")
        << 3 << QRectF(5085, 2025, 70, 50) << "Луч за пределами экрана";
}

void TestAccessibility::descriptionNumbers() {
    QFETCH(int, picture);
    QFETCH(QRectF, rect);
    QFETCH(QString, expected);
    const QString text = screentext::describe({true, picture, rect}, QSizeF(5085, 4050));
    QVERIFY2(text.contains(expected), qPrintable(text));
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
