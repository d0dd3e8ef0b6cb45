#include "ProgramInfo.h"

#include "LittleEndian.h"

#include <algorithm>
#include <limits>

qint16 ProgramInfo::stepCount(const QByteArray& reply)
{
    return LittleEndian::read16(reply, 0);
}

QList<ProgramStep> ProgramInfo::steps(const QByteArray& reply, int count)
{
    QList<ProgramStep> result;
    if (count <= 0)
        return result;
    count = std::min(count, int{std::numeric_limits<qint16>::max()});
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result.append(ProgramStep::fromUpload(reply, countSize + i * ProgramStep::uploadSize));
    return result;
}
