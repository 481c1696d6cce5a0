// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/screendescription.h"

#include "panel/designed.h"
#include "panel/imagecontrol.h"
#include "panel/panel.h"
#include "panel/tracelayout.h"
#include "panel/twips.h"

#include <QFrame>
#include <QLocale>
#include <QStringList>
#include <array>
#include <cmath>

namespace screentext {

namespace {

// The waveforms' names, by picture index.
constexpr std::array<const char*, 3> waveNames{"Пилообразный сигнал", "Синусоидальный сигнал",
                                               "Прямоугольный сигнал"};

double roundedToTenth(double value) {
    return std::round(value * 10.0) / 10.0;
}

// A number to a tenth with its noun in the right form: "1 деление",
// "3 деления", "5 делений", "2,5 деления" (a fraction takes the genitive
// singular).
QString counted(double value, const char* one, const char* few, const char* many) {
    QLocale russian(QLocale::Russian, QLocale::Russia);
    russian.setNumberOptions(QLocale::OmitGroupSeparator);
    const double rounded = roundedToTenth(value);
    if (rounded != std::floor(rounded)) {
        return russian.toString(rounded, 'f', 1) + QLatin1Char(' ') + QString::fromUtf8(few);
    }
    const long long n = std::llround(rounded);
    const long long last = n % 10;
    const long long lastTwo = n % 100;
    const char* noun = many;
    if (last == 1 && lastTwo != 11) {
        noun = one;
    } else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) {
        noun = few;
    }
    return russian.toString(n) + QLatin1Char(' ') + QString::fromUtf8(noun);
}

QString divisionCount(double count) {
    return counted(count, "деление", "деления", "делений");
}

QString divisions(double twips) {
    return divisionCount(twips / twipsPerDivision);
}

// Where the trace's centre lies against the crossing of the axes.
QString place(const QRectF& rect) {
    const double right = roundedToTenth((rect.center().x() - designed::xCentre) / twipsPerDivision);
    const double up = roundedToTenth((designed::yCentre - rect.center().y()) / twipsPerDivision);
    QStringList phrases;
    if (right != 0) {
        phrases << QStringLiteral("на %1 %2")
                       .arg(divisionCount(std::abs(right)),
                            right > 0 ? QStringLiteral("правее") : QStringLiteral("левее"));
    }
    if (up != 0) {
        phrases << QStringLiteral("на %1 %2")
                       .arg(divisionCount(std::abs(up)),
                            up > 0 ? QStringLiteral("выше") : QStringLiteral("ниже"));
    }
    if (phrases.isEmpty()) {
        return QStringLiteral("в центре экрана");
    }
    return phrases.join(QStringLiteral(" и ")) + QStringLiteral(" центра экрана");
}

QString waveText(int picture, const QRectF& rect, const QSizeF& area) {
    const tracelayout::Wave& wave = tracelayout::waves[static_cast<std::size_t>(picture)];
    const double visible = std::min(rect.right(), area.width()) - std::max(rect.left(), 0.0);
    const double period = rect.width() * wave.span() / wave.periods;
    return QStringLiteral("%1: на экране %2, длина периода %3, размах %4, %5")
        .arg(QString::fromUtf8(waveNames[static_cast<std::size_t>(picture)]),
             counted(std::min(visible / period, double(wave.periods)), "период", "периода",
                     "периодов"),
             divisions(period), divisions(rect.height() * wave.swing()), place(rect));
}

} // namespace

QString describe(const TraceView& trace, const QSizeF& area) {
    if (!trace.shown) {
        return QStringLiteral("Осциллограф выключен");
    }
    const QRectF& rect = trace.rect;
    // The image control draws nothing into an empty rectangle.
    if (trace.picture < 0 || trace.picture > designed::Stroke ||
        !(rect.width() > 0 && rect.height() > 0)) {
        return QStringLiteral("Луч не виден");
    }
    const QRectF screen(QPointF(0, 0), area);
    if (!rect.intersects(screen)) {
        return QStringLiteral("Луч за пределами экрана");
    }
    const bool beyondTopOrBottom = rect.top() < 0 || rect.bottom() > area.height();
    const bool beyondAnyEdge = !screen.contains(rect);
    QString text;
    bool clipped = beyondAnyEdge;
    if (trace.picture == designed::Spot) {
        text = QStringLiteral("Луч: точка, %1").arg(place(rect));
    } else if (trace.picture == designed::Stroke) {
        text = QStringLiteral("Луч: вертикальная линия высотой %1, %2")
                   .arg(divisions(rect.height()), place(rect));
    } else {
        // A waveform wider than the screen is the usual sight; only its
        // height can make it leave the screen.
        text = waveText(trace.picture, rect, area);
        clipped = beyondTopOrBottom;
    }
    if (clipped) {
        text += QStringLiteral(", выходит за край экрана");
    }
    return text;
}

TraceView traceOf(const Panel& panel) {
    TraceView view;
    view.shown = !panel.ii->isHidden();
    view.picture = panel.tracePicture();
    view.rect = QRectF(panel.ii->Left(), panel.ii->Top(), panel.ii->Width(), panel.ii->Height());
    return view;
}

void describeScreen(Panel& panel) {
    const QSizeF area = QSizeF(panel.pole->size()) * twips::perPixel;
    const QString text = describe(traceOf(panel), area);
    if (text != panel.pole->accessibleDescription()) {
        panel.pole->setAccessibleDescription(text);
    }
}

} // namespace screentext
