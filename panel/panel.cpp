// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel.h"

#include "panel/designed.h"
#include "panel/imagecontrol.h"
#include "panel/linecontrol.h"
#include "panel/shapecontrol.h"
#include "panel/slider.h"
#include "panel/twips.h"
#include "platform/fonts.h"

#include <QButtonGroup>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <qdrawutil.h>
#include <utility>
#include <vector>

namespace {

// Width of the screen's sunken border in pixels; the drawing area lies inside.
constexpr int screenBorder = 2;

// Initial state flags of a control; a control is enabled, shown and not
// selected unless flagged otherwise.
enum State { Enabled = 0, Disabled = 1, Selected = 2 };

// A frame with no title: only its etched outline, whatever the style.
class EtchedFrame : public QGroupBox {
public:
    explicit EtchedFrame(QWidget* parent) : QGroupBox(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        // Beneath a slider or a readout that changes, only the inside of the
        // frame is exposed, and there is nothing to draw there.
        const QRegion outline = QRegion(rect()).subtracted(rect().adjusted(2, 2, -2, -2));
        if (outline.intersected(event->region()).isEmpty()) {
            return;
        }
        QPainter painter(this);
        qDrawShadeRect(&painter, rect(), palette(), true, 1);
    }
};

// An option drawn as a small push button that stays down while selected:
// the power switches are too narrow for an indicator beside their caption.
class SwitchButton : public QRadioButton {
public:
    SwitchButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

    void paintEvent(QPaintEvent*) override {
        QStyleOptionButton option;
        option.initFrom(this);
        option.text = text();
        option.state |= isChecked() || isDown() ? QStyle::State_Sunken | QStyle::State_On
                                                : QStyle::State_Raised;
        QPainter painter(this);
        style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
    }
};

// Creates controls at their designed twips and remembers their tab places,
// so that each control reads as one line of its table.
class Builder {
public:
    QGroupBox* frame(QWidget* parent, const char* name, int l, int t, int w, int h, int tab) {
        auto* frame = place(new EtchedFrame(parent), name, l, t, w, h, tab);
        frame->setFocusPolicy(Qt::NoFocus);
        return frame;
    }

    QRadioButton* option(QWidget* parent, const char* name, int l, int t, int w, int h,
                         const QString& caption, int state, int tab) {
        return group(place(new QRadioButton(caption, parent), name, l, t, w, h, tab), state);
    }

    QRadioButton* powerOption(QWidget* parent, const char* name, int l, int t, int w, int h,
                              const QString& caption, int state, int tab) {
        return group(place(new SwitchButton(caption, parent), name, l, t, w, h, tab), state);
    }

    QLabel* label(QWidget* parent, const char* name, int l, int t, int w, int h,
                  const QString& caption, int state, int tab) {
        auto* label = place(new QLabel(caption, parent), name, l, t, w, h, tab);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        label->setFocusPolicy(Qt::NoFocus);
        label->setEnabled(!(state & Disabled));
        return label;
    }

    QLineEdit* textBox(QWidget* parent, const char* name, int l, int t, int w, int h,
                       const QString& text, int state, int tab) {
        auto* box = place(new QLineEdit(text, parent), name, l, t, w, h, tab);
        // A readout: the program writes it, nothing reads it back.
        box->setReadOnly(true);
        box->setEnabled(!(state & Disabled));
        return box;
    }

    QPushButton* button(QWidget* parent, const char* name, int l, int t, int w, int h,
                        const QString& caption, int state, int tab) {
        auto* button = place(new QPushButton(caption, parent), name, l, t, w, h, tab);
        button->setAutoDefault(false);
        button->setEnabled(!(state & Disabled));
        return button;
    }

    Slider* slider(QWidget* parent, const char* name, Qt::Orientation orientation, int l, int t,
                   int w, int h, int tab) {
        return place(new Slider(orientation, parent), name, l, t, w, h, tab);
    }

    // Images keep their rectangle in float twips, so they place themselves.
    static ImageControl* image(QWidget* parent, const char* name, float l, float t, float w,
                               float h) {
        auto* image = new ImageControl(parent);
        image->setObjectName(QString::fromUtf8(name));
        image->setTwips(l, t, w, h);
        image->setFocusPolicy(Qt::NoFocus);
        return image;
    }

    static ShapeControl* lamp(QWidget* parent, const char* name, int l, int t, int w, int h) {
        auto* lamp = new ShapeControl(parent);
        lamp->setObjectName(QString::fromUtf8(name));
        lamp->setGeometry(twips::rect(l, t, w, h));
        lamp->setBorderColor(designed::colour::grey);
        lamp->setFillColor(designed::lampOff);
        lamp->setFocusPolicy(Qt::NoFocus);
        return lamp;
    }

