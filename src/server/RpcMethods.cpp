#include "RpcMethods.h"

#include "ExecuteSession.h"
#include "VelocitySetup.h"

#include <QJsonArray>
#include <QSet>

#include <cmath>
#include <limits>

namespace {
constexpr int kMaxVelocity = 6550;
constexpr int kMaxHighVelocity = 1310;
constexpr int kFirstProgram = 1;
constexpr int kLastProgram = 10;

// The named parameters of one request, read with their types checked.
class Params {
public:
    Params(const QJsonObject& object, std::initializer_list<const char*> known)
        : m_object(object)
    {
        QSet<QString> names;
        for (const char* name : known)
            names.insert(QLatin1String(name));
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!names.contains(it.key()))
                fail(QStringLiteral("unknown parameter \"%1\"").arg(it.key()));
        }
    }

    bool has(const char* name) const { return m_object.contains(QLatin1String(name)); }

    double number(const char* name, double fallback)
    {
        const QJsonValue v = m_object.value(QLatin1String(name));
        if (v.isUndefined())
            return fallback;
        if (!v.isDouble())
            fail(QStringLiteral("\"%1\" must be a number").arg(QLatin1String(name)));
        return v.toDouble();
    }
    int integer(const char* name, int fallback, int minimum, int maximum)
    {
        const QJsonValue v = m_object.value(QLatin1String(name));
        if (v.isUndefined())
            return fallback;
        const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!v.isDouble() || d != std::floor(d) || d < minimum || d > maximum) {
            fail(QStringLiteral("\"%1\" must be a whole number from %2 to %3")
                     .arg(QLatin1String(name))
                     .arg(minimum)
                     .arg(maximum));
            return fallback;
        }
        return static_cast<int>(d);
    }
    bool boolean(const char* name, bool fallback)
    {
        const QJsonValue v = m_object.value(QLatin1String(name));
        if (v.isUndefined())
            return fallback;
        if (!v.isBool())
            fail(QStringLiteral("\"%1\" must be true or false").arg(QLatin1String(name)));
        return v.toBool();
    }
    QString text(const char* name, bool required)
    {
        const QJsonValue v = m_object.value(QLatin1String(name));
        if (v.isUndefined() && required)
            fail(QStringLiteral("\"%1\" is required").arg(QLatin1String(name)));
        else if (!v.isUndefined() && (!v.isString() || v.toString().isEmpty()))
            fail(QStringLiteral("\"%1\" must be a non-empty string").arg(QLatin1String(name)));
        return v.toString();
    }
    void require(const char* name)
    {
        if (!has(name))
            fail(QStringLiteral("\"%1\" is required").arg(QLatin1String(name)));
    }

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return QStringLiteral("Invalid params: ") + m_error; }

private:
    void fail(const QString& why)
    {
        if (m_error.isEmpty())
            m_error = why;
    }

    QJsonObject m_object;
    QString m_error;
};
} // namespace

struct RpcMethods::Reply {
    QJsonValue result;
    int code = 0;
    QString message;
    QString kind;

    static Reply of(const QJsonValue& value)
    {
        Reply r;
        r.result = value;
        return r;
    }
    static Reply error(int code, const QString& message, const QString& kind = QString())
    {
        Reply r;
        r.code = code;
        r.message = message;
        r.kind = kind;
        return r;
    }
    static Reply error(const ServerError& e)
    {
        return error(RpcProtocol::code(e.kind), e.message, RpcProtocol::kindName(e.kind));
    }
    static Reply invalid(const Params& p) { return error(RpcProtocol::invalidParams, p.error()); }
    static Reply busy()
    {
        return error(RpcProtocol::busyError, QStringLiteral("The controller is busy with another operation"),
            QStringLiteral("busy"));
    }
};

RpcMethods::RpcMethods(ServerBackend& backend, const QString& program, const QString& programVersion)
    : m_backend(backend)
    , m_program(program)
    , m_programVersion(programVersion)
{
}

