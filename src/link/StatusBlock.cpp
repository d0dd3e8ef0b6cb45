#include "StatusBlock.h"

#include "LittleEndian.h"

#include <QStringList>

namespace {

struct Field
{
    int offset;
    bool wide; // signed 16-bit when true, unsigned 8-bit otherwise
};

constexpr std::array<Field, StatusBlock::count> fields{{
    {0, false}, {1, false}, {2, false}, {3, false},
    {4, true}, {6, true}, {8, true}, {10, true}, {12, true},
    {14, false}, {15, false},
    {16, true}, {18, true}, {20, true}, {22, true}, {24, true}, {26, true}, {28, true}, {30, true},
}};

} // namespace

std::array<int, StatusBlock::count> StatusBlock::decode(const QByteArray& reply)
{
    std::array<int, count> numbers{};
    for (int i = 0; i < count; ++i) {
        const Field& field = fields[i];
        if (field.wide) {
            numbers[i] = LittleEndian::read16(reply, field.offset);
        } else {
            numbers[i] = static_cast<int>(LittleEndian::read(reply, field.offset, 1));
        }
    }
    return numbers;
}

QString StatusBlock::join(const std::array<int, count>& numbers)
{
    QStringList parts;
    parts.reserve(count);
    for (int number : numbers)
        parts.append(QString::number(number));
    return parts.join(QLatin1Char(','));
}
