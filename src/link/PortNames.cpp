#include "PortNames.h"

#include <QByteArray>

int PortNames::comNumber(const QString& portName)
{
    if (portName.size() == 4 && portName.startsWith(QLatin1String("COM"))) {
        const QChar digit = portName.at(3);
        if (digit >= QLatin1Char('1') && digit <= QLatin1Char('4'))
            return digit.digitValue();
    }
    return 0;
}

QString PortNames::deviceFor(const QString& portName)
{
#ifdef Q_OS_WIN
    return portName;
#else
    const int n = comNumber(portName);
    if (n == 0)
        return portName;
    const QByteArray variable = "QX410_COM" + QByteArray::number(n);
    const QString fromEnvironment = qEnvironmentVariable(variable.constData());
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}
