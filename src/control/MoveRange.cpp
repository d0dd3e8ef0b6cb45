#include "MoveRange.h"

#include "HostCommand.h"
#include "Prompts.h"

#include <cmath>
#include <limits>

const QString MoveRange::caption = QStringLiteral("Warning");

namespace {
const char kAxes[] = {'X', 'Y', 'Z'};
// The widest target in micrometres whose microsteps still fit.
constexpr qint64 kLimitMicrons = std::numeric_limits<qint32>::max() / 25;
} // namespace

QString MoveRange::refusalText(int axis, qint64 microns)
{
    return QStringLiteral("%1 = %2 µm lies outside the range the controller can carry (%3 to %4 µm).\n"
                          "Nothing was sent.")
        .arg(QLatin1Char(kAxes[axis]))
        .arg(microns)
        .arg(-kLimitMicrons)
        .arg(kLimitMicrons);
}

std::optional<Position> MoveRange::fromMicrons(const Position& microns, QString* refusal)
{
    const qint32 values[] = {microns.x, microns.y, microns.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (!HostCommand::micronsFit(values[axis])) {
            if (refusal)
                *refusal = refusalText(axis, values[axis]);
            return std::nullopt;
        }
    }
    return Position{microns.x * 25, microns.y * 25, microns.z * 25};
}

std::optional<Position> MoveRange::fromMicrosteps(qint64 x, qint64 y, qint64 z, QString* refusal)
{
    const qint64 values[] = {x, y, z};
    for (int axis = 0; axis < 3; ++axis) {
        if (values[axis] < std::numeric_limits<qint32>::min() || values[axis] > std::numeric_limits<qint32>::max()) {
            if (refusal)
                *refusal = refusalText(axis, std::llround(static_cast<double>(values[axis]) * 0.04));
            return std::nullopt;
        }
    }
    return Position{static_cast<qint32>(x), static_cast<qint32>(y), static_cast<qint32>(z)};
}

void MoveRange::showRefusal(Prompts& prompts, const QString& refusal)
{
    prompts.message(refusal, caption, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}