bool RpcMethods::toMicrosteps(double microns, char axis, qint32* microsteps, QString* why)
{
    const double steps = microns * 25.0;
    const double limit = static_cast<double>(std::numeric_limits<qint32>::max());
    if (!std::isfinite(steps) || std::nearbyint(steps) > limit || std::nearbyint(steps) < -limit - 1) {
        *why = QStringLiteral("%1 = %2 µm lies outside the range the controller can carry (%3 to %4 µm)")
                   .arg(QLatin1Char(axis))
                   .arg(microns)
                   .arg(-(limit + 1) / 25.0, 0, 'f', 2)
                   .arg(limit / 25.0, 0, 'f', 2);
        return false;
    }
    *microsteps = static_cast<qint32>(std::lround(steps));
    return true;
}

QJsonObject RpcMethods::microns(const Position& p)
{
    return { { QStringLiteral("x"), p.x / 25.0 }, { QStringLiteral("y"), p.y / 25.0 },
        { QStringLiteral("z"), p.z / 25.0 } };
}

QJsonValue RpcMethods::limitValue(const std::optional<std::int64_t>& microsteps)
{
    return microsteps ? QJsonValue(static_cast<double>(*microsteps) / 25.0) : QJsonValue(QJsonValue::Null);
}

TravelLimits RpcMethods::limitsFromObject(const QJsonObject& object)
{
    TravelLimits limits;
    for (int axis = 0; axis < TravelLimits::axes; ++axis) {
        const QJsonObject o = object.value(QString(QLatin1Char(static_cast<char>('x' + axis)))).toObject();
        TravelLimits::Range r;
        const QJsonValue lower = o.value(QStringLiteral("lower"));
        const QJsonValue upper = o.value(QStringLiteral("upper"));
        if (lower.isDouble())
            r.lower = std::llround(lower.toDouble() * 25.0);
        if (upper.isDouble())
            r.upper = std::llround(upper.toDouble() * 25.0);
        limits.setRange(axis, r);
    }
    return limits;
}

QJsonObject RpcMethods::limitsObject(const TravelLimits& limits)
{
    QJsonObject o;
    for (int axis = 0; axis < TravelLimits::axes; ++axis) {
        const TravelLimits::Range& r = limits.range(axis);
        o.insert(QString(QLatin1Char(static_cast<char>('x' + axis))),
            QJsonObject { { QStringLiteral("lower"), limitValue(r.lower) }, { QStringLiteral("upper"), limitValue(r.upper) } });
    }
    return o;
}

QJsonObject RpcMethods::eventParams(const ServerEvent& e)
{
    auto named = [](const char* name) { return QJsonObject { { QStringLiteral("event"), QLatin1String(name) } }; };
    QJsonObject o;
    switch (e.kind) {
    case ServerEvent::Kind::Position:
        o = named("position");
        o.insert(QStringLiteral("position"), microns(e.microsteps));
        break;
    case ServerEvent::Kind::Busy:
        o = named("busy");
        break;
    case ServerEvent::Kind::Idle:
        o = named("idle");
        break;
    case ServerEvent::Kind::RunStarted:
        o = named("runStarted");
        o.insert(QStringLiteral("file"), e.detail);
        break;
    case ServerEvent::Kind::RunEnded:
        o = named("runEnded");
        o.insert(QStringLiteral("outcome"), e.detail);
        break;
    case ServerEvent::Kind::ProgramStarted:
        o = named("programStarted");
        o.insert(QStringLiteral("program"), e.program);
        break;
    case ServerEvent::Kind::ProgramEnded:
        o = named("programEnded");
        o.insert(QStringLiteral("program"), e.program);
        break;
    case ServerEvent::Kind::SettingsChanged:
        o = named("settings");
        o.insert(QStringLiteral("velocity"), e.velocity);
        o.insert(QStringLiteral("resolution"), e.high ? QStringLiteral("high") : QStringLiteral("low"));
        break;
    case ServerEvent::Kind::Lost:
        o = named("lost");
        o.insert(QStringLiteral("message"), e.detail);
        break;
    case ServerEvent::Kind::Recovered:
        o = named("recovered");
        break;
    case ServerEvent::Kind::LimitsChanged:
        o = named("limits");
        o.insert(QStringLiteral("limits"), limitsObject(e.limits));
        break;
    }
    return o;
}

