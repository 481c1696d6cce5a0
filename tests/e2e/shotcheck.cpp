// SPDX-License-Identifier: GPL-3.0-or-later
// Measures what a student sees in a screenshot of the oscilloscope screen.
//   shotcheck period <png> <x> <y> <width> <height>
//     prints the period, in pixels, of the green trace inside the rectangle
//   shotcheck extent <png> <x> <y> <width> <height>
//     prints the bounding box of the green trace: left top right bottom
//   shotcheck colourful <png> <x> <y> <width> <height>
//     prints the share of strongly coloured pixels (the rainbow strips)
//   shotcheck differing <png> <x> <y> <width> <height> <other png>
//     prints the share of the rectangle that differs from the other picture
//     (of its size), each looked at in blocks of 2 x 2 pixels, so that
//     antialiased edges drawn at another resolution count as alike
//   shotcheck page <page png> <out png> <width> <height>
//     finds the printed panel on a rendered page, the box of all that is
//     not paper white, and prints it with the page's size: left top right
//     bottom page-width page-height; writes the box scaled to width x
//     height into out png, to be compared with the window
#include <QCoreApplication>
#include <QImage>
#include <QRect>

#include <algorithm>
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

bool isColourful(QRgb c) {
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    return std::max({r, g, b}) - std::min({r, g, b}) >= 100;
}

bool isPaper(QRgb c) {
    // Wine's windows are grey 245: only the paper is whiter.
    return std::min({qRed(c), qGreen(c), qBlue(c)}) >= 252;
}

double differing(const QImage& a, const QImage& b) {
    const QSize half = a.size() / 2;
    const QImage x = a.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage y = b.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int count = 0;
    for (int j = 0; j < half.height(); ++j) {
        for (int i = 0; i < half.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            count += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                               std::abs(qBlue(p) - qBlue(q))}) > 48
                         ? 1
                         : 0;
        }
    }
    return double(count) / (half.width() * half.height());
}

int page(const QImage& image, const QString& out, int width, int height) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isPaper(image.pixel(x, y))) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    if (box.isNull()) {
        std::printf("none\n");
        return 0;
    }
    std::printf("%d %d %d %d %d %d\n", box.left(), box.top(), box.right(), box.bottom(),
                image.width(), image.height());
    const QImage panel =
        image.copy(box).scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!panel.save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (argc != 7 && !(argc == 6 && mode == QLatin1String("page")) &&
        !(argc == 8 && mode == QLatin1String("differing"))) {
        std::fprintf(stderr, "usage: shotcheck period|extent|colourful <png> <x> <y> <width> "
                             "<height>\n       shotcheck page <page png> <out png> <width> "
                             "<height>\n");
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[2]));
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    if (mode == QLatin1String("page")) {
        return page(image, QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    }
    const QRect area(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                     std::atoi(argv[6]));
    if (!image.rect().contains(area)) {
        std::fprintf(stderr, "rectangle outside the image\n");
        return 2;
    }
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
    if (mode == QLatin1String("differing")) {
        const QImage other(QString::fromLocal8Bit(argv[7]));
        if (other.size() != area.size()) {
            std::fprintf(stderr, "%s is not the rectangle's size\n", argv[7]);
            return 2;
        }
        std::printf("%.4f\n", differing(image.copy(area), other));
        return 0;
    }
    if (mode == QLatin1String("colourful")) {
        int count = 0;
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                count += isColourful(image.pixel(area.left() + x, area.top() + y)) ? 1 : 0;
            }
        }
        std::printf("%.3f\n", double(count) / (area.width() * area.height()));
        return 0;
    }
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
}