    static LineControl* line(QWidget* parent, const char* name, int x1, int y1, int x2, int y2) {
        auto* line = new LineControl(parent);
        line->setObjectName(QString::fromUtf8(name));
        line->setLine(x1, y1, x2, y2);
        line->setColor(designed::colour::white);
        line->setFocusPolicy(Qt::NoFocus);
        return line;
    }

    // Chains every control that can take the focus in the designed tab
    // order; the others keep their place in the numbering only.
    // The chain starts right after the panel, so that the first Tab from the
    // window goes to the lowest place; Qt only links widgets that take the
    // focus, hence the panel's brief focus policy.
    void chainTabOrder(QWidget* panel) {
        std::sort(m_tabs.begin(), m_tabs.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        const Qt::FocusPolicy own = panel->focusPolicy();
        panel->setFocusPolicy(Qt::TabFocus);
        QWidget* previous = panel;
        for (const auto& [tab, widget] : m_tabs) {
            if (widget->focusPolicy() != Qt::NoFocus) {
                QWidget::setTabOrder(previous, widget);
                previous = widget;
            }
        }
        panel->setFocusPolicy(own);
    }

    template <typename W>
    W* place(W* widget, const char* name, int l, int t, int w, int h, int tab) {
        widget->setObjectName(QString::fromUtf8(name));
        widget->setGeometry(twips::rect(l, t, w, h));
        m_tabs.emplace_back(tab, widget);
        return widget;
    }

private:
    // Options are exclusive within their own container only. Qt's automatic
    // exclusivity would also reach into nested frames (Рамка1 holds pp), so
    // each container gets an explicit group.
    static QRadioButton* group(QRadioButton* option, int state) {
        QWidget* container = option->parentWidget();
        auto* group = container->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
        if (!group) {
            group = new QButtonGroup(container);
        }
        group->addButton(option);
        option->setChecked(state & Selected);
        option->setEnabled(!(state & Disabled));
        return option;
    }

    std::vector<std::pair<int, QWidget*>> m_tabs;
};

void setRange(Slider* slider, const designed::SliderSettings& settings) {
    slider->setRange(settings.minimum, settings.maximum);
    slider->setValue(settings.start);
    slider->setSingleStep(settings.step);
    slider->setPageStep(settings.page);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(std::max(1, (settings.maximum - settings.minimum) / 20));
    // Switched on together with their unit.
    slider->setEnabled(false);
}

} // namespace

Panel::Panel(QWidget* parent) : QWidget(parent) {
    setFixedSize(twips::toPx(8910), twips::toPx(7995));
    setFont(fonts::window());

    Builder b;
    const auto D = Disabled;
    const auto S = Selected;

    // Window Форма1
    Комманда1 = b.button(this, "Комманда1", 7800, 4440, 735, 375, "&Центр", D, 34);
    Рамка7 = b.frame(this, "Рамка7", 120, 3360, 2175, 1695, 29);
    pole = b.place(new QFrame(this), "pole", 2400, 50, 5145, 4100, 26);
    Рамка3 = b.frame(this, "Рамка3", 120, 5040, 8655, 1335, 7);
    Рамка2 = b.frame(this, "Рамка2", 7680, 0, 1095, 4215, 5);
    Рамка1 = b.frame(this, "Рамка1", 120, 0, 2175, 3375, 0);
    Рамка5 = b.frame(this, "Рамка5", 2400, 4200, 5175, 855, 17);
    i1[4] = b.image(this, "i1(4)", 720, 7440, 30, 300);
    i1[3] = b.image(this, "i1(3)", 240, 7440, 45, 45);
    i1[2] = b.image(this, "i1(2)", 120, 7080, 8505, 195);
    i1[1] = b.image(this, "i1(1)", 120, 6840, 8505, 195);
    i1[0] = b.image(this, "i1(0)", 120, 6600, 8500, 200);
    Изображение5 = b.image(this, "Изображение5", 7560, 0, 45, 4215);
    Изображение4 = b.image(this, "Изображение4", 2350, 0, 45, 4215);
    Изображение3 = b.image(this, "Изображение3", 2400, 4150, 5175, 45);
    Изображение2 = b.image(this, "Изображение2", 2400, 0, 5175, 40);

    // The screen's children measure from the inside of its border, so the
    // widget is the drawing area and the panel paints the border around it.
    pole->setGeometry(
        pole->geometry().adjusted(screenBorder, screenBorder, -screenBorder, -screenBorder));
    pole->setFrameShape(QFrame::NoFrame);
    pole->setFocusPolicy(Qt::StrongFocus);

    // Рамка1, oscilloscope controls
    pp = b.frame(Рамка1, "pp", 120, 120, 1695, 735, 14);
    Опция2 = b.option(Рамка1, "Опция2", 120, 960, 1815, 375, "Развертка по Y", D | S, 2);
    Опция3 = b.option(Рамка1, "Опция3", 120, 1320, 1935, 375, "Развертка по X и Y", D, 1);
    Метка1 = b.label(Рамка1, "Метка1", 240, 1800, 750, 195, "Усиление", D, 4);
    Текст1 = b.textBox(Рамка1, "Текст1", 1320, 1800, 615, 285, "6", D, 27);
    sl5 = b.slider(Рамка1, "sl5", Qt::Horizontal, 120, 2050, 1995, 405, 3);
    Метка7 = b.label(Рамка1, "Метка7", 240, 2520, 885, 195, "Время/дел.", D, 22);
    Текст2 = b.textBox(Рамка1, "Текст2", 1320, 2520, 615, 285, "6", D, 28);
    sl6 = b.slider(Рамка1, "sl6", Qt::Horizontal, 120, 2800, 1995, 405, 21);

    // pp, oscilloscope power
    Опция6 = b.powerOption(pp, "Опция6", 600, 240, 495, 375, "On", Enabled, 16);
    Опция5 = b.powerOption(pp, "Опция5", 1080, 240, 495, 375, "Off", S, 15);
    Форма4 = b.lamp(pp, "Форма4", 120, 360, 375, 135);

    // Рамка7, signal shape
    signal[2] = b.option(Рамка7, "signal(2)", 120, 1320, 1815, 255, "Прямоугольный", D, 32);
    signal[1] = b.option(Рамка7, "signal(1)", 120, 1080, 1815, 255, "Синусоидальный", D | S, 31);
    signal[0] = b.option(Рамка7, "signal(0)", 120, 840, 1695, 255, "Пилообразный", D, 30);
    Метка6 = b.label(Рамка7, "Метка6", 240, 240, 1815, 495, "Вид подаваемого сигнала:", D, 33);

    // pole, the screen, front to back
    Строка2 = b.line(pole, "Строка2", 0, designed::yCentre, 5040, designed::yCentre);
    Строка1 = b.line(pole, "Строка1", designed::xCentre, 0, designed::xCentre, 4080);
    SpriteControl1 = b.place(new QWidget(pole), "SpriteControl1", 0, 0, 5055, 4095, 35);
    ii = b.image(pole, "ii", 2565, 2040, 1575, 1335);
    Изображение7 = b.image(pole, "Изображение7", 0, 0, 5145, 4200);

    // Рамка2, Y offset
    sl2 = b.slider(Рамка2, "sl2", Qt::Vertical, 240, 120, 495, 3615, 6);
    Метка3 = b.label(Рамка2, "Метка3", 120, 3720, 855, 375, "Смещение по Y", D, 19);

    // Рамка5, X offset
    sl1 = b.slider(Рамка5, "sl1", Qt::Horizontal, 1080, 240, 3855, 495, 18);
    Метка2 = b.label(Рамка5, "Метка2", 120, 240, 855, 375, "Смещение по X", D, 20);

    // Рамка3, signal-source unit
    Рамка6 = b.frame(Рамка3, "Рамка6", 120, 120, 1695, 735, 23);
    t4 = b.textBox(Рамка3, "t4", 3360, 720, 615, 285, "10", D, 13);
    t3 = b.textBox(Рамка3, "t3", 3360, 360, 615, 285, "25", D, 11);
    sl3 = b.slider(Рамка3, "sl3", Qt::Horizontal, 4080, 240, 4500, 495, 8);
    sl4 = b.slider(Рамка3, "sl4", Qt::Horizontal, 4080, 720, 4500, 495, 9);
    Метка5 = b.label(Рамка3, "Метка5", 2160, 720, 1095, 255, "Частота (Гц):", D, 12);
    Метка4 = b.label(Рамка3, "Метка4", 2040, 360, 1335, 255, "Напряжение (В):", D, 10);

    // Рамка6, signal-source power
    Опция4 = b.powerOption(Рамка6, "Опция4", 1080, 240, 495, 375, "Off", D | S, 25);
    Опция1 = b.powerOption(Рамка6, "Опция1", 600, 240, 495, 375, "On", D, 24);
    Форма2 = b.lamp(Рамка6, "Форма2", 120, 360, 375, 135);

    // Sliders: range, start value, arrow-key step, page step.
    setRange(sl1, designed::sl1);
    setRange(sl2, designed::sl2);
    setRange(sl3, designed::sl3);
    setRange(sl4, designed::sl4);
    setRange(sl5, designed::sl5);
    setRange(sl6, designed::sl6);
    // The minimum at the top: the value grows as the thumb goes down, and
    // the arrow keys still move the thumb the way they point.
    sl2->setInvertedAppearance(true);
    sl2->setInvertedControls(true);

    // The trace: placed for the start, hidden and empty until the
    // oscilloscope is switched on.
    ii->hide();
    // The background shows at its own size and is cut off by the screen.
    Изображение7->setStretch(false);

    // The sprite never shows anything and never takes input from beneath it.
    SpriteControl1->setAttribute(Qt::WA_TransparentForMouseEvents);
    SpriteControl1->setFocusPolicy(Qt::NoFocus);

    // Stacking in the screen, back to front.
    Изображение7->raise();
    ii->raise();
    SpriteControl1->raise();
    Строка1->raise();
    Строка2->raise();

    b.chainTabOrder(this);
    tabStopsAtSelection();

    loadPictures();
    nameControls();
}

// Tab enters an option group at its selected option and leaves it at once;
// the arrow keys choose within it. Qt moves the stop to whichever option
// takes the focus; this keeps it on the selection from the start, and when
// code changes the selection.
void Panel::tabStopsAtSelection() {
    for (QButtonGroup* group : findChildren<QButtonGroup*>()) {
        const auto follow = [group] {
            for (QAbstractButton* option : group->buttons()) {
                const Qt::FocusPolicy policy = option->focusPolicy();
                option->setFocusPolicy(option->isChecked()
                                           ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                           : Qt::FocusPolicy(policy & ~Qt::TabFocus));
            }
        };
        follow();
        connect(group, &QButtonGroup::buttonToggled, group, follow);
    }
}

void Panel::nameControls() {
    // The caption without its access-key mark; no caption here has a literal
    // ampersand.
    const auto caption = [](const QAbstractButton* button) {
        return QString(button->text()).remove(QLatin1Char('&'));
    };
    const std::initializer_list<QAbstractButton*> captioned = {Комманда1, Опция2,    Опция3,
                                                               signal[0], signal[1], signal[2]};
    for (QAbstractButton* button : captioned) {
        button->setAccessibleName(caption(button));
    }

    // "On" and "Off" alone do not say which unit they switch. The name keeps
    // the caption, so what is read is what is seen; the description says it
    // in Russian.
    const auto power = [&caption](QAbstractButton* button, const QString& unit,
                                  const QString& action) {
        button->setAccessibleName(unit + QStringLiteral(": ") + caption(button));
        button->setAccessibleDescription(action);
    };
    power(Опция6, QStringLiteral("Осциллограф"), QStringLiteral("Включить осциллограф"));
    power(Опция5, QStringLiteral("Осциллограф"), QStringLiteral("Выключить осциллограф"));
    power(Опция1, QStringLiteral("Генератор"), QStringLiteral("Включить генератор"));
    power(Опция4, QStringLiteral("Генератор"), QStringLiteral("Выключить генератор"));

    // The frames have no titles; named, they group what a screen reader says.
    Рамка1->setAccessibleName(QStringLiteral("Осциллограф"));
    pp->setAccessibleName(QStringLiteral("Питание осциллографа"));
    Рамка3->setAccessibleName(QStringLiteral("Генератор"));
    Рамка6->setAccessibleName(QStringLiteral("Питание генератора"));
    Рамка7->setAccessibleName(Метка6->text());

    // A slider and its readout take the caption of the label beside them;
    // the label points at the slider, the control the student moves.
    const auto labelled = [](QLabel* label, Slider* slider, QLineEdit* readout) {
        label->setBuddy(slider);
        slider->setAccessibleName(label->text());
        if (readout) {
            readout->setAccessibleName(label->text());
        }
    };
    labelled(Метка1, sl5, Текст1);
    labelled(Метка7, sl6, Текст2);
    labelled(Метка2, sl1, nullptr);
    labelled(Метка3, sl2, nullptr);
    labelled(Метка4, sl3, t3);
    labelled(Метка5, sl4, t4);

    pole->setAccessibleName(QStringLiteral("Экран осциллографа"));
}

void Panel::paintEvent(QPaintEvent* event) {
    const QRect outer =
        pole->geometry().adjusted(-screenBorder, -screenBorder, screenBorder, screenBorder);
    // A moving trace repaints the screen's inside many times a second; the
    // border around it is drawn only when it is among what was exposed.
    if (QRegion(outer).subtracted(pole->geometry()).intersected(event->region()).isEmpty()) {
        return;
    }
    QPainter painter(this);
    qDrawWinPanel(&painter, outer, palette(), true);
}
