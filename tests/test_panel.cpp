// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/imagecontrol.h"
#include "panel/linecontrol.h"
#include "panel/panel.h"
#include "panel/shapecontrol.h"
#include "panel/slider.h"
#include "panel/twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTextLayout>
#include <algorithm>
#include <vector>

namespace {

// The window's face: Windows' own "Microsoft Sans Serif", elsewhere its
// metric stand-in.
#ifdef Q_OS_WIN
const QString windowFace = QStringLiteral("Microsoft Sans Serif");
#else
const QString windowFace = QStringLiteral("Liberation Sans");
#endif

enum State { Disabled = 1, Selected = 2, Hidden = 4 };

using Member = QWidget* (*)(const Panel&);
#define MEMBER(m) [](const Panel& p) -> QWidget* { return p.m; }

// Every control as laid out: name, class, container ("" is the panel itself),
// Left, Top, Width, Height in twips (end points for lines), caption or text,
// initial state and tab place (-1: none).
struct Control {
    const char* name;
    const char* kind;
    const char* container;
    int left, top, width, height;
    const char* text;
    int state;
    int tab;
    Member member;
};

const std::vector<Control>& controls() {
    static const std::vector<Control> table = {
        {"Комманда1", "QPushButton", "", 7800, 4440, 735, 375, "&Центр", Disabled, 34,
         MEMBER(Комманда1)},
        {"Рамка7", "QGroupBox", "", 120, 3360, 2175, 1695, "", 0, 29, MEMBER(Рамка7)},
        {"pole", "QFrame", "", 2400, 50, 5145, 4100, "", 0, 26, MEMBER(pole)},
        {"Рамка3", "QGroupBox", "", 120, 5040, 8655, 1335, "", 0, 7, MEMBER(Рамка3)},
        {"Рамка2", "QGroupBox", "", 7680, 0, 1095, 4215, "", 0, 5, MEMBER(Рамка2)},
        {"Рамка1", "QGroupBox", "", 120, 0, 2175, 3375, "", 0, 0, MEMBER(Рамка1)},
        {"Рамка5", "QGroupBox", "", 2400, 4200, 5175, 855, "", 0, 17, MEMBER(Рамка5)},
        {"i1(4)", "ImageControl", "", 720, 7440, 30, 300, "", 0, -1, MEMBER(i1[4])},
        {"i1(3)", "ImageControl", "", 240, 7440, 45, 45, "", 0, -1, MEMBER(i1[3])},
        {"i1(2)", "ImageControl", "", 120, 7080, 8505, 195, "", 0, -1, MEMBER(i1[2])},
        {"i1(1)", "ImageControl", "", 120, 6840, 8505, 195, "", 0, -1, MEMBER(i1[1])},
        {"i1(0)", "ImageControl", "", 120, 6600, 8500, 200, "", 0, -1, MEMBER(i1[0])},
        {"Изображение5", "ImageControl", "", 7560, 0, 45, 4215, "", 0, -1, MEMBER(Изображение5)},
        {"Изображение4", "ImageControl", "", 2350, 0, 45, 4215, "", 0, -1, MEMBER(Изображение4)},
        {"Изображение3", "ImageControl", "", 2400, 4150, 5175, 45, "", 0, -1, MEMBER(Изображение3)},
        {"Изображение2", "ImageControl", "", 2400, 0, 5175, 40, "", 0, -1, MEMBER(Изображение2)},

        {"pp", "QGroupBox", "Рамка1", 120, 120, 1695, 735, "", 0, 14, MEMBER(pp)},
        {"Опция2", "QRadioButton", "Рамка1", 120, 960, 1815, 375, "Развертка по Y",
         Disabled | Selected, 2, MEMBER(Опция2)},
        {"Опция3", "QRadioButton", "Рамка1", 120, 1320, 1935, 375, "Развертка по X и Y", Disabled,
         1, MEMBER(Опция3)},
        {"Метка1", "QLabel", "Рамка1", 240, 1800, 750, 195, "Усиление", Disabled, 4,
         MEMBER(Метка1)},
        {"Текст1", "QLineEdit", "Рамка1", 1320, 1800, 615, 285, "6", Disabled, 27, MEMBER(Текст1)},
        {"sl5", "Slider", "Рамка1", 120, 2050, 1995, 405, "", Disabled, 3, MEMBER(sl5)},
        {"Метка7", "QLabel", "Рамка1", 240, 2520, 885, 195, "Время/дел.", Disabled, 22,
         MEMBER(Метка7)},
        {"Текст2", "QLineEdit", "Рамка1", 1320, 2520, 615, 285, "6", Disabled, 28, MEMBER(Текст2)},
        {"sl6", "Slider", "Рамка1", 120, 2800, 1995, 405, "", Disabled, 21, MEMBER(sl6)},

        {"Опция6", "QRadioButton", "pp", 600, 240, 495, 375, "On", 0, 16, MEMBER(Опция6)},
        {"Опция5", "QRadioButton", "pp", 1080, 240, 495, 375, "Off", Selected, 15, MEMBER(Опция5)},
        {"Форма4", "ShapeControl", "pp", 120, 360, 375, 135, "", 0, -1, MEMBER(Форма4)},

        {"signal(2)", "QRadioButton", "Рамка7", 120, 1320, 1815, 255, "Прямоугольный", Disabled, 32,
         MEMBER(signal[2])},
        {"signal(1)", "QRadioButton", "Рамка7", 120, 1080, 1815, 255, "Синусоидальный",
         Disabled | Selected, 31, MEMBER(signal[1])},
        {"signal(0)", "QRadioButton", "Рамка7", 120, 840, 1695, 255, "Пилообразный", Disabled, 30,
         MEMBER(signal[0])},
        {"Метка6", "QLabel", "Рамка7", 240, 240, 1815, 495, "Вид подаваемого сигнала:", Disabled,
         33, MEMBER(Метка6)},

        {"Строка2", "LineControl", "pole", 0, 2050, 5040, 2050, "", 0, -1, MEMBER(Строка2)},
        {"Строка1", "LineControl", "pole", 2570, 0, 2570, 4080, "", 0, -1, MEMBER(Строка1)},
        {"SpriteControl1", "QWidget", "pole", 0, 0, 5055, 4095, "", 0, 35, MEMBER(SpriteControl1)},
        {"ii", "ImageControl", "pole", 2565, 2040, 1575, 1335, "", Hidden, -1, MEMBER(ii)},
        {"Изображение7", "ImageControl", "pole", 0, 0, 5145, 4200, "", 0, -1, MEMBER(Изображение7)},

        {"sl2", "Slider", "Рамка2", 240, 120, 495, 3615, "", Disabled, 6, MEMBER(sl2)},
        {"Метка3", "QLabel", "Рамка2", 120, 3720, 855, 375, "Смещение по Y", Disabled, 19,
         MEMBER(Метка3)},

        {"sl1", "Slider", "Рамка5", 1080, 240, 3855, 495, "", Disabled, 18, MEMBER(sl1)},
        {"Метка2", "QLabel", "Рамка5", 120, 240, 855, 375, "Смещение по X", Disabled, 20,
         MEMBER(Метка2)},

        {"Рамка6", "QGroupBox", "Рамка3", 120, 120, 1695, 735, "", 0, 23, MEMBER(Рамка6)},
        {"t4", "QLineEdit", "Рамка3", 3360, 720, 615, 285, "10", Disabled, 13, MEMBER(t4)},
        {"t3", "QLineEdit", "Рамка3", 3360, 360, 615, 285, "25", Disabled, 11, MEMBER(t3)},
        {"sl3", "Slider", "Рамка3", 4080, 240, 4500, 495, "", Disabled, 8, MEMBER(sl3)},
        {"sl4", "Slider", "Рамка3", 4080, 720, 4500, 495, "", Disabled, 9, MEMBER(sl4)},
        {"Метка5", "QLabel", "Рамка3", 2160, 720, 1095, 255, "Частота (Гц):", Disabled, 12,
         MEMBER(Метка5)},
        {"Метка4", "QLabel", "Рамка3", 2040, 360, 1335, 255, "Напряжение (В):", Disabled, 10,
         MEMBER(Метка4)},

        {"Опция4", "QRadioButton", "Рамка6", 1080, 240, 495, 375, "Off", Disabled | Selected, 25,
         MEMBER(Опция4)},
        {"Опция1", "QRadioButton", "Рамка6", 600, 240, 495, 375, "On", Disabled, 24,
         MEMBER(Опция1)},
        {"Форма2", "ShapeControl", "Рамка6", 120, 360, 375, 135, "", 0, -1, MEMBER(Форма2)},
    };
    return table;
}

// The screen's sunken border; its children measure from inside it.
constexpr int screenBorder = 2;

bool takesFocus(const QString& kind) {
    return kind == "QPushButton" || kind == "QRadioButton" || kind == "QLineEdit" ||
           kind == "Slider" || kind == "QFrame";
}

QString textOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        return edit->text();
    }
    return {};
}