QByteArray RpcMethods::call(const RpcProtocol::Request& request)
{
    const Reply reply = dispatch(request);
    if (request.id.isUndefined())
        return QByteArray();
    if (reply.code != 0)
        return RpcProtocol::error(request.id, reply.code, reply.message, reply.kind);
    return RpcProtocol::result(request.id, reply.result);
}

RpcMethods::Reply RpcMethods::dispatch(const RpcProtocol::Request& request)
{
    const QString& m = request.method;
    const QJsonObject& params = request.params;
    // Requests that never start an exchange of their own, or must always
    // reach the wire.
    if (m == QLatin1String("hello"))
        return hello();
    if (m == QLatin1String("position"))
        return position();
    // The limits need no wire: they change at once, even during a move (the
    // move under way was checked when it started).
    if (m == QLatin1String("limits"))
        return limits(params);
    if (m == QLatin1String("stop") || m == QLatin1String("halt") || m == QLatin1String("continue")) {
        Params p(params, {});
        if (!p.ok())
            return Reply::invalid(p);
        const ServerStatus s = m == QLatin1String("stop") ? m_backend.stop()
            : m == QLatin1String("halt")                  ? m_backend.halt()
                                                          : m_backend.continueRun();
        return s ? Reply::error(*s) : Reply::of(QJsonObject());
    }
    const bool getter = params.isEmpty() && (m == QLatin1String("velocity") || m == QLatin1String("resolution"));
    static const char* const kWire[]
        = { "move", "velocity", "resolution", "status", "refresh", "run", "download", "execute", "upload", "programs",
              "reset", "origin" };
    bool known = false;
    for (const char* name : kWire)
        known = known || m == QLatin1String(name);
    if (!known)
        return Reply::error(RpcProtocol::methodNotFound, QStringLiteral("Method not found: %1").arg(m));
    if (!getter) {
        if (const ServerStatus s = m_backend.unavailable())
            return Reply::error(*s);
    }
    if (!getter && (m_depth > 0 || m_backend.busy()))
        return Reply::busy();

    ++m_depth;
    Reply reply;
    if (m == QLatin1String("move"))
        reply = move(params);
    else if (m == QLatin1String("velocity"))
        reply = velocity(params);
    else if (m == QLatin1String("resolution"))
        reply = resolution(params);
    else if (m == QLatin1String("status"))
        reply = status();
    else if (m == QLatin1String("refresh") || m == QLatin1String("reset") || m == QLatin1String("origin")) {
        Params p(params, {});
        const ServerStatus s = !p.ok()           ? ServerStatus()
            : m == QLatin1String("refresh")      ? m_backend.refresh()
            : m == QLatin1String("reset")        ? m_backend.reset()
                                                 : m_backend.origin();
        reply = !p.ok() ? Reply::invalid(p) : s ? Reply::error(*s) : Reply::of(QJsonObject());
    } else if (m == QLatin1String("run"))
        reply = run(params);
    else if (m == QLatin1String("download") || m == QLatin1String("upload"))
        reply = programTransfer(m, params);
    else if (m == QLatin1String("execute"))
        reply = execute(params);
    else
        reply = programs();
    --m_depth;
    return reply;
}

RpcMethods::Reply RpcMethods::hello()
{
    return Reply::of(QJsonObject { { QStringLiteral("program"), m_program },
        { QStringLiteral("version"), m_programVersion }, { QStringLiteral("protocol"), RpcProtocol::version } });
}

RpcMethods::Reply RpcMethods::position()
{
    // During an operation the last position read stands: no wire traffic.
    if (const ServerStatus s = m_backend.unavailable())
        return Reply::error(*s);
    Position p = m_backend.lastPosition();
    if (m_depth == 0 && !m_backend.busy()) {
        if (const ServerStatus s = m_backend.position(&p))
            return Reply::error(*s);
    }
    return Reply::of(QJsonObject { { QStringLiteral("position"), microns(p) } });
}

