#pragma once

#include <QByteArray>

// Raw little-endian numbers as the controller sends and expects them. Reads
// take bytes missing at the end of a short reply as 0, never reading past it.
namespace LittleEndian {

inline void append16(QByteArray& out, quint16 value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

inline void append32(QByteArray& out, qint32 value)
{
    const auto bits = static_cast<quint32>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((bits >> shift) & 0xFF));
}

inline quint32 read(const QByteArray& bytes, qint64 offset, int width)
{
    quint32 value = 0;
    for (int i = 0; i < width; ++i) {
        const qint64 index = offset + i;
        if (index >= 0 && index < bytes.size())
            value |= static_cast<quint32>(static_cast<quint8>(bytes[index])) << (8 * i);
    }
    return value;
}

inline qint32 read32(const QByteArray& bytes, qint64 offset)
{
    return static_cast<qint32>(read(bytes, offset, 4));
}

inline qint16 read16(const QByteArray& bytes, qint64 offset)
{
    return static_cast<qint16>(static_cast<quint16>(read(bytes, offset, 2)));
}

} // namespace LittleEndian
