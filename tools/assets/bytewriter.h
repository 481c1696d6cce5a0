// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <cstdint>

// Little-endian writer for the Windows file formats the generator produces.
class ByteWriter {
public:
    void u8(std::uint8_t v) { m_bytes.append(static_cast<char>(v)); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v & 0xff));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v & 0xffff));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void zeros(int n) { m_bytes.append(n, '\0'); }
    void raw(const QByteArray& data) { m_bytes.append(data); }

    int size() const { return static_cast<int>(m_bytes.size()); }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
