// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aboutbox.h"

#include "app/abouttexts.h"
#include "app/version.h"
#include "panel/designed.h"
#include "panel/imagecontrol.h"
#include "panel/linecontrol.h"
#include "panel/shapecontrol.h"
#include "panel/twips.h"
#include "panel/vbcolor.h"
#include "platform/fonts.h"
#include "platform/pressedwait.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <array>

namespace {

constexpr int background = designed::colour::darkGrey;
using designed::colour::black;
using designed::colour::blue;
using designed::colour::cyan;
using designed::colour::green;
using designed::colour::red;

// How far the pressed "OK" moves down and to the right.
constexpr int pressOffset = 30;

QLabel* makeLabel(QWidget* box, const QString& name, const QString& text, const QRect& geometry,
                  const QColor& color) {
    auto* label = new QLabel(box);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

QString text(const char16_t* s) {
    return QString::fromUtf16(s);
}

// "OK" is a label that acts as a button; a screen reader is told so, and
// its "press" is a click on it.
class OkAccessible : public QAccessibleWidget {
public:
    explicit OkAccessible(QLabel* ok) : QAccessibleWidget(ok, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? static_cast<QLabel*>(widget())->text()
                                         : QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action != pressAction()) {
            return;
        }
        const QPointF centre = QRectF(widget()->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent click(type, centre, widget()->mapToGlobal(centre), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(widget(), &click);
        }
    }
};

QAccessibleInterface* okAccessible(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    return label && label->objectName() == QLatin1String("ok") &&
                   qobject_cast<AboutBox*>(label->parentWidget())
               ? new OkAccessible(label)
               : nullptr;
}

} // namespace

AboutBox::AboutBox(PicturePtr title, const QIcon& icon, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    // Before "OK" is made: an interface made for it earlier would stay.
    static const bool okIsAButton = (QAccessible::installFactory(&okAccessible), true);
    Q_UNUSED(okIsAButton)
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("О программе..."));
    setWindowIcon(icon);
    setModal(true);
    // The size comes first: the image control clips itself to its container.
    setFixedSize(twips::toPx(6630), twips::toPx(3975));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, fromVbColor(background));
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(fonts::window());

    const QColor highlighted = palette.color(QPalette::HighlightedText);

    Label5 = makeLabel(this, QStringLiteral("Label5"), text(abouttexts::link),
                       twips::rect(120, 3720, 1425, 195), fromVbColor(cyan));
    Label4 = makeLabel(this, QStringLiteral("Label4"), text(abouttexts::rights),
                       twips::rect(120, 3480, 3300, 195), fromVbColor(cyan));
    Label3 = makeLabel(this, QStringLiteral("Label3"), text(abouttexts::editor),
                       twips::rect(1680, 2160, 3510, 240), fromVbColor(cyan));
    // "MS Sans Serif" 9.75 pt.
    Label3->setFont(fonts::sans(9.75));
    Label2 = makeLabel(this, QStringLiteral("Label2"), text(abouttexts::author3),
                       twips::rect(2400, 3120, 2175, 195), highlighted);
    Метка12 = makeLabel(this, QStringLiteral("Метка12"),
                        QStringLiteral(" Версия ") + QLatin1String(version::shown),
                        twips::rect(4800, 600, 1215, 195), fromVbColor(green));

    Строка1 = new LineControl(this);
    Строка1->setObjectName(QStringLiteral("Строка1"));
    Строка1->setLine(240, 2040, 6360, 2040);
    Строка1->setColor(red);

    Изображение1 = new ImageControl(this);
    Изображение1->setObjectName(QStringLiteral("Изображение1"));
    Изображение1->setStretch(true);
    Изображение1->setTwips(960, 120, 4815, 495);
    Изображение1->setPicture(std::move(title));

    Метка4 = makeLabel(this, QStringLiteral("Метка4"), text(abouttexts::author1),
                       twips::rect(2400, 2640, 2415, 255), highlighted);
    Метка3 = makeLabel(this, QStringLiteral("Метка3"), text(abouttexts::author2),
                       twips::rect(2400, 2880, 2310, 195), highlighted);
    Метка2 = makeLabel(this, QStringLiteral("Метка2"), QStringLiteral("Авторы:"),
                       twips::rect(1320, 2640, 735, 255), highlighted);
    Метка7 = makeLabel(this, QStringLiteral("Метка7"), text(abouttexts::description),
                       twips::rect(240, 960, 6075, 795), highlighted);
    Метка7->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Метка7->setWordWrap(true);

    ok = makeLabel(this, QStringLiteral("ok"), QStringLiteral("OK"),
                   twips::rect(5760, 3240, 345, 285), fromVbColor(red));
    // "Times New Roman" 9.75 pt bold.
    ok->setFont(fonts::serifBold(9.75));
    ok->setFrameStyle(QFrame::Box | QFrame::Plain);
    ok->setLineWidth(1);
    // A framed label indents its text by default; "OK" needs all the room.
    ok->setIndent(0);
    QPalette okPalette = ok->palette();
    okPalette.setColor(QPalette::Window, fromVbColor(black));
    ok->setPalette(okPalette);
    ok->setAutoFillBackground(true);
    ok->installEventFilter(this);

    // The shape's one further style setting, 5, is taken as the width of a
    // blue outline rather than a hatch; its background is transparent, so
    // the fill colour is kept but not painted.
    Форма1 = new ShapeControl(this);
    Форма1->setObjectName(QStringLiteral("Форма1"));
    Форма1->setGeometry(twips::rect(0, 0, 6615, 3975));
    Форма1->setBorderColor(blue);
    Форма1->setFillColor(blue);
    Форма1->setFilled(false);
    Форма1->setBorderWidth(5);

    const std::array<QWidget*, 13> frontToBack{Label5,  Label4,       Label3, Label2, Метка12,
                                               Строка1, Изображение1, Метка4, Метка3, Метка2,
                                               Метка7,  ok,           Форма1};
    for (auto it = frontToBack.rbegin(); it != frontToBack.rend(); ++it) {
        (*it)->raise();
    }
}

void AboutBox::setPressWait(std::function<void()> wait) {
    m_pressWait = std::move(wait);
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ok) {
        return QDialog::eventFilter(watched, event);
    }
    // Like a push button, "OK" acts when the left button is released over
    // it after being pressed on it; sliding off before releasing cancels.
    if (event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_okDown = true;
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_okDown) {
            m_okDown = false;
            if (ok->rect().contains(mouse->position().toPoint())) {
                okClick();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    // No default and no cancel button: Enter and Escape leave the box open.
    event->accept();
}

void AboutBox::okClick() {
    const int left = ok->x();
    const int top = ok->y();
    const int offset = twips::toPx(pressOffset);
    ok->move(left, top + offset);
    ok->move(left + offset, top + offset);
    const auto release = [this, left, top, offset] {
        ok->move(left + offset, top);
        ok->move(left, top);
        accept();
    };
    if (!m_pressWait) {
        waitPressed(*this, release);
        return;
    }
    repaint();
    m_pressWait();
    release();
}
