// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aboutbox.h"
#include "panel/twips.h"
#include "panel/vbcolor.h"
#include "platform/pictures/picture.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QIcon>
#include <QLabel>
#include <QMoveEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

// Windows' own faces there, elsewhere their metric stand-ins.
#ifdef Q_OS_WIN
const QString sansFace = QStringLiteral("Microsoft Sans Serif");
const QString serifFace = QStringLiteral("Times New Roman");
#else
const QString sansFace = QStringLiteral("Liberation Sans");
const QString serifFace = QStringLiteral("Liberation Serif");
#endif

// Fills whatever rectangle it is given, and remembers the last one.
class SolidPicture : public Picture {
public:
    void paint(QPainter& painter, const QRectF& target) const override {
        painter.fillRect(target, Qt::magenta);
        m_lastTarget = target;
    }
    QSizeF naturalSize() const override { return {40, 10}; }
    QRectF lastTarget() const { return m_lastTarget; }

private:
    mutable QRectF m_lastTarget;
};

// Records every position a widget is moved to.
class MoveLog : public QObject {
public:
    explicit MoveLog(QWidget* watched) : QObject(watched) { watched->installEventFilter(this); }
    QList<QPoint> positions;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move) {
            positions.append(static_cast<QMoveEvent*>(event)->pos());
        }
        return false;
    }
};

QIcon testIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkGray);
    return QIcon(pixmap);
}

constexpr int systemHighlightedText = -1;

QColor expectedColor(int rgb) {
    return rgb == systemHighlightedText ? QApplication::palette().color(QPalette::HighlightedText)
                                        : fromVbColor(rgb);
}

QRect okDesigned() {
    return twips::rect(5760, 3240, 345, 285);
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void window();
    void centredOverParent();
    void stackingFrontToBack();
    void labels_data();
    void labels();
    void implementerTexts();
    void rendering();
    void okPressSequence_data();
    void okPressSequence();
    void okWaitsMoreThanAnEighth();
    void nothingElseCloses_data();
    void nothingElseCloses();
    void titleBarCloseIsImmediate();
};

void TestAboutBox::window() {
    const QIcon icon = testIcon();
    AboutBox box(std::make_shared<SolidPicture>(), icon);
    QCOMPARE(box.objectName(), QStringLiteral("about"));
    QCOMPARE(box.windowTitle(), QStringLiteral("О программе..."));
    QCOMPARE(toVbColor(box.palette().color(QPalette::Window)), 4210752);
    const QSize client(442, 265);
    QCOMPARE(box.size(), client);
    QCOMPARE(box.minimumSize(), client);
    QCOMPARE(box.maximumSize(), client);
    const Qt::WindowFlags flags = box.windowFlags();
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
    QCOMPARE(box.windowIcon().cacheKey(), icon.cacheKey());
    QVERIFY(box.isModal());
    QCOMPARE(QFontInfo(box.font()).family(), sansFace);
    QCOMPARE(box.font().pointSizeF(), 8.0);
}