QWidget* byName(const Panel& panel, const QString& name) {
    return panel.findChild<QWidget*>(name);
}

// A slider's style option as the slider itself would fill it, with the thumb
// at the given value.
QStyleOptionSlider sliderOption(const QSlider& slider, int value) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    option.tickPosition = slider.tickPosition();
    option.tickInterval = slider.tickInterval();
    option.upsideDown = slider.orientation() == Qt::Horizontal ? slider.invertedAppearance()
                                                               : !slider.invertedAppearance();
    option.subControls = QStyle::SC_All;
    return option;
}

void mouseDrag(QWidget* w, QPoint from, QPoint to) {
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

} // namespace

class TestPanel : public QObject {
    Q_OBJECT

private slots:
    void size();
    void control_data();
    void control();
    void tabChain();
    void tabbingSkipsDisabled();
    void optionGroups_data();
    void optionGroups();
    void sliders_data();
    void sliders();
    void sliderDirection_data();
    void sliderDirection();
    void captionsFit_data();
    void captionsFit();
    void screen();
    void spriteDrawsNothing();
    void pictures();
};

void TestPanel::size() {
    const Panel panel;
    QCOMPARE(panel.size(), QSize(594, 533));
    QCOMPARE(panel.font().family(), windowFace);
    QCOMPARE(panel.font().pointSizeF(), 8.0);
    // Every named control is in the table, and every row is unique.
    QStringList named;
    for (const QWidget* w : panel.findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QStringLiteral("qt_"))) {
            named << w->objectName();
        }
    }
    QStringList expected;
    for (const Control& c : controls()) {
        expected << QString::fromUtf8(c.name);
    }
    named.sort();
    expected.sort();
    QCOMPARE(named, expected);
}

