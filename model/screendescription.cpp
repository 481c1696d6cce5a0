#include "model/screendescription.h"

#include "model/geometry.h"
#include "panel/imagecontrol.h"
#include "panel/panel.h"
#include "panel/twips.h"

#include <QFrame>
#include <QLocale>
#include <QStringList>
#include <array>
#include <cmath>

namespace screentext {

namespace {

struct Wave {
    const char* name;
    // Periods in the picture, and the share of its width they span.
    int periods;
    double span;
    // Peak-to-peak height as a share of the picture's height.
    double swing;
};

constexpr std::array<Wave, 3> waves{{
    {"Пилообразный сигнал", 60, 1775.0 / 1778.0, 30.0 / 33.0},
    {"Синусоидальный сигнал", 56, 2366.0 / 2370.0, 60.0 / 64.0},
    {"Прямоугольный сигнал", 30, 1775.0 / 1778.0, 30.0 / 33.0},
}};

constexpr int spot = 3;
constexpr int stroke = 4;

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
    const double right = roundedToTenth((rect.center().x() - geometry::xCentre) / twipsPerDivision);
    const double up = roundedToTenth((geometry::yCentre - rect.center().y()) / twipsPerDivision);
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

QString waveText(const Wave& wave, const QRectF& rect, const QSizeF& area) {
    const double visible = std::min(rect.right(), area.width()) - std::max(rect.left(), 0.0);
    const double period = rect.width() * wave.span / wave.periods;
    return QStringLiteral("%1: на экране %2, длина периода %3, размах %4, %5")
        .arg(QString::fromUtf8(wave.name),
             counted(std::min(visible / period, double(wave.periods)), "период", "периода",
                     "периодов"),
             divisions(period), divisions(rect.height() * wave.swing), place(rect));
}

} // namespace

QString describe(const TraceView& trace, const QSizeF& area) {
    if (!trace.shown) {
        return QStringLiteral("Осциллограф выключен");
    }
    const QRectF& rect = trace.rect;
    // The image control draws nothing into an empty rectangle.
    if (trace.picture < 0 || trace.picture > stroke || !(rect.width() > 0 && rect.height() > 0)) {
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
    if (trace.picture == spot) {
        text = QStringLiteral("Луч: точка, %1").arg(place(rect));
    } else if (trace.picture == stroke) {
        text = QStringLiteral("Луч: вертикальная линия высотой %1, %2")
                   .arg(divisions(rect.height()), place(rect));
    } else {
        // A waveform wider than the screen is the usual sight; only its
        // height can make it leave the screen.
        text = waveText(waves[static_cast<std::size_t>(trace.picture)], rect, area);
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
    const PicturePtr& held = panel.ii->picture();
    for (std::size_t k = 0; k < panel.i1.size(); ++k) {
        if (held && held == panel.i1[k]->picture()) {
            view.picture = static_cast<int>(k);
        }
    }
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
