#pragma once

#include "ProgramStep.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// The reply to the program-info command: the step count (16-bit), then that
// many steps in upload layout (ProgramStep::uploadSize bytes each), then bytes
// ending in CR.
class ProgramInfo
{
public:
    static constexpr int countSize = 2;

    // Signed little-endian; zero or negative means the program is empty.
    // Bytes missing from a short reply read as 0.
    static qint16 stepCount(const QByteArray& reply);

    // The count steps following the step count. A count of zero or less gives
    // no steps; a count above 32767 (more than the count field can announce) is
    // treated as 32767. Bytes missing from a short reply read as 0.
    static QList<ProgramStep> steps(const QByteArray& reply, int count);
};