void TestPanel::control_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(controls().size()); ++i) {
        QTest::newRow(controls()[i].name) << i;
    }
}

void TestPanel::control() {
    QFETCH(int, row);
    const Control& c = controls()[row];
    const QString kind = QString::fromUtf8(c.kind);
    const Panel panel;

    QWidget* w = c.member(panel);
    QVERIFY(w);
    QCOMPARE(w->objectName(), QString::fromUtf8(c.name));
    QCOMPARE(panel.findChildren<QWidget*>(QString::fromUtf8(c.name)).size(), 1);
    QCOMPARE(QString::fromUtf8(w->metaObject()->className()), kind);
    const QWidget* container =
        *c.container ? byName(panel, QString::fromUtf8(c.container)) : &panel;
    QVERIFY(container);
    QCOMPARE(w->parentWidget(), container);

    if (kind == "ImageControl") {
        const auto* image = static_cast<ImageControl*>(w);
        QCOMPARE(image->Left(), float(c.left));
        QCOMPARE(image->Top(), float(c.top));
        QCOMPARE(image->Width(), float(c.width));
        QCOMPARE(image->Height(), float(c.height));
    } else if (kind == "LineControl") {
        const auto* line = static_cast<LineControl*>(w);
        QCOMPARE(QRect(QPoint(line->x1(), line->y1()), QPoint(line->x2(), line->y2())),
                 QRect(QPoint(c.left, c.top), QPoint(c.width, c.height)));
        QCOMPARE(line->color(), 16777215);
    } else if (kind == "QFrame") {
        const QRect outer = twips::rect(c.left, c.top, c.width, c.height);
        QCOMPARE(w->geometry(),
                 outer.adjusted(screenBorder, screenBorder, -screenBorder, -screenBorder));
    } else {
        QCOMPARE(w->geometry(), twips::rect(c.left, c.top, c.width, c.height));
    }

    QCOMPARE(textOf(w), QString::fromUtf8(c.text));
    QCOMPARE(w->isEnabled(), !(c.state & Disabled));
    QCOMPARE(w->isHidden(), bool(c.state & Hidden));
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        QCOMPARE(button->isChecked(), bool(c.state & Selected));
    }
    if (const auto* lamp = qobject_cast<const ShapeControl*>(w)) {
        QCOMPARE(lamp->fillColor(), 192);
        QCOMPARE(lamp->borderColor(), 8421504);
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        QVERIFY(edit->isReadOnly());
    }
    if (qobject_cast<const QRadioButton*>(w)) {
        // An option group is one Tab stop, at its selected option.
        QVERIFY(w->focusPolicy() & Qt::ClickFocus);
        QCOMPARE(bool(w->focusPolicy() & Qt::TabFocus), bool(c.state & Selected));
    } else if (takesFocus(kind)) {
        QVERIFY(w->focusPolicy() & Qt::TabFocus);
    } else {
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
    }
}

