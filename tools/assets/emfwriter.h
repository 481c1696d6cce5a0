// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// A thin owner of libUEMF's writer for the records the pictures use. Drawing
// coordinates are logical units; the caller states the picture's bounds in
// reference-device pixels and its frame in hundredths of a millimetre.
class EmfWriter {
public:
    // The reference device every picture is drawn for: 300 dots per inch on
    // a 200 x 280 mm page.
    static constexpr int deviceWidthMm = 200;
    static constexpr int deviceHeightMm = 280;

    EmfWriter(const QString& path, const QRect& bounds, const QSize& frameHundredthsMm);
    ~EmfWriter();
    EmfWriter(const EmfWriter&) = delete;
    EmfWriter& operator=(const EmfWriter&) = delete;

    void setAnisotropicMapping(const QPoint& windowOrigin, const QSize& extent);
    void setTransparentBackground();
    void setWindingFill();

    // Colours are red + 256 * green + 65536 * blue.
    std::uint32_t createPen(int width, int colour);
    std::uint32_t createBrush(int colour);
    void select(std::uint32_t object);
    void selectNullPen();
    void deleteObject(std::uint32_t object);

    void moveTo(const QPoint& p);
    void lineTo(const QPoint& p);
    void line(const QPoint& from, const QPoint& to);
    // Cubic Bézier segments from the current position: three points each.
    void polyBezierTo(const std::vector<QPoint>& points);
    void ellipse(const QRect& box);

    void beginPath();
    void closeFigure();
    void endPath();
    void fillPath(const QRect& bounds);
    void strokePath(const QRect& bounds);

    // Appends the end-of-file record and writes the file.
    void finish();

private:
    void append(char* record);

    struct State; // libUEMF's bookkeeping, kept out of this header
    std::unique_ptr<State> m_state;
    QString m_path;
};
