#pragma once

#include "PortNames.h"

#include <QString>

// The serial settings the whole program shares, owned by the application
// object. The framing string is always the baud text followed by ",N,8,1".
struct SerialSettings
{
    QString portName = QStringLiteral("COM1");
    QString baudText = QStringLiteral("9600");
    QString framing = QStringLiteral("9600,N,8,1");
    // On while Setup Communications is shown before a port is open (at
    // start-up or during recovery).
    bool startupMode = false;
    // The devices the port bindings file binds COM1 .. COM4 to (empty: not
    // bound); the environment variables override them.
    PortNames::Bindings portBindings;
};