void TestAboutBox::centredOverParent() {
    // Off the screen's centre, so centring on the screen would show.
    QWidget owner;
    owner.setGeometry(40, 60, 500, 300);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    AboutBox box(nullptr, QIcon(), &owner);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    // Where the window manager draws no frame, Qt still allows for a
    // typical one (10 by 40 pixels) when it centres a dialog.
    const QPoint offset = box.geometry().center() - owner.geometry().center();
    QVERIFY2(qAbs(offset.x()) <= 11 && qAbs(offset.y()) <= 41,
             qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
}

void TestAboutBox::stackingFrontToBack() {
    AboutBox box(nullptr, QIcon());
    const QStringList frontToBack{"Label5 QLabel",
                                  "Label4 QLabel",
                                  "Label3 QLabel",
                                  "Label2 QLabel",
                                  "Метка12 QLabel",
                                  "Строка1 LineControl",
                                  "Изображение1 ImageControl",
                                  "Метка4 QLabel",
                                  "Метка3 QLabel",
                                  "Метка2 QLabel",
                                  "Метка7 QLabel",
                                  "ok QLabel",
                                  "Форма1 ShapeControl"};
    // A widget's children are listed back to front.
    QStringList backToFront;
    for (const QObject* child : box.children()) {
        if (child->isWidgetType()) {
            backToFront.prepend(child->objectName() + QLatin1Char(' ') +
                                QLatin1String(child->metaObject()->className()));
        }
    }
    QCOMPARE(backToFront, frontToBack);
}

void TestAboutBox::labels_data() {
    QTest::addColumn<QRect>("twipsRect");
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("text");

    const QString sans = sansFace;
    const QString serif = serifFace;
    const int hl = systemHighlightedText;
    // An empty text is the implementer's own wording, checked separately.
    QTest::newRow("Label5") << QRect(120, 3720, 1425, 195) << 16776960 << sans << 8.0 << false
                            << QString();
    QTest::newRow("Label4") << QRect(120, 3480, 3300, 195) << 16776960 << sans << 8.0 << false
                            << QString();
    QTest::newRow("Label3") << QRect(1680, 2160, 3510, 240) << 16776960 << sans << 9.75 << false
                            << QString();
    QTest::newRow("Label2") << QRect(2400, 3120, 2175, 195) << hl << sans << 8.0 << false
                            << QString();
    QTest::newRow("Метка12") << QRect(4800, 600, 1215, 195) << 65280 << sans << 8.0 << false
                             << QStringLiteral(" Версия 2.0.2");
    QTest::newRow("Метка4") << QRect(2400, 2640, 2415, 255) << hl << sans << 8.0 << false
                            << QString();
    QTest::newRow("Метка3") << QRect(2400, 2880, 2310, 195) << hl << sans << 8.0 << false
                            << QString();
    QTest::newRow("Метка2") << QRect(1320, 2640, 735, 255) << hl << sans << 8.0 << false
                            << QStringLiteral("Авторы:");
    QTest::newRow("Метка7") << QRect(240, 960, 6075, 795) << hl << sans << 8.0 << false
                            << QString();
    QTest::newRow("ok") << QRect(5760, 3240, 345, 285) << 255 << serif << 9.75 << true
                        << QStringLiteral("OK");
}

void TestAboutBox::labels() {
    QFETCH(QRect, twipsRect);
    QFETCH(int, color);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(QString, text);

    AboutBox box(nullptr, QIcon());
    const QString name = QString::fromUtf8(QTest::currentDataTag());
    auto* label = box.findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY2(label, "no such label");
    QCOMPARE(label->geometry(),
             twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
    QCOMPARE(label->palette().color(QPalette::WindowText), expectedColor(color));
    QCOMPARE(QFontInfo(label->font()).family(), family);
    QCOMPARE(label->font().pointSizeF(), points);
    QCOMPARE(label->font().bold(), bold);
    QVERIFY(!label->text().isEmpty());
    if (!text.isEmpty()) {
        QCOMPARE(label->text(), text);
    }

    const bool isOk = name == QLatin1String("ok");
    QCOMPARE(label->autoFillBackground(), isOk);
    if (isOk) {
        QCOMPARE(toVbColor(label->palette().color(QPalette::Window)), 0);
        QCOMPARE(label->frameShape(), QFrame::Box);
        QCOMPARE(label->frameShadow(), QFrame::Plain);
        QCOMPARE(label->lineWidth(), 1);
    } else {
        QCOMPARE(label->frameShape(), QFrame::NoFrame);
    }

    const bool isDescription = name == QStringLiteral("Метка7");
    QCOMPARE(label->wordWrap(), isDescription);
    QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask,
             isDescription ? Qt::AlignHCenter : Qt::AlignLeft);

    // Every text must show whole: each character has a glyph, and the text
    // stays inside the label at the label's font.
    const QFontMetrics metrics(label->font());
    for (const QChar c : label->text()) {
        QVERIFY2(metrics.inFont(c), qPrintable(QStringLiteral("no glyph for %1").arg(c)));
    }
    const QRect room = label->contentsRect();
    const QRect needed =
        isDescription
            ? metrics.boundingRect(room, Qt::TextWordWrap | Qt::AlignHCenter, label->text())
            : QRect(room.topLeft(),
                    QSize(metrics.horizontalAdvance(label->text()), metrics.height()));
    QVERIFY2(room.contains(needed), qPrintable(QStringLiteral("needs %1 x %2, has %3 x %4")
                                                   .arg(needed.width())
                                                   .arg(needed.height())
                                                   .arg(room.width())
                                                   .arg(room.height())));
}

void TestAboutBox::implementerTexts() {
    AboutBox box(nullptr, QIcon());
    const QString description = box.Метка7->text();
    QVERIFY(description.startsWith(QStringLiteral("   ")));
    QVERIFY(!description.startsWith(QStringLiteral("    ")));
    QCOMPARE(description.size(), 224);
    QVERIFY(description.contains(QStringLiteral("осциллограф")));
    QVERIFY(description.contains(QStringLiteral("лаборатор")));

    const QString rights = box.Label4->text();
    QVERIFY(rights.contains(QChar(0x00a9)));
    QVERIFY(rights.contains(QRegularExpression(QStringLiteral("\\b(19|20)\\d\\d\\b"))));

    const QString link = box.Label5->text();
    QVERIFY(!link.contains(QRegularExpression(QStringLiteral("\\s"))));
    QVERIFY(link.contains(QLatin1Char('.')));

    QVERIFY(box.Label3->text().startsWith(QStringLiteral("Редактор")));
    const QStringList authors{box.Метка4->text(), box.Метка3->text(), box.Label2->text()};
    QCOMPARE(QSet<QString>(authors.begin(), authors.end()).size(), 3);
}

void TestAboutBox::rendering() {
    const auto title = std::make_shared<SolidPicture>();
    AboutBox box(title, QIcon());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QImage image = box.grab().toImage();
    const auto at = [&image](int x, int y) { return toVbColor(image.pixelColor(x, y)); };
    const int grey = 4210752;
    const int blue = 16711680;

    // The shape is a 5-pixel blue outline, one pixel short of the right edge.
    QCOMPARE(at(0, 0), blue);
    QCOMPARE(at(4, 100), blue);
    QCOMPARE(at(5, 100), grey);
    QCOMPARE(at(440, 100), blue);
    QCOMPARE(at(441, 100), grey);
    QCOMPARE(at(200, 264), blue);

    // The title is stretched over its whole rectangle.
    QCOMPARE(title->lastTarget(), QRectF(64, 8, 321, 33));
    QCOMPARE(image.pixelColor(224, 24), QColor(Qt::magenta));
    QCOMPARE(at(63, 24), grey);

    // The red rule, end to end.
    QCOMPARE(at(16, 136), 255);
    QCOMPARE(at(424, 136), 255);
    QCOMPARE(at(15, 136), grey);
    QCOMPARE(at(425, 136), grey);
    QCOMPARE(at(100, 135), grey);

    // "OK": red frame, black inside.
    QCOMPARE(at(384, 216), 255);
    QCOMPARE(at(406, 234), 255);
    QCOMPARE(at(385, 233), 0);
}

// A student's click, or a screen reader's press on "OK", which it is told
// is a button named so.
void TestAboutBox::okPressSequence_data() {
    QTest::addColumn<bool>("reader");
    QTest::newRow("click") << false;
    QTest::newRow("screen reader's press") << true;
}

void TestAboutBox::okPressSequence() {
    QFETCH(bool, reader);
    AboutBox box(nullptr, QIcon());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto* log = new MoveLog(box.ok);

    QRect during;
    bool openDuring = false;
    box.setPressWait([&] {
        during = box.ok->geometry();
        openDuring = box.isVisible();
    });
    if (reader) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box.ok);
        QVERIFY(iface && iface->actionInterface());
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("OK"));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else {
        // Through the window, so nothing in front of "OK" may swallow the click.
        QTest::mouseClick(box.windowHandle(), Qt::LeftButton, {}, box.ok->geometry().center());
    }

    QCOMPARE(during, twips::rect(5790, 3270, 345, 285));
    QVERIFY(openDuring);
    // Top first, then Left; back in the same order.
    const QList<QPoint> expected{{384, 218}, {386, 218}, {386, 216}, {384, 216}};
    QCOMPARE(log->positions, expected);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QCOMPARE(box.ok->geometry(), okDesigned());

    AboutBox next(nullptr, QIcon());
    QCOMPARE(next.ok->geometry(), okDesigned());
}

