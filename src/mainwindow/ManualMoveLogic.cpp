#include "ManualMoveLogic.h"

#include "MoveRange.h"
#include "TextNumber.h"

qint32 ManualMoveLogic::fieldValue(const QString& text)
{
    return TextNumber::parse(text.toStdString(), maxFieldChars);
}

std::optional<Position> ManualMoveLogic::moveTarget(const QString& x, const QString& y, const QString& z,
                                                    QString* refusal)
{
    return MoveRange::fromMicrons(Position{fieldValue(x), fieldValue(y), fieldValue(z)}, refusal);
}

qint64 ManualMoveLogic::stepMicrosteps(const QString& stepSizeText, Scale scale)
{
    // In 64 bits, so a target beyond the 32-bit count is seen and refused
    // rather than wrapped.
    const qint64 d = qint64{fieldValue(stepSizeText)} * 25;
    switch (scale) {
    case Scale::Normal:
        break;
    case Scale::Tenfold:
        return d * 10;
    case Scale::Tenth:
        return (d >= 0 ? d + 5 : d - 5) / 10; // to the nearest, halves away from zero
    }
    return d;
}

std::optional<Position> ManualMoveLogic::stepTarget(const Position& current, Step step, const QString& stepSizeText,
                                                    QString* refusal)
{
    return stepTarget(current, step, stepSizeText, Scale::Normal, refusal);
}

std::optional<Position> ManualMoveLogic::stepTarget(const Position& current, Step step, const QString& stepSizeText,
                                                    Scale scale, QString* refusal)
{
    const qint64 d = stepMicrosteps(stepSizeText, scale);
    qint64 x = current.x, y = current.y, z = current.z;
    switch (step) {
    case Step::Back:
        y -= d;
        break;
    case Step::Front:
        y += d;
        break;
    case Step::Left:
        x -= d;
        break;
    case Step::Right:
        x += d;
        break;
    case Step::Up:
        z -= d;
        break;
    case Step::Down:
        z += d;
        break;
    }
    return MoveRange::fromMicrosteps(x, y, z, refusal);
}
