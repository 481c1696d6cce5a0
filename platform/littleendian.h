// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtEndian>
#include <cstdint>

// Little-endian fields of the Windows file formats (RIFF, bitmap, icon).
// The caller makes sure the field lies inside the data.
namespace littleendian {

inline std::uint32_t u32At(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

inline std::uint16_t u16At(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}

} // namespace littleendian