void TestAboutBox::okWaitsMoreThanAnEighth() {
    AboutBox box(nullptr, QIcon());
    qint64 elapsed = 0;
    bool closedAfterClick = false;
    QTimer::singleShot(0, &box, [&] {
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(box.ok, Qt::LeftButton);
        elapsed = clock.nsecsElapsed();
        closedAfterClick = !box.isVisible();
    });
    // Should the click not close the box, end the modal loop rather than hang.
    QTimer::singleShot(10000, &box, [&box] { box.done(-1); });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    QVERIFY(closedAfterClick);
    QVERIFY2(elapsed > 125'000'000, qPrintable(QStringLiteral("closed after %1 ns").arg(elapsed)));
}

void TestAboutBox::nothingElseCloses_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("pressOn");
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<Qt::MouseButton>("button");

    const QPoint none;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << QString() << none << Qt::NoButton;
    QTest::newRow("Return") << int(Qt::Key_Return) << QString() << none << Qt::NoButton;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << QString() << none << Qt::NoButton;
    for (const char* name : {"Label5", "Label4", "Label3", "Label2", "Метка12", "Изображение1",
                             "Метка4", "Метка3", "Метка2", "Метка7"}) {
        QTest::newRow(name) << 0 << QString::fromUtf8(name) << none << Qt::LeftButton;
    }
    QTest::newRow("frame") << 0 << QString() << QPoint(2, 2) << Qt::LeftButton;
    QTest::newRow("rule") << 0 << QString() << QPoint(200, 136) << Qt::LeftButton;
    QTest::newRow("ok, released off it")
        << 0 << QStringLiteral("ok") << QPoint(300, 250) << Qt::LeftButton;
    QTest::newRow("ok, right button") << 0 << QStringLiteral("ok") << none << Qt::RightButton;
}

