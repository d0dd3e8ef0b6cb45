#include "CommChoice.h"

#include "PortNames.h"

QStringList CommChoice::baudTexts()
{
    return { QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200") };
}

CommChoice CommChoice::fromSettings(const SerialSettings& settings)
{
    CommChoice c;
    c.port = PortNames::comNumber(settings.portName);
    c.baudText = settings.baudText;
    c.bindings = settings.portBindings;
    return c.normalized();
}

bool CommChoice::isValid() const
{
    return port >= 1 && port <= portCount && baudTexts().contains(baudText);
}

CommChoice CommChoice::normalized() const
{
    CommChoice c = *this;
    if (c.port < 1 || c.port > portCount)
        c.port = 1;
    if (!baudTexts().contains(c.baudText))
        c.baudText = QStringLiteral("9600");
    return c;
}

QString CommChoice::portName() const
{
    return QStringLiteral("COM") + QString::number(port);
}

QString CommChoice::framing() const
{
    return baudText + QStringLiteral(",N,8,1");
}
