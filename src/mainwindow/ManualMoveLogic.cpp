#include "ManualMoveLogic.h"

#include "TextNumber.h"
#include "Units.h"

qint32 ManualMoveLogic::fieldValue(const QString& text)
{
    return TextNumber::parse(text.toStdString(), maxFieldChars);
}

Position ManualMoveLogic::moveTarget(const QString& x, const QString& y, const QString& z)
{
    return Units::micronsToMicrosteps(Position{fieldValue(x), fieldValue(y), fieldValue(z)});
}

Position ManualMoveLogic::stepTarget(const Position& current, Step step, const QString& stepSizeText)
{
    // Wrapping arithmetic, as the 32-bit values on the wire.
    const quint32 d = static_cast<quint32>(Units::micronsToMicrosteps(fieldValue(stepSizeText)));
    auto add = [](qint32 value, quint32 delta) { return static_cast<qint32>(static_cast<quint32>(value) + delta); };
    auto sub = [](qint32 value, quint32 delta) { return static_cast<qint32>(static_cast<quint32>(value) - delta); };
    Position p = current;
    switch (step) {
    case Step::Back:
        p.y = sub(p.y, d);
        break;
    case Step::Front:
        p.y = add(p.y, d);
        break;
    case Step::Left:
        p.x = sub(p.x, d);
        break;
    case Step::Right:
        p.x = add(p.x, d);
        break;
    case Step::Up:
        p.z = sub(p.z, d);
        break;
    case Step::Down:
        p.z = add(p.z, d);
        break;
    }
    return p;
}