void TestPanel::tabChain() {
    std::vector<const Control*> stops;
    for (const Control& c : controls()) {
        if (c.tab >= 0 && takesFocus(QString::fromUtf8(c.kind))) {
            stops.push_back(&c);
        }
    }
    std::sort(stops.begin(), stops.end(), [](auto* a, auto* b) { return a->tab < b->tab; });
    QStringList expected;
    for (const Control* c : stops) {
        expected << QString::fromUtf8(c->name);
    }

    // Every tab place is used once, 0 to 35.
    std::vector<int> places;
    for (const Control& c : controls()) {
        if (c.tab >= 0) {
            places.push_back(c.tab);
        }
    }
    std::sort(places.begin(), places.end());
    QCOMPARE(places.size(), std::size_t(36));
    for (int i = 0; i < 36; ++i) {
        QCOMPARE(places[i], i);
    }

    const Panel panel;
    QStringList chain;
    for (QWidget* w = panel.nextInFocusChain(); w != &panel; w = w->nextInFocusChain()) {
        if (panel.isAncestorOf(w) && w->focusPolicy() != Qt::NoFocus) {
            chain << w->objectName();
        }
    }
    QCOMPARE(chain, expected);
}

void TestPanel::tabbingSkipsDisabled() {
    Panel panel;
    panel.show();
    panel.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    QSet<QString> visited;
    for (int i = 0; i < 20; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &panel, Qt::Key_Tab);
        focus = QApplication::focusWidget();
        QVERIFY(focus);
        QVERIFY2(focus->isEnabled(), qPrintable(focus->objectName()));
        visited << focus->objectName();
    }
    // Only the oscilloscope's switch and the screen can take the focus at start.
    const QSet<QString> allowed{"Опция5", "Опция6", "pole"};
    QVERIFY2(visited.contains("Опция5") || visited.contains("Опция6"),
             qPrintable(visited.values().join(',')));
    QVERIFY2((visited - allowed).isEmpty(), qPrintable(visited.values().join(',')));
}

void TestPanel::optionGroups_data() {
    QTest::addColumn<QString>("option");
    for (const char* name : {"Опция6", "Опция5", "Опция1", "Опция4", "Опция2", "Опция3",
                             "signal(0)", "signal(1)", "signal(2)"}) {
        QTest::newRow(name) << QString::fromUtf8(name);
    }
}

void TestPanel::optionGroups() {
    QFETCH(QString, option);
    const QList<QStringList> groups = {{"Опция6", "Опция5"},
                                       {"Опция1", "Опция4"},
                                       {"Опция2", "Опция3"},
                                       {"signal(0)", "signal(1)", "signal(2)"}};
    const QStringList initial = {"Опция5", "Опция4", "Опция2", "signal(1)"};
    const Panel panel;
    auto* chosen = qobject_cast<QRadioButton*>(byName(panel, option));
    QVERIFY(chosen);
    chosen->setChecked(true);

    for (int g = 0; g < groups.size(); ++g) {
        const QString expected = groups[g].contains(option) ? option : initial[g];
        for (const QString& name : groups[g]) {
            const auto* button = qobject_cast<QRadioButton*>(byName(panel, name));
            QVERIFY(button);
            QCOMPARE(button->isChecked(), name == expected);
        }
    }
}

void TestPanel::sliders_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("readout");
    QTest::newRow("sl1") << "sl1" << Qt::Horizontal << -2570 << 2570 << 0 << "";
    QTest::newRow("sl2") << "sl2" << Qt::Vertical << -2100 << 2100 << 0 << "";
    QTest::newRow("sl3") << "sl3" << Qt::Horizontal << 0 << 50 << 25 << "t3";
    QTest::newRow("sl4") << "sl4" << Qt::Horizontal << 1 << 25 << 10 << "t4";
    QTest::newRow("sl5") << "sl5" << Qt::Horizontal << 1 << 11 << 6 << "Текст1";
    QTest::newRow("sl6") << "sl6" << Qt::Horizontal << 1 << 8 << 6 << "Текст2";
}

