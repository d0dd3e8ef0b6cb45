#pragma once

#include <QString>
#include <optional>

// Line settings built from a framing string such as "9600,N,8,1": baud rate,
// parity letter, data bits and stop bits. No flow control is ever used.
struct LineSettings
{
    qint32 baud = 0;
    char parity = 'N'; // N, E or O
    int dataBits = 8;
    int stopBits = 1;

    // Parses "BAUD,P,D,S". A malformed string gives nothing.
    static std::optional<LineSettings> fromFraming(const QString& framing);
    // The baud rates the controller supports: 2400, 4800, 9600, 19200.
    static bool isSupportedBaud(qint32 baud);
};
