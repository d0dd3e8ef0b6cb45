#pragma once

#include "TrafficObserver.h"

#include <QFile>
#include <QString>

// Writes every line of the serial exchange to a text file as it happens, in
// the traffic log's format (see TrafficLog). Each line is flushed at once, so
// the file holds everything up to a crash.
class TraceFile : public TrafficObserver
{
public:
    // Creates or empties the file; isOpen() says whether that worked.
    explicit TraceFile(const QString& path);

    bool isOpen() const { return m_file.isOpen(); }
    QString errorText() const { return m_file.errorString(); }

    void exchanged(const TrafficLine& line) override;

private:
    QFile m_file;
};