void TestPanel::sliders() {
    QFETCH(QString, name);
    QFETCH(Qt::Orientation, orientation);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(QString, readout);
    const Panel panel;
    const auto* slider = qobject_cast<Slider*>(byName(panel, name));
    QVERIFY(slider);
    QCOMPARE(slider->orientation(), orientation);
    QCOMPARE(slider->minimum(), minimum);
    QCOMPARE(slider->maximum(), maximum);
    QCOMPARE(slider->value(), value);
    QVERIFY(slider->singleStep() >= 1);
    QVERIFY(slider->pageStep() >= slider->singleStep());
    QVERIFY(slider->pageStep() <= maximum - minimum);
    if (!readout.isEmpty()) {
        const auto* edit = qobject_cast<QLineEdit*>(byName(panel, readout));
        QVERIFY(edit);
        QCOMPARE(edit->text(), QString::number(slider->value()));
    }
}

// What a student does to a slider, and which way its value must go.
void TestPanel::sliderDirection_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("sign");
    QTest::newRow("sl2 drag down") << "sl2"
                                   << "drag 0 60" << 1;
    QTest::newRow("sl2 drag up") << "sl2"
                                 << "drag 0 -60" << -1;
    QTest::newRow("sl2 key down") << "sl2"
                                  << "key Down" << 1;
    QTest::newRow("sl2 key up") << "sl2"
                                << "key Up" << -1;
    QTest::newRow("sl2 page down") << "sl2"
                                   << "key PageDown" << 1;
    QTest::newRow("sl2 page up") << "sl2"
                                 << "key PageUp" << -1;
    QTest::newRow("sl1 drag right") << "sl1"
                                    << "drag 60 0" << 1;
    QTest::newRow("sl1 drag left") << "sl1"
                                   << "drag -60 0" << -1;
    QTest::newRow("sl1 key right") << "sl1"
                                   << "key Right" << 1;
    QTest::newRow("sl3 key left") << "sl3"
                                  << "key Left" << -1;
}

void TestPanel::sliderDirection() {
    QFETCH(QString, name);
    QFETCH(QString, action);
    QFETCH(int, sign);
    Panel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    auto* slider = qobject_cast<Slider*>(byName(panel, name));
    QVERIFY(slider);
    slider->setEnabled(true);
    const int start = slider->value();

    const QStringList words = action.split(' ');
    if (words[0] == "drag") {
        const QStyleOptionSlider option = sliderOption(*slider, start);
        const QPoint thumb =
            slider->style()
                ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
                .center();
        const QPoint by(words[1].toInt(), words[2].toInt());
        mouseDrag(slider, thumb, thumb + by);
    } else {
        const QMap<QString, Qt::Key> keys{
            {"Up", Qt::Key_Up},       {"Down", Qt::Key_Down},     {"Left", Qt::Key_Left},
            {"Right", Qt::Key_Right}, {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown}};
        QTest::keyClick(slider, keys.value(words[1]));
    }
    QVERIFY2((slider->value() - start) * sign > 0, qPrintable(QString::number(slider->value())));

    // The thumb ends up on the side the student moved it to: at the minimum it
    // sits at the top (left), at the maximum at the bottom (right).
    const auto handle = [slider](int value) {
        const QStyleOptionSlider option = sliderOption(*slider, value);
        return slider->style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
            .center();
    };
    const QPoint low = handle(slider->minimum());
    const QPoint high = handle(slider->maximum());
    if (slider->orientation() == Qt::Vertical) {
        QVERIFY(low.y() < high.y());
    } else {
        QVERIFY(low.x() < high.x());
    }
}

void TestPanel::captionsFit_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lines");
    for (const Control& c : controls()) {
        const QString kind = QString::fromUtf8(c.kind);
        if (kind == "QLabel" || kind == "QRadioButton" || kind == "QPushButton" ||
            kind == "QLineEdit") {
            const QString name = QString::fromUtf8(c.name);
            const bool twoLines = name == "Метка2" || name == "Метка3" || name == "Метка6";
            QTest::newRow(c.name) << name << (twoLines ? 2 : 1);
        }
    }
}

