#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The status reply: a 32-byte block of controller settings followed by CR.
// The block is shown to the user as its 19 numbers, comma separated.
class StatusBlock
{
public:
    static constexpr int replySize = 33;
    static constexpr int count = 19;

    // Bytes 0-3 unsigned 8-bit; 4-13 five signed 16-bit; 14, 15 unsigned 8-bit;
    // 16-31 eight signed 16-bit; all little-endian. The trailing CR is not
    // checked. Bytes missing from a short reply read as 0.
    static std::array<int, count> decode(const QByteArray& reply);

    // "a,b,c,..." with no blanks.
    static QString join(const std::array<int, count>& numbers);
};