RpcMethods::Reply RpcMethods::move(const QJsonObject& params)
{
    Params p(params, { "x", "y", "z", "relative" });
    const bool relative = p.boolean("relative", false);
    if (!relative) {
        p.require("x");
        p.require("y");
        p.require("z");
    }
    const double um[3] = { p.number("x", 0), p.number("y", 0), p.number("z", 0) };
    if (!p.ok())
        return Reply::invalid(p);
    Position base;
    if (relative) {
        if (const ServerStatus s = m_backend.position(&base))
            return Reply::error(*s);
    }
    qint32 steps[3] = {};
    const qint32 from[3] = { base.x, base.y, base.z };
    for (int axis = 0; axis < 3; ++axis) {
        QString why;
        // A relative move is checked where it ends.
        const double target = um[axis] + from[axis] / 25.0;
        if (!toMicrosteps(target, static_cast<char>('X' + axis), &steps[axis], &why))
            return Reply::error(RpcProtocol::rangeError, why, QStringLiteral("range"));
    }
    Position reached;
    if (const ServerStatus s = m_backend.move(Position { steps[0], steps[1], steps[2] }, &reached))
        return Reply::error(*s);
    return Reply::of(QJsonObject { { QStringLiteral("position"), microns(reached) } });
}

RpcMethods::Reply RpcMethods::velocity(const QJsonObject& params)
{
    Params p(params, { "velocity" });
    if (!p.ok())
        return Reply::invalid(p);
    if (p.has("velocity")) {
        const int v = p.integer("velocity", -1, 0, kMaxVelocity);
        if (!p.ok())
            return Reply::error(RpcProtocol::rangeError, VelocitySetup::rangeText, QStringLiteral("range"));
        if (m_backend.highResolution() && v > kMaxHighVelocity)
            return Reply::error(RpcProtocol::refusedError, VelocitySetup::highResolutionText, QStringLiteral("refused"));
        if (const ServerStatus s = m_backend.setVelocity(v))
            return Reply::error(*s);
    }
    return Reply::of(QJsonObject { { QStringLiteral("velocity"), m_backend.velocity() } });
}

RpcMethods::Reply RpcMethods::resolution(const QJsonObject& params)
{
    Params p(params, { "resolution" });
    const QString wanted = p.text("resolution", false);
    if (p.ok() && !wanted.isEmpty() && wanted != QLatin1String("high") && wanted != QLatin1String("low"))
        return Reply::error(
            RpcProtocol::invalidParams, QStringLiteral("Invalid params: \"resolution\" must be \"high\" or \"low\""));
    if (!p.ok())
        return Reply::invalid(p);
    if (!wanted.isEmpty()) {
        const bool high = wanted == QLatin1String("high");
        if (high && m_backend.velocity() > kMaxHighVelocity)
            return Reply::error(RpcProtocol::refusedError,
                QStringLiteral("Can not set resolution to high! \r\nAt high resolution, the speed has "
                               "to be less than 1310"),
                QStringLiteral("refused"));
        if (const ServerStatus s = m_backend.setResolution(high))
            return Reply::error(*s);
    }
    return Reply::of(QJsonObject { { QStringLiteral("resolution"),
        m_backend.highResolution() ? QStringLiteral("high") : QStringLiteral("low") } });
}

RpcMethods::Reply RpcMethods::status()
{
    std::array<int, StatusBlock::count> numbers {};
    if (const ServerStatus s = m_backend.status(&numbers))
        return Reply::error(*s);
    QJsonArray list;
    for (const int n : numbers)
        list.append(n);
    return Reply::of(QJsonObject { { QStringLiteral("status"), list } });
}

RpcMethods::Reply RpcMethods::run(const QJsonObject& params)
{
    Params p(params, { "file", "loop", "pause" });
    ServerBackend::RunRequest request;
    request.file = p.text("file", true);
    request.loops = p.integer("loop", 1, 0, std::numeric_limits<int>::max());
    const QString pause = p.text("pause", false);
    if (p.ok() && !pause.isEmpty() && pause != QLatin1String("continue") && pause != QLatin1String("halt"))
        return Reply::error(
            RpcProtocol::invalidParams, QStringLiteral("Invalid params: \"pause\" must be \"continue\" or \"halt\""));
    if (!p.ok())
        return Reply::invalid(p);
    request.pause
        = pause == QLatin1String("continue") ? ServerBackend::PauseAnswer::Continue : ServerBackend::PauseAnswer::Halt;
    ServerBackend::RunResult result;
    if (const ServerStatus s = m_backend.run(request, &result))
        return Reply::error(*s);
    return Reply::of(QJsonObject {
        { QStringLiteral("position"), microns(result.reached) }, { QStringLiteral("halted"), result.halted } });
}