void TestPanel::captionsFit() {
    QFETCH(QString, name);
    QFETCH(int, lines);
    Panel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    const QWidget* w = byName(panel, name);
    QVERIFY(w);
    const QFontMetrics metrics(w->font());
    QCOMPARE(QFontInfo(w->font()).family(), windowFace);
    const QString text = textOf(w);

    if (qobject_cast<const QLabel*>(w)) {
        // Wrapped as the label wraps it; every line fits the width and the
        // ink of the last line ends inside the label.
        QTextLayout layout(text, w->font());
        layout.beginLayout();
        qreal y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(w->width());
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout.endLayout();
        QCOMPARE(layout.lineCount(), lines);
        for (int i = 0; i < layout.lineCount(); ++i) {
            QVERIFY2(layout.lineAt(i).naturalTextWidth() <= w->width(), qPrintable(text));
        }
        const QTextLine last = layout.lineAt(layout.lineCount() - 1);
        const QRect ink = metrics.tightBoundingRect(text.mid(last.textStart(), last.textLength()));
        QVERIFY2(last.y() + last.ascent() + ink.bottom() < w->height(), qPrintable(text));
    } else if (const auto* option = qobject_cast<const QRadioButton*>(w);
               option && !option->parentWidget()->findChild<ShapeControl*>()) {
        QVERIFY2(w->sizeHint().width() <= w->width(), qPrintable(text));
        QVERIFY(metrics.height() <= w->height());
    } else {
        // Readouts, the centre button and the power switches: the text
        // centred or left-aligned with a little room to spare.
        QVERIFY2(metrics.horizontalAdvance(text) + 8 <= w->width(), qPrintable(text));
        QVERIFY(metrics.height() <= w->height());
    }
}

void TestPanel::screen() {
    Panel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    // Back to front: the background, the trace, the sprite, the two axes.
    QStringList stacking;
    for (const QObject* child : panel.pole->children()) {
        if (child->isWidgetType()) {
            stacking << child->objectName();
        }
    }
    QCOMPARE(stacking, QStringList({"Изображение7", "ii", "SpriteControl1", "Строка1", "Строка2"}));

    // The axes cross at (2570, 2050) twips of the drawing area, inside the border.
    const QRect outer = twips::rect(2400, 50, 5145, 4100);
    const QPoint crossing = outer.topLeft() + QPoint(screenBorder, screenBorder) +
                            QPoint(twips::toPx(2570), twips::toPx(2050));
    QCOMPARE(panel.Строка1->mapTo(&panel, QPoint(0, 0)).x(), crossing.x());
    QCOMPARE(panel.Строка2->mapTo(&panel, QPoint(0, 0)).y(), crossing.y());
    const QImage image = panel.grab().toImage();
    QCOMPARE(image.pixelColor(crossing), QColor(Qt::white));

    // The sunken border is drawn around the drawing area.
    const QColor background = image.pixelColor(outer.topLeft() - QPoint(1, 1));
    for (const QPoint corner :
         {outer.topLeft(), outer.bottomRight(), QPoint(outer.center().x(), outer.top()),
          QPoint(outer.left(), outer.center().y())}) {
        QVERIFY(image.pixelColor(corner) != background);
    }
}

void TestPanel::spriteDrawsNothing() {
    Panel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QVERIFY(panel.SpriteControl1->testAttribute(Qt::WA_TransparentForMouseEvents));
    const QImage with = panel.pole->grab().toImage();
    panel.SpriteControl1->hide();
    const QImage without = panel.pole->grab().toImage();
    QCOMPARE(with, without);
}

void TestPanel::pictures() {
    const Panel panel;
    QVERIFY(!panel.ii->picture());
    QVERIFY(panel.ii->stretch());
    QVERIFY(!panel.Изображение7->stretch());
    for (const ImageControl* image :
         {panel.Изображение2, panel.Изображение3, panel.Изображение4, panel.Изображение5}) {
        QVERIFY(image->stretch());
    }
    // The source pictures lie below the part of the panel the window shows.
    for (const ImageControl* image : panel.i1) {
        QVERIFY(image->stretch());
        QVERIFY(image->isVisibleTo(&panel));
        QVERIFY(image->pixelRect().top() >= twips::toPxF(6600));
    }
}

QTEST_MAIN(TestPanel)
#include "test_panel.moc"
