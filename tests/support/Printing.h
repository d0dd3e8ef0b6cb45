#pragma once

// Readable failure messages for the tests, and a shorthand for writing bytes
// as hex.

#include "Position.h"
#include "ProgramStep.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <ostream>

inline QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text); // blanks between bytes are skipped
}

inline void PrintTo(const Position& p, std::ostream* os)
{
    *os << "{" << p.x << ", " << p.y << ", " << p.z << "}";
}

inline void PrintTo(const ProgramStep& s, std::ostream* os)
{
    *os << "{word 0x" << std::hex << s.velocityWord << std::dec << ", " << s.x << ", " << s.y
        << ", " << s.z << "}";
}

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << "hex " << b.toHex(' ').toStdString();
}

inline void PrintTo(const QList<int>& list, std::ostream* os)
{
    *os << "{";
    for (int i = 0; i < list.size(); ++i)
        *os << (i ? ", " : "") << list[i];
    *os << "}";
}
