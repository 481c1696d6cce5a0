// SPDX-License-Identifier: GPL-3.0-or-later
// Measures what a student sees in a screenshot of the oscilloscope screen.
//   shotcheck period <png> <x> <y> <width> <height>
//     prints the period, in pixels, of the green trace inside the rectangle
//   shotcheck extent <png> <x> <y> <width> <height>
//     prints the bounding box of the green trace: left top right bottom
#include <QCoreApplication>
#include <QImage>
#include <QRect>

#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

bool isTrace(QRgb c) {
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    return g >= 120 && g - std::max(r, b) >= 60;
}

// Topmost trace row of each column, or -1 where the column has none.
std::vector<double> profile(const QImage& image, const QRect& area) {
    std::vector<double> top(area.width(), -1);
    for (int x = 0; x < area.width(); ++x) {
        for (int y = 0; y < area.height(); ++y) {
            if (isTrace(image.pixel(area.left() + x, area.top() + y))) {
                top[x] = y;
                break;
            }
        }
    }
    return top;
}

// Mean absolute difference between the profile and itself shifted by lag.
double amdf(const std::vector<double>& p, int lag) {
    double sum = 0;
    int n = 0;
    for (std::size_t x = 0; x + lag < p.size(); ++x) {
        if (p[x] >= 0 && p[x + lag] >= 0) {
            sum += std::fabs(p[x] - p[x + lag]);
            ++n;
        }
    }
    return n > 0 ? sum / n : std::numeric_limits<double>::infinity();
}

double period(const std::vector<double>& p) {
    const int maxLag = int(p.size()) / 2;
    std::vector<double> d(maxLag + 2, std::numeric_limits<double>::infinity());
    double best = std::numeric_limits<double>::infinity();
    double mean = 0;
    for (int lag = 4; lag <= maxLag; ++lag) {
        d[lag] = amdf(p, lag);
        best = std::min(best, d[lag]);
        mean += d[lag] / (maxLag - 3);
    }
    // The period is the first deep dip; its multiples dip as deep, and a
    // stretched picture only matches itself to within a pixel at any lag.
    const double threshold = best + 0.25 * (mean - best);
    int coarse = 0;
    for (int lag = 4; lag <= maxLag; ++lag) {
        if (d[lag] <= threshold) {
            coarse = lag;
            while (coarse + 1 <= maxLag && d[coarse + 1] < d[coarse]) {
                ++coarse;
            }
            break;
        }
    }
    if (coarse == 0) {
        return 0;
    }
    // Refine over as many periods as fit in half the width.
    const int k = std::max(1, maxLag / coarse);
    int bestLag = coarse * k;
    double bestValue = std::numeric_limits<double>::infinity();
    for (int lag = coarse * k - k; lag <= coarse * k + k; ++lag) {
        const double v = amdf(p, lag);
        if (v < bestValue) {
            bestValue = v;
            bestLag = lag;
        }
    }
    return double(bestLag) / k;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 7) {
        std::fprintf(stderr, "usage: shotcheck period|extent <png> <x> <y> <width> <height>\n");
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[2]));
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    const QRect area(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                     std::atoi(argv[6]));
    if (!image.rect().contains(area)) {
        std::fprintf(stderr, "rectangle outside the image\n");
        return 2;
    }
    const QString mode = QString::fromLatin1(argv[1]);
    if (mode == QLatin1String("period")) {
        std::printf("%.3f\n", period(profile(image, area)));
        return 0;
    }
    if (mode == QLatin1String("extent")) {
        QRect box;
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                if (isTrace(image.pixel(area.left() + x, area.top() + y))) {
                    box |= QRect(x, y, 1, 1);
                }
            }
        }
        if (box.isNull()) {
            std::printf("none\n");
        } else {
            std::printf("%d %d %d %d\n", box.left(), box.top(), box.right(), box.bottom());
        }
        return 0;
    }
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
}
