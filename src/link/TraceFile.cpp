#include "TraceFile.h"

#include "TrafficLog.h"

TraceFile::TraceFile(const QString& path)
    : m_file(path)
{
    m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
}

void TraceFile::exchanged(const TrafficLine& line)
{
    if (!m_file.isOpen())
        return;
    m_file.write((TrafficLog::format(line) + QLatin1Char('\n')).toUtf8());
    m_file.flush();
}
