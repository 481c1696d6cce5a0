// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pictures/emfreader.h"

#include "platform/pictures/picture.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <variant>
#include <vector>

namespace {

constexpr std::uint32_t recordHeaderSize = 8;
constexpr std::uint32_t headerRecordMinSize = 88;
constexpr double coordinateLimit = 1 << 24;
constexpr double penWidthLimit = 1 << 16;

// Record types whose layout libUEMF can check: the documented ones, less
// those it has no check for (it would only print a warning).
bool libUemfChecks(std::uint32_t type) {
    switch (type) {
    case U_EMR_UNDEF69:
    case U_EMR_POLYTEXTOUTA:
    case U_EMR_POLYTEXTOUTW:
    case U_EMR_GLSRECORD:
    case U_EMR_GLSBOUNDEDRECORD:
    case U_EMR_DRAWESCAPE:
    case U_EMR_EXTESCAPE:
    case U_EMR_UNDEF107:
    case U_EMR_FORCEUFIMAPPING:
    case U_EMR_NAMEDESCAPE:
    case U_EMR_COLORCORRECTPALETTE:
    case U_EMR_SETICMPROFILEA:
    case U_EMR_SETICMPROFILEW:
    case U_EMR_UNDEF117:
    case U_EMR_SETLINKEDUFIS:
    case U_EMR_SETTEXTJUSTIFICATION:
    case U_EMR_COLORMATCHTOTARGETW:
        return false;
    default:
        return type >= U_EMR_HEADER && type <= U_EMR_CREATECOLORSPACEW;
    }
}

class Fault {
public:
    Fault(std::size_t offset, QString what) : offset(offset), what(std::move(what)) {}
    std::size_t offset;
    QString what;
};

// Reads little-endian fields of one record whose size has been checked.
class Record {
public:
    Record(const char* bytes, std::uint32_t size, std::size_t offset)
        : m_bytes(bytes), m_size(size), m_offset(offset) {}

    std::uint32_t type() const { return u32(0); }
    std::uint32_t size() const { return m_size; }
    std::size_t offset() const { return m_offset; }
    const char* bytes() const { return m_bytes; }

    void require(std::uint32_t size) const {
        if (m_size < size) {
            throw Fault(m_offset, QStringLiteral("запись короче своих полей"));
        }
    }
    std::uint32_t u32(std::uint32_t at) const {
        std::uint32_t v;
        std::memcpy(&v, m_bytes + at, sizeof v);
        return v;
    }
    std::int32_t i32(std::uint32_t at) const {
        std::int32_t v;
        std::memcpy(&v, m_bytes + at, sizeof v);
        return v;
    }
    std::int16_t i16(std::uint32_t at) const {
        std::int16_t v;
        std::memcpy(&v, m_bytes + at, sizeof v);
        return v;
    }
    QColor colour(std::uint32_t at) const {
        const auto* c = reinterpret_cast<const unsigned char*>(m_bytes + at);
        return {c[0], c[1], c[2]};
    }
    QPointF point(std::uint32_t at) const { return {double(i32(at)), double(i32(at + 4))}; }
    QRectF box(std::uint32_t at) const { return QRectF(point(at), point(at + 8)).normalized(); }

private:
    const char* m_bytes;
    std::uint32_t m_size;
    std::size_t m_offset;
};

struct Pen {
    bool null = false;
    QColor colour = Qt::black;
    double width = 0; // logical units; 0 is one device pixel
};

struct Brush {
    bool null = false;
    QColor colour = Qt::white;
};

struct OtherObject {}; // fonts, palettes and the like: selectable, not drawn

using Object = std::variant<Pen, Brush, OtherObject>;

std::optional<Object> stockObject(std::uint32_t index) {
    switch (index & ~U_STOCK_OBJECT) {
    case 0:
        return Brush{false, QColor(255, 255, 255)};
    case 1:
        return Brush{false, QColor(192, 192, 192)};
    case 2:
        return Brush{false, QColor(128, 128, 128)};
    case 3:
        return Brush{false, QColor(64, 64, 64)};
    case 4:
        return Brush{false, QColor(0, 0, 0)};
    case 5:
        return Brush{true, {}};
    case 6:
        return Pen{false, QColor(255, 255, 255), 0};
    case 7:
        return Pen{false, QColor(0, 0, 0), 0};
    case 8:
        return Pen{true, {}, 0};
    default:
        return std::nullopt; // stock fonts and palettes draw nothing here
    }
}

class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}

    EmfDrawing read() {
        readHeader();
        std::size_t offset = m_headerSize;
        const auto end = static_cast<std::size_t>(m_data.size());
        while (offset < end) {
            const Record r = recordAt(offset);
            if (libUemfChecks(r.type()) && !U_emf_record_safe(r.bytes())) {
                throw Fault(offset, QStringLiteral("поля записи выходят за её пределы"));
            }
            if (r.type() == U_EMR_EOF) {
                m_result.list.seal();
                return std::move(m_result);
            }
            play(r);
            offset += r.size();
        }
        throw Fault(end, QStringLiteral("файл оборван: нет записи конца"));
    }