RpcMethods::Reply RpcMethods::programTransfer(const QString& method, const QJsonObject& params)
{
    Params p(params, { "file", "program" });
    const QString file = p.text("file", true);
    p.require("program");
    const int program = p.integer("program", 0, kFirstProgram, kLastProgram);
    if (!p.ok())
        return Reply::invalid(p);
    int steps = 0;
    const ServerStatus s = method == QLatin1String("download") ? m_backend.download(file, program, &steps)
                                                               : m_backend.upload(program, file, &steps);
    if (s)
        return Reply::error(*s);
    return Reply::of(QJsonObject { { QStringLiteral("steps"), steps } });
}

RpcMethods::Reply RpcMethods::execute(const QJsonObject& params)
{
    Params p(params, { "program", "relative", "confirm" });
    p.require("program");
    const int program = p.integer("program", 0, kFirstProgram, kLastProgram);
    const bool relative = p.boolean("relative", false);
    const bool confirm = p.boolean("confirm", false);
    if (!p.ok())
        return Reply::invalid(p);
    // Nobody at the server can be asked: the client confirms a relative run
    // that the travel limits cannot check.
    if (relative && !confirm && m_backend.travelLimits().any())
        return Reply::error(RpcProtocol::travelError, ExecuteSession::relativeNotRunText.arg(program),
            QStringLiteral("travel"));
    Position reached;
    if (const ServerStatus s = m_backend.execute(program, relative, &reached))
        return Reply::error(*s);
    return Reply::of(QJsonObject { { QStringLiteral("position"), microns(reached) } });
}

RpcMethods::Reply RpcMethods::programs()
{
    std::array<int, 10> steps {};
    if (const ServerStatus s = m_backend.programs(&steps))
        return Reply::error(*s);
    QJsonArray list;
    for (const int n : steps)
        list.append(n);
    return Reply::of(QJsonObject { { QStringLiteral("programs"), list } });
}

RpcMethods::Reply RpcMethods::limits(const QJsonObject& params)
{
    TravelLimits limits = m_backend.travelLimits();
    if (!params.isEmpty()) {
        Params p(params, { "axis", "lower", "upper" });
        const QString axisName = p.text("axis", true);
        p.require("lower");
        p.require("upper");
        if (!p.ok())
            return Reply::invalid(p);
        const int axis = TravelLimits::axisOf(axisName.toStdString());
        if (axis < 0)
            return Reply::error(
                RpcProtocol::invalidParams, QStringLiteral("Invalid params: \"axis\" must be \"x\", \"y\" or \"z\""));
        TravelLimits::Range range;
        const char* const names[2] = { "lower", "upper" };
        for (int end = 0; end < 2; ++end) {
            const QJsonValue v = params.value(QLatin1String(names[end]));
            if (v.isNull())
                continue;
            if (!v.isDouble())
                return Reply::error(RpcProtocol::invalidParams,
                    QStringLiteral("Invalid params: \"%1\" must be a number or null").arg(QLatin1String(names[end])));
            qint32 steps = 0;
            QString why;
            if (!toMicrosteps(v.toDouble(), TravelLimits::axisLetter(axis), &steps, &why))
                return Reply::error(RpcProtocol::rangeError, why, QStringLiteral("range"));
            (end == 0 ? range.lower : range.upper) = steps;
        }
        if (!limits.setRange(axis, range))
            return Reply::error(RpcProtocol::refusedError,
                QString::fromStdString(TravelLimits::orderRefusalText(axis, *range.lower, *range.upper)),
                QStringLiteral("refused"));
        if (const ServerStatus s = m_backend.setTravelLimits(limits))
            return Reply::error(*s);
        limits = m_backend.travelLimits();
    }
    return Reply::of(QJsonObject { { QStringLiteral("limits"), limitsObject(limits) } });
}
