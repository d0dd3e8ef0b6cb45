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

QString PortNames::variableName(int port)
{
    return QStringLiteral("QX410_COM%1").arg(port);
}

QString PortNames::defaultDevice(int port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

PortNames::Mapping PortNames::resolve(const QString& portName, const Bindings& bindings)
{
    const int n = comNumber(portName);
    if (n == 0)
        return {portName, Source::Direct};
#ifdef Q_OS_WIN
    Q_UNUSED(bindings);
    return {portName, Source::Default};
#else
    const QString fromEnvironment = qEnvironmentVariable(variableName(n).toLatin1().constData());
    if (!fromEnvironment.isEmpty())
        return {fromEnvironment, Source::Variable};
    const QString bound = bindings[n - 1].trimmed();
    if (!bound.isEmpty())
        return {bound, Source::File};
    return {defaultDevice(n), Source::Default};
#endif
}

QString PortNames::deviceFor(const QString& portName)
{
    return resolve(portName, Bindings()).device;
}

QString PortNames::sourceName(Source source)
{
    switch (source) {
    case Source::Variable:
        return QStringLiteral("variable");
    case Source::File:
        return QStringLiteral("file");
    case Source::Default:
        return QStringLiteral("default");
    case Source::Direct:
        break;
    }
    return QStringLiteral("device");
}
