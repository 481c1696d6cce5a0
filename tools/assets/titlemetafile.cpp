// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/assets/titlemetafile.h"

#include "panel/designed.h"
#include "tools/assets/emfwriter.h"

#include <QPainterPath>
#include <QRawFont>
#include <QTransform>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

const QSize drawing(1320, 224);
const QSize frame(11165, 1896);
// Where the red letters lie; the shadow is the same shape 13 units right and
// 8 units down.
const QRectF redSpan(QPointF(13, 0), QPointF(1294, 214));
const QPoint shadowOffset(13, 8);
constexpr double widening = 1.15; // a broader face than the source typeface
constexpr int lightGrey = 12632256;
constexpr int red = designed::colour::red;

QPoint rounded(const QPointF& p) {
    return {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
}

std::vector<QPainterPath> letterOutlines(const QString& fontFile) {
    const QRawFont font(fontFile, 1000);
    if (!font.isValid()) {
        throw std::runtime_error("cannot load the typeface " + fontFile.toStdString());
    }
    const QString name = QStringLiteral("Вирталаб");
    const QList<quint32> glyphs = font.glyphIndexesForString(name);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);

    std::vector<QPainterPath> letters;
    QRectF natural;
    double pen = 0;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        QPainterPath outline = font.pathForGlyph(glyphs[i]).translated(pen, 0);
        natural |= outline.boundingRect();
        letters.push_back(outline);
        pen += advances[i].x();
    }

    // Scale to the height, widen, then spread the letters to the width.
    const double scaleY = redSpan.height() / natural.height();
    const double scaleX = scaleY * widening;
    const double spacing =
        (redSpan.width() - natural.width() * scaleX) / double(letters.size() - 1);
    for (std::size_t i = 0; i < letters.size(); ++i) {
        QTransform t;
        t.translate(redSpan.left() + spacing * double(i), redSpan.top());
        t.scale(scaleX, scaleY);
        t.translate(-natural.left(), -natural.top());
        letters[i] = t.map(letters[i]);
    }
    return letters;
}

void writeLetter(EmfWriter& emf, const QPainterPath& letter, const QPoint& offset) {
    emf.beginPath();
    std::vector<QPoint> curve;
    auto flushCurve = [&emf, &curve] {
        if (!curve.empty()) {
            emf.polyBezierTo(curve);
            curve.clear();
        }
    };
    bool open = false;
    for (int i = 0; i < letter.elementCount(); ++i) {
        const QPainterPath::Element e = letter.elementAt(i);
        const QPoint p = rounded(QPointF(e.x, e.y)) + offset;
        switch (e.type) {
        case QPainterPath::MoveToElement:
            flushCurve();
            if (open) {
                emf.closeFigure();
            }
            emf.moveTo(p);
            open = true;
            break;
        case QPainterPath::LineToElement:
            flushCurve();
            emf.lineTo(p);
            break;
        case QPainterPath::CurveToElement:
        case QPainterPath::CurveToDataElement:
            curve.push_back(p);
            break;
        }
    }
    flushCurve();
    if (open) {
        emf.closeFigure();
    }
    emf.endPath();
    emf.fillPath(letter.boundingRect().toAlignedRect().translated(offset));
}

} // namespace

void writeTitle(const QString& path, const QString& fontFile) {
    const std::vector<QPainterPath> letters = letterOutlines(fontFile);

    EmfWriter emf(path, QRect(QPoint(0, 0), drawing), frame);
    emf.setAnisotropicMapping(QPoint(0, 0), drawing);
    emf.setTransparentBackground();
    emf.setWindingFill();
    emf.selectNullPen();

    const std::uint32_t shadow = emf.createBrush(lightGrey);
    emf.select(shadow);
    for (const QPainterPath& letter : letters) {
        writeLetter(emf, letter, shadowOffset);
    }
    const std::uint32_t face = emf.createBrush(red);
    emf.select(face);
    emf.deleteObject(shadow);
    for (const QPainterPath& letter : letters) {
        writeLetter(emf, letter, QPoint(0, 0));
    }
    emf.finish();
}
