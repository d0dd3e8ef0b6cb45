#include "TraceFile.h"

#include "TrafficLog.h"

#include <QFileInfo>

TraceFile::TraceFile(const QString& path)
    : m_file(path)
    , m_created(!QFileInfo::exists(path))
{
    m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

TraceFile::~TraceFile()
{
    if (m_file.isOpen() && !m_started && m_created)
        m_file.remove();
}

void TraceFile::portOpened()
{
    if (m_started || !m_file.isOpen())
        return;
    m_started = true;
    m_file.resize(0);
}

void TraceFile::exchanged(const TrafficLine& line)
{
    if (!m_file.isOpen())
        return;
    // Traffic means the port is open, also for a file attached later.
    portOpened();
    m_file.write((TrafficLog::format(line) + QLatin1Char('\n')).toUtf8());
    m_file.flush();
}
