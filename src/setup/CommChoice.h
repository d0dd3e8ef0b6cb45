#pragma once

#include "PortNames.h"
#include "SerialSettings.h"

#include <QString>
#include <QStringList>

// What the operator picks in Setup Communications: one of the four serial
// ports and one of the four baud rates the controller supports.
struct CommChoice
{
    int port = 1;                              // 1..4 for COM1..COM4
    QString baudText = QStringLiteral("9600"); // "2400", "4800", "9600" or "19200"
    // The devices COM1 .. COM4 are bound to (empty: not bound).
    PortNames::Bindings bindings;

    static constexpr int portCount = 4;

    CommChoice() = default;
    CommChoice(int portNumber, const QString& baud, const PortNames::Bindings& bound = {})
        : port(portNumber)
        , baudText(baud)
        , bindings(bound)
    {
    }

    // The four baud rates, slowest first.
    static QStringList baudTexts();
    // The shared settings as a choice. A port name other than "COM1".."COM4"
    // (a device named on the command line) gives port 1; a baud rate other
    // than the four gives "9600".
    static CommChoice fromSettings(const SerialSettings& settings);

    // Both fields within their ranges.
    bool isValid() const;
    // The same rule as fromSettings applied to this choice.
    CommChoice normalized() const;
    // "COM" followed by the port number.
    QString portName() const;
    // The baud text followed by ",N,8,1".
    QString framing() const;

    friend bool operator==(const CommChoice& a, const CommChoice& b)
    {
        return a.port == b.port && a.baudText == b.baudText && a.bindings == b.bindings;
    }
    friend bool operator!=(const CommChoice& a, const CommChoice& b) { return !(a == b); }
};
