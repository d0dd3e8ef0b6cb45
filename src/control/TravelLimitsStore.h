#pragma once

#include "TravelLimits.h"

#include <QString>

// The travel limits file in the settings folder, read and replaced as a
// whole. Replacing goes through a new file renamed over the old one, so a
// crash leaves either the old limits or the new ones, never half of them.
class TravelLimitsStore
{
public:
    enum class Read { Ok, Missing, Unreadable };

    // The folder that holds the settings file.
    explicit TravelLimitsStore(const QString& folder);

    QString path() const { return m_path; }
    // Missing: no file, no limits. Unreadable: *error says why (not a
    // regular file, too large, unreadable, a line in error); *limits is then
    // left as it was.
    Read load(TravelLimits* limits, QString* error) const;
    // False with *error set when the file could not be written.
    bool save(const TravelLimits& limits, QString* error) const;

    // "PATH cannot be read (REASON)."; each program says what follows from it.
    QString unreadableText(const QString& reason) const;

private:
    QString m_path;
};
