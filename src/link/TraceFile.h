#pragma once

#include "TrafficObserver.h"

#include <QFile>
#include <QString>

// Writes every line of the serial exchange to a text file as it happens, in
// the traffic log's format (see TrafficLog). Each line is flushed at once, so
// the file holds everything up to a crash.
//
// The file is opened at once, so that a name that cannot be written is told
// before anything else happens, but it is emptied only when the port first
// opens: a run that never gets that far leaves an earlier trace as it was,
// and a file it had to create is removed again.
class TraceFile : public TrafficObserver
{
public:
    // Opens (or creates) the file without emptying it; isOpen() says whether
    // that worked.
    explicit TraceFile(const QString& path);
    ~TraceFile() override;

    bool isOpen() const { return m_file.isOpen(); }
    QString errorText() const { return m_file.errorString(); }

    void exchanged(const TrafficLine& line) override;
    // The first opening empties the file; later ones (after a recovery) keep
    // what it holds.
    void portOpened() override;

private:
    QFile m_file;
    bool m_created = false;
    bool m_started = false;
};
