// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/assets/emfwriter.h"

#include <uemf.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

U_RECTL rectl(const QRect& r) {
    return U_RECTL{r.left(), r.top(), r.right(), r.bottom()};
}

U_COLORREF colorref(int colour) {
    return colorref3_set(static_cast<std::uint8_t>(colour & 0xff),
                         static_cast<std::uint8_t>((colour >> 8) & 0xff),
                         static_cast<std::uint8_t>((colour >> 16) & 0xff));
}

QRect boundsOf(const std::vector<QPoint>& points) {
    QRect r(points.front(), points.front());
    for (const QPoint& p : points) {
        r.setLeft(std::min(r.left(), p.x()));
        r.setRight(std::max(r.right(), p.x()));
        r.setTop(std::min(r.top(), p.y()));
        r.setBottom(std::max(r.bottom(), p.y()));
    }
    return r;
}

} // namespace

struct EmfWriter::State {
    EMFTRACK* track = nullptr;
    EMFHANDLES* handles = nullptr;
};

EmfWriter::EmfWriter(const QString& path, const QRect& bounds, const QSize& frameHundredthsMm)
    : m_state(std::make_unique<State>()), m_path(path) {
    const QByteArray name = path.toLocal8Bit();
    if (emf_start(name.constData(), 1 << 16, 1 << 14, &m_state->track) != 0 ||
        emf_htable_create(128, 128, &m_state->handles) != 0) {
        throw std::runtime_error("cannot start the metafile " + name.toStdString());
    }
    constexpr double dotsPerMm = 300.0 / 25.4;
    const U_SIZEL device{static_cast<std::int32_t>(std::lround(deviceWidthMm * dotsPerMm)),
                         static_cast<std::int32_t>(std::lround(deviceHeightMm * dotsPerMm))};
    const U_SIZEL millimetres{deviceWidthMm, deviceHeightMm};
    const U_RECTL frame{0, 0, frameHundredthsMm.width(), frameHundredthsMm.height()};
    append(U_EMRHEADER_set(rectl(bounds), frame, nullptr, 0, nullptr, device, millimetres, 0));
}

EmfWriter::~EmfWriter() {
    emf_free(&m_state->track);
    emf_htable_free(&m_state->handles);
}

void EmfWriter::append(char* record) {
    if (!record || emf_append(reinterpret_cast<PU_ENHMETARECORD>(record), m_state->track, 1) != 0) {
        throw std::runtime_error("cannot add a record to " + m_path.toStdString());
    }
}

void EmfWriter::setAnisotropicMapping(const QPoint& windowOrigin, const QSize& extent) {
    append(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    append(U_EMRSETWINDOWORGEX_set(point32_set(windowOrigin.x(), windowOrigin.y())));
    append(U_EMRSETWINDOWEXTEX_set(sizel_set(extent.width(), extent.height())));
    append(U_EMRSETVIEWPORTORGEX_set(point32_set(0, 0)));
    append(U_EMRSETVIEWPORTEXTEX_set(sizel_set(extent.width(), extent.height())));
}

void EmfWriter::setTransparentBackground() {
    append(U_EMRSETBKMODE_set(U_TRANSPARENT));
}

void EmfWriter::setWindingFill() {
    append(U_EMRSETPOLYFILLMODE_set(U_WINDING));
}

std::uint32_t EmfWriter::createPen(int width, int colour) {
    std::uint32_t handle = 0;
    const U_LOGPEN pen = logpen_set(U_PS_SOLID, point32_set(width, 0), colorref(colour));
    append(createpen_set(&handle, m_state->handles, pen));
    return handle;
}

std::uint32_t EmfWriter::createBrush(int colour) {
    std::uint32_t handle = 0;
    append(createbrushindirect_set(&handle, m_state->handles,
                                   logbrush_set(U_BS_SOLID, colorref(colour), 0)));
    return handle;
}

void EmfWriter::select(std::uint32_t object) {
    append(selectobject_set(object, m_state->handles));
}

void EmfWriter::selectNullPen() {
    select(U_NULL_PEN);
}

void EmfWriter::deleteObject(std::uint32_t object) {
    append(deleteobject_set(&object, m_state->handles));
}

void EmfWriter::moveTo(const QPoint& p) {
    append(U_EMRMOVETOEX_set(point32_set(p.x(), p.y())));
}

void EmfWriter::lineTo(const QPoint& p) {
    append(U_EMRLINETO_set(point32_set(p.x(), p.y())));
}

void EmfWriter::line(const QPoint& from, const QPoint& to) {
    moveTo(from);
    lineTo(to);
}

void EmfWriter::polyBezierTo(const std::vector<QPoint>& points) {
    std::vector<U_POINT16> p16;
    for (const QPoint& p : points) {
        p16.push_back(
            point16_set(static_cast<std::int16_t>(p.x()), static_cast<std::int16_t>(p.y())));
    }
    append(U_EMRPOLYBEZIERTO16_set(rectl(boundsOf(points)), static_cast<std::uint32_t>(p16.size()),
                                   p16.data()));
}

void EmfWriter::ellipse(const QRect& box) {
    append(U_EMRELLIPSE_set(rectl(box)));
}

void EmfWriter::beginPath() {
    append(U_EMRBEGINPATH_set());
}

void EmfWriter::closeFigure() {
    append(U_EMRCLOSEFIGURE_set());
}

void EmfWriter::endPath() {
    append(U_EMRENDPATH_set());
}

void EmfWriter::fillPath(const QRect& bounds) {
    append(U_EMRFILLPATH_set(rectl(bounds)));
}

void EmfWriter::strokePath(const QRect& bounds) {
    append(U_EMRSTROKEPATH_set(rectl(bounds)));
}

void EmfWriter::finish() {
    append(U_EMREOF_set(0, nullptr, m_state->track));
    if (emf_finish(m_state->track, m_state->handles) != 0) {
        throw std::runtime_error("cannot write " + m_path.toStdString());
    }
}
