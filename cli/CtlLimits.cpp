#include "CtlLimits.h"

#include "JsonLine.h"
#include "RpcMethods.h"
#include "TravelLimitsStore.h"
#include "TravelLimitsText.h"

#include <QDir>

#include <cmath>

namespace {
bool isOff(const QString& word)
{
    return word.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0;
}

// A limit in micrometres ("-5000", "12.5") or "off"; false for anything else.
bool readLimit(const QString& word, std::optional<std::int64_t>* limit)
{
    if (isOff(word)) {
        limit->reset();
        return true;
    }
    *limit = TravelLimits::parseMicrons(word.toStdString());
    return limit->has_value();
}
} // namespace

std::optional<CtlLimits::Change> CtlLimits::parseChange(const QStringList& args, QString* why)
{
    Change change;
    change.axis = args.isEmpty() ? -1 : TravelLimits::axisOf(args[0].toStdString());
    if (change.axis < 0) {
        *why = QStringLiteral("limits: the axis is X, Y or Z, not '%1'").arg(args.value(0));
        return std::nullopt;
    }
    if (args.size() == 2) {
        if (!isOff(args[1])) {
            *why = QStringLiteral("limits: give AXIS MIN MAX, or AXIS off, not '%1'").arg(args.join(QLatin1Char(' ')));
            return std::nullopt;
        }
        return change;
    }
    if (args.size() != 3 || !readLimit(args[1], &change.range.lower) || !readLimit(args[2], &change.range.upper)) {
        *why = QStringLiteral("limits: MIN and MAX are micrometres (such as -5000 or 12.5) or off, not '%1'")
                   .arg(args.mid(1).join(QLatin1Char(' ')));
        return std::nullopt;
    }
    if (change.range.lower && change.range.upper && *change.range.lower > *change.range.upper) {
        *why = QStringLiteral("limits: ")
            + QString::fromStdString(
                TravelLimits::orderRefusalText(change.axis, *change.range.lower, *change.range.upper));
        return std::nullopt;
    }
    return change;
}

QString CtlLimits::folder(const CtlOptions& o)
{
    return o.settings.isEmpty() ? QDir::currentPath() : o.settings;
}

bool CtlLimits::loadForMoves(const CtlOptions& o, TravelLimits* limits, QTextStream& err)
{
    const QString& command = o.command;
    const TravelLimitsStore store(folder(o));
    QString why;
    if (store.load(limits, &why) != TravelLimitsStore::Read::Unreadable)
        return true;
    err << "qx410ctl: " << store.unreadableText(why) << "\n";
    err << "qx410ctl: " << command << ": not done while the travel limits cannot be read; mend or remove "
        << store.path() << " (qx410ctl limits shows what is wrong)\n";
    return false;
}

void CtlLimits::print(const TravelLimits& limits, bool json, QTextStream& out)
{
    if (json) {
        out << JsonLine::of(RpcMethods::limitsObject(limits)) << "\n";
        return;
    }
    for (int axis = 0; axis < TravelLimits::axes; ++axis) {
        const TravelLimits::Range& r = limits.range(axis);
        out << TravelLimits::axisLetter(axis) << " " << QString::fromStdString(TravelLimitsText::limitText(r.lower))
            << " " << QString::fromStdString(TravelLimitsText::limitText(r.upper)) << "\n";
    }
}

CtlLimits::CtlLimits(QTextStream& out, QTextStream& err)
    : m_out(out)
    , m_err(err)
{
}

int CtlLimits::run(const CtlOptions& o)
{
    std::optional<Change> change;
    if (!o.args.isEmpty()) {
        QString why;
        change = parseChange(o.args, &why);
        if (!change) {
            m_err << "qx410ctl: " << why << "\n";
            return Usage;
        }
    }
    const TravelLimitsStore store(folder(o));
    TravelLimits limits;
    QString why;
    if (store.load(&limits, &why) == TravelLimitsStore::Read::Unreadable) {
        // Changing one axis would drop the others the operator set.
        m_err << "qx410ctl: " << store.unreadableText(why) << "\n";
        if (change)
            m_err << "qx410ctl: limits: nothing was changed; mend or remove " << store.path() << " first\n";
        return FileFailure;
    }
    if (change) {
        limits.setRange(change->axis, change->range);
        if (!store.save(limits, &why)) {
            m_err << "qx410ctl: " << why << "\n";
            return FileFailure;
        }
    }
    print(limits, o.json, m_out);
    m_out.flush();
    return Done;
}