private:
    Record recordAt(std::size_t offset) const {
        const auto end = static_cast<std::size_t>(m_data.size());
        if (end - offset < recordHeaderSize) {
            throw Fault(offset, QStringLiteral("файл оборван посреди заголовка записи"));
        }
        const char* bytes = m_data.constData() + offset;
        std::uint32_t size;
        std::memcpy(&size, bytes + 4, sizeof size);
        if (size < recordHeaderSize || size % 4 != 0) {
            throw Fault(offset, QStringLiteral("недопустимый размер записи %1").arg(size));
        }
        if (size > end - offset) {
            throw Fault(offset,
                        QStringLiteral("запись размером %1 выходит за конец файла").arg(size));
        }
        return {bytes, size, offset};
    }

    void readHeader() {
        const Record r = recordAt(0);
        if (r.type() != U_EMR_HEADER || r.size() < headerRecordMinSize ||
            r.u32(40) != U_ENHMETA_SIGNATURE) {
            throw Fault(0, QStringLiteral("нет заголовка метафайла"));
        }
        if (!U_emf_record_safe(r.bytes())) {
            throw Fault(0, QStringLiteral("заголовок метафайла повреждён"));
        }
        const QRect frame(QPoint(r.i32(24), r.i32(28)), QPoint(r.i32(32), r.i32(36)));
        const std::int32_t deviceW = r.i32(72);
        const std::int32_t deviceH = r.i32(76);
        const std::int32_t mmW = r.i32(80);
        const std::int32_t mmH = r.i32(84);
        // Frames far beyond any page are as unusable as empty ones.
        auto offPage = [](std::int32_t v) { return v < -(1 << 24) || v > (1 << 24); };
        auto unusable = [&offPage](std::int32_t v) { return v <= 0 || offPage(v); };
        if (frame.right() <= frame.left() || frame.bottom() <= frame.top() ||
            offPage(frame.left()) || offPage(frame.top()) || offPage(frame.right()) ||
            offPage(frame.bottom()) || unusable(deviceW) || unusable(deviceH) || unusable(mmW) ||
            unusable(mmH)) {
            throw Fault(24, QStringLiteral("недопустимая рамка или устройство"));
        }
        const std::uint32_t handles = r.u32(56) & 0xffff;
        m_objects.resize(handles);
        m_headerSize = r.size();

        const double perHundredthX = deviceW / (mmW * 100.0);
        const double perHundredthY = deviceH / (mmH * 100.0);
        m_result.frameHundredthsMm = QRect(frame.left(), frame.top(), frame.right() - frame.left(),
                                           frame.bottom() - frame.top());
        m_result.frame = QRectF(frame.left() * perHundredthX, frame.top() * perHundredthY,
                                (frame.right() - frame.left()) * perHundredthX,
                                (frame.bottom() - frame.top()) * perHundredthY);
    }

    QPointF toDevice(const QPointF& p, const Record& r) const {
        const QPointF d((p.x() - m_windowOrg.x()) * scaleX() + m_viewportOrg.x(),
                        (p.y() - m_windowOrg.y()) * scaleY() + m_viewportOrg.y());
        // Far beyond any page; such numbers only come from a damaged file.
        if (!(std::abs(d.x()) <= coordinateLimit && std::abs(d.y()) <= coordinateLimit)) {
            throw Fault(r.offset(), QStringLiteral("координата вне допустимых пределов"));
        }
        return d;
    }
    double scaleX() const {
        return m_anisotropic ? m_viewportExt.width() / m_windowExt.width() : 1;
    }
    double scaleY() const {
        return m_anisotropic ? m_viewportExt.height() / m_windowExt.height() : 1;
    }

    std::uint32_t objectIndex(const Record& r, bool mustExist) {
        const std::uint32_t index = r.u32(8);
        if (index == 0 || index >= m_objects.size() || (mustExist && !m_objects[index])) {
            throw Fault(r.offset(), QStringLiteral("недопустимый номер объекта %1").arg(index));
        }
        return index;
    }

    void select(const Record& r) {
        const std::uint32_t index = r.u32(8);
        std::optional<Object> object;
        if (index & U_STOCK_OBJECT) {
            object = stockObject(index);
        } else {
            object = m_objects[objectIndex(r, true)];
        }
        if (!object) {
            return;
        }
        if (const Pen* pen = std::get_if<Pen>(&*object)) {
            m_pen = *pen;
        } else if (const Brush* brush = std::get_if<Brush>(&*object)) {
            m_brush = *brush;
        }
    }

    DrawItem itemWithPen(const Record& r) const {
        DrawItem item;
        item.stroked = !m_pen.null;
        item.penColour = m_pen.colour;
        item.penWidth = m_pen.width * std::abs(scaleX());
        if (!(item.penWidth <= penWidthLimit)) {
            throw Fault(r.offset(), QStringLiteral("недопустимая толщина пера"));
        }
        return item;
    }

    void addLine(const QPointF& from, const QPointF& to, const Record& r) {
        if (m_pen.null) {
            return;
        }
        DrawItem item = itemWithPen(r);
        item.shape = DrawItem::Shape::Line;
        item.line = QLineF(from, to);
        item.bounds = QRectF(from, to).normalized();
        m_result.list.add(std::move(item));
    }

    void addPath(QPainterPath path, bool stroke, bool fill, const Record& r) {
        DrawItem item = itemWithPen(r);
        item.shape = DrawItem::Shape::Path;
        item.stroked = stroke && !m_pen.null;
        item.filled = fill && !m_brush.null;
        if (!item.stroked && !item.filled) {
            return;
        }
        item.brushColour = m_brush.colour;
        path.setFillRule(m_winding ? Qt::WindingFill : Qt::OddEvenFill);
        item.bounds = path.controlPointRect();
        item.path = std::move(path);
        m_result.list.add(std::move(item));
    }

    void bezierTo(const Record& r) {
        r.require(28);
        const std::uint32_t count = r.u32(24);
        if (count % 3 != 0 || count > (r.size() - 28) / 4) {
            throw Fault(r.offset(), QStringLiteral("недопустимое число точек %1").arg(count));
        }
        QPainterPath local(m_position);
        QPainterPath& path = m_inPath ? m_path : local;
        for (std::uint32_t i = 0; i < count; i += 3) {
            QPointF p[3];
            for (std::uint32_t k = 0; k < 3; ++k) {
                const std::uint32_t at = 28 + 4 * (i + k);
                p[k] = toDevice(QPointF(r.i16(at), r.i16(at + 2)), r);
            }
            path.cubicTo(p[0], p[1], p[2]);
            m_position = p[2];
        }
        if (!m_inPath) {
            addPath(local, true, false, r);
        }
    }

    void play(const Record& r) {
        switch (r.type()) {
        case U_EMR_HEADER:
            throw Fault(r.offset(), QStringLiteral("второй заголовок"));
        case U_EMR_SETMAPMODE:
            r.require(12);
            if (r.u32(8) == U_MM_ANISOTROPIC) {
                m_anisotropic = true;
            } else if (r.u32(8) == U_MM_TEXT) {
                m_anisotropic = false;
            } else {
                throw Fault(r.offset(),
                            QStringLiteral("неподдерживаемый режим отображения %1").arg(r.u32(8)));
            }
            break;
        case U_EMR_SETWINDOWORGEX:
            r.require(16);
            m_windowOrg = r.point(8);
            break;
        case U_EMR_SETVIEWPORTORGEX:
            r.require(16);
            m_viewportOrg = r.point(8);
            break;
        case U_EMR_SETWINDOWEXTEX:
        case U_EMR_SETVIEWPORTEXTEX: {
            r.require(16);
            const QSizeF extent(r.i32(8), r.i32(12));
            // Windows ignores a zero extent, and so do we.
            if (extent.width() != 0 && extent.height() != 0) {
                (r.type() == U_EMR_SETWINDOWEXTEX ? m_windowExt : m_viewportExt) = extent;
            }
            break;
        }
        case U_EMR_SETBKMODE:
            // Backgrounds are never painted: every picture here is transparent.
            break;
        case U_EMR_SETPOLYFILLMODE:
            r.require(12);
            m_winding = r.u32(8) == U_WINDING;
            break;
        case U_EMR_CREATEPEN: {
            r.require(28);
            Pen pen;
            pen.null = (r.u32(12) & U_PS_STYLE_MASK) == U_PS_NULL;
            pen.width = std::abs(static_cast<double>(r.i32(16)));
            pen.colour = r.colour(24);
            m_objects[objectIndex(r, false)] = pen;
            break;
        }
        case U_EMR_EXTCREATEPEN: {
            r.require(52);
            Pen pen;
            const std::uint32_t style = r.u32(28);
            pen.null = (style & U_PS_STYLE_MASK) == U_PS_NULL || r.u32(36) == U_BS_NULL;
            pen.width = (style & U_PS_TYPE_MASK) == U_PS_GEOMETRIC ? r.u32(32) : 0;
            pen.colour = r.colour(40);
            m_objects[objectIndex(r, false)] = pen;
            break;
        }
        case U_EMR_CREATEBRUSHINDIRECT: {
            r.require(24);
            Brush brush;
            brush.null = r.u32(12) == U_BS_NULL;
            brush.colour = r.colour(16);
            m_objects[objectIndex(r, false)] = brush;
            break;
        }
        case U_EMR_CREATEPALETTE:
        case U_EMR_EXTCREATEFONTINDIRECTW:
        case U_EMR_CREATEMONOBRUSH:
        case U_EMR_CREATEDIBPATTERNBRUSHPT:
        case U_EMR_CREATECOLORSPACE:
        case U_EMR_CREATECOLORSPACEW:
            r.require(12);
            m_objects[objectIndex(r, false)] = OtherObject{};
            break;
        case U_EMR_SELECTOBJECT:
            r.require(12);
            select(r);
            break;
        case U_EMR_DELETEOBJECT:
            r.require(12);
            m_objects[objectIndex(r, true)].reset();
            break;
        case U_EMR_MOVETOEX:
            r.require(16);
            m_position = toDevice(r.point(8), r);
            if (m_inPath) {
                m_path.moveTo(m_position);
            }
            break;
        case U_EMR_LINETO: {
            r.require(16);
            const QPointF to = toDevice(r.point(8), r);
            if (m_inPath) {
                m_path.lineTo(to);
            } else {
                addLine(m_position, to, r);
            }
            m_position = to;
            break;
        }
        case U_EMR_POLYBEZIERTO16:
            bezierTo(r);
            break;
        case U_EMR_SETPIXELV: {
            r.require(20);
            const QPointF at = toDevice(r.point(8), r);
            DrawItem item;
            item.shape = DrawItem::Shape::Line;
            item.stroked = true;
            item.penColour = r.colour(16);
            item.line = QLineF(at, at);
            item.bounds = QRectF(at, at);
            m_result.list.add(std::move(item));
            break;
        }
        case U_EMR_ELLIPSE: {
            r.require(24);
            const QRectF box(toDevice(r.box(8).topLeft(), r), toDevice(r.box(8).bottomRight(), r));
            if (m_inPath) {
                m_path.addEllipse(box.normalized());
            } else {
                QPainterPath ellipse;
                ellipse.addEllipse(box.normalized());
                addPath(ellipse, true, true, r);
            }
            break;
        }
        case U_EMR_BEGINPATH:
            m_inPath = true;
            m_pathReady = false;
            m_path = QPainterPath(m_position);
            break;
        case U_EMR_ENDPATH:
            m_pathReady = m_inPath;
            m_inPath = false;
            break;
        case U_EMR_ABORTPATH:
            m_inPath = false;
            m_pathReady = false;
            break;
        case U_EMR_CLOSEFIGURE:
            if (m_inPath) {
                m_path.closeSubpath();
            }
            break;
        case U_EMR_FILLPATH:
        case U_EMR_STROKEPATH:
        case U_EMR_STROKEANDFILLPATH:
            // Windows does nothing for a path that is still open or missing.
            if (m_pathReady) {
                addPath(m_path, r.type() != U_EMR_FILLPATH, r.type() != U_EMR_STROKEPATH, r);
                m_pathReady = false;
                m_path = QPainterPath();
            }
            break;
        default:
            // Comments and records none of the pictures use: nothing to draw.
            break;
        }
    }

    const QByteArray& m_data;
    EmfDrawing m_result;
    std::uint32_t m_headerSize = 0;
    std::vector<std::optional<Object>> m_objects;
    Pen m_pen{false, QColor(0, 0, 0), 0};
    Brush m_brush{false, QColor(255, 255, 255)};
    bool m_anisotropic = false;
    bool m_winding = false;
    QPointF m_windowOrg;
    QPointF m_viewportOrg;
    QSizeF m_windowExt{1, 1};
    QSizeF m_viewportExt{1, 1};
    QPointF m_position;
    bool m_inPath = false;
    bool m_pathReady = false;
    QPainterPath m_path;
};

} // namespace

bool looksLikeEnhancedMetafile(const QByteArray& data) {
    if (data.size() < 44) {
        return false;
    }
    std::uint32_t type;
    std::uint32_t signature;
    std::memcpy(&type, data.constData(), sizeof type);
    std::memcpy(&signature, data.constData() + 40, sizeof signature);
    return type == U_EMR_HEADER && signature == U_ENHMETA_SIGNATURE;
}

EmfDrawing readEnhancedMetafile(const QByteArray& data, const QString& name) {
    try {
        return Reader(data).read();
    } catch (const Fault& fault) {
        throw PictureError(QStringLiteral("Рисунок «%1» повреждён: %2 (смещение %3)")
                               .arg(name, fault.what)
                               .arg(fault.offset)
                               .toStdString());
    }
}