void TestAboutBox::nothingElseCloses() {
    QFETCH(int, key);
    QFETCH(QString, pressOn);
    QFETCH(QPoint, releaseAt);
    QFETCH(Qt::MouseButton, button);

    AboutBox box(nullptr, QIcon());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    bool pressed = false;
    box.setPressWait([&pressed] { pressed = true; });

    if (key != 0) {
        QTest::keyClick(&box, Qt::Key(key));
    } else {
        // Through the window, so the click lands on whatever lies in front.
        QPoint pressAt = releaseAt;
        if (!pressOn.isEmpty()) {
            const auto* target = box.findChild<QWidget*>(pressOn, Qt::FindDirectChildrenOnly);
            QVERIFY(target);
            pressAt = target->geometry().center();
        }
        if (releaseAt.isNull()) {
            releaseAt = pressAt;
        }
        QTest::mousePress(box.windowHandle(), button, {}, pressAt);
        QTest::mouseRelease(box.windowHandle(), button, {}, releaseAt);
    }
    QCoreApplication::processEvents();

    QVERIFY(box.isVisible());
    QVERIFY(!pressed);
    QCOMPARE(box.ok->geometry(), okDesigned());
}

void TestAboutBox::titleBarCloseIsImmediate() {
    AboutBox box(nullptr, QIcon());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    bool pressed = false;
    box.setPressWait([&pressed] { pressed = true; });
    auto* log = new MoveLog(box.ok);

    QVERIFY(box.windowHandle()->close());
    QVERIFY(!box.isVisible());
    QVERIFY(!pressed);
    QVERIFY(log->positions.isEmpty());
}

QTEST_MAIN(TestAboutBox)
#include "test_aboutbox.moc"
