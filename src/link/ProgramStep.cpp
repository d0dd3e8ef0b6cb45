#include "ProgramStep.h"

#include "LittleEndian.h"

namespace {

constexpr quint32 highResolutionBit = 0x8000;
constexpr quint32 velocityMask = 0x7FFF;

} // namespace

bool ProgramStep::isPause() const
{
    return velocityWord == 0 && x == 0 && y == 0 && z == 0;
}

QByteArray ProgramStep::toDownload() const
{
    QByteArray out;
    out.reserve(downloadSize);
    LittleEndian::append16(out, velocityWord);
    LittleEndian::append32(out, x);
    LittleEndian::append32(out, y);
    LittleEndian::append32(out, z);
    return out;
}

ProgramStep ProgramStep::fromUpload(const QByteArray& bytes, int offset)
{
    const qint32 field = LittleEndian::read32(bytes, offset);
    const auto bits = static_cast<quint32>(field);
    quint32 word = 0;
    if (field < 0)
        word = highResolutionBit | (bits & velocityMask);
    else if (field > 0)
        word = bits & velocityMask;

    ProgramStep step;
    step.velocityWord = static_cast<quint16>(word);
    step.x = LittleEndian::read32(bytes, qint64{offset} + 4);
    step.y = LittleEndian::read32(bytes, qint64{offset} + 8);
    step.z = LittleEndian::read32(bytes, qint64{offset} + 12);
    return step;
}
