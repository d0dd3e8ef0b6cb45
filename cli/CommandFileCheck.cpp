#include "CommandFileCheck.h"

#include "CommandFile.h"
#include "HostCommand.h"
#include "JsonLine.h"
#include "LineReader.h"
#include "ParseHostCommand.h"
#include "TravelLimits.h"
#include "Units.h"

#include <QFile>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

QString textOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Position microstepsOf(const HostCommand& command)
{
    return Units::micronsToMicrosteps(Position{command.x, command.y, command.z});
}

} // namespace

QString CommandFileCheck::refusal(const HostCommand& command, const TravelLimits& limits)
{
    if (command.refused())
        return textOf(HostCommand::refusalText(command.refusal));
    if (command.kind != HostCommand::Kind::Move)
        return {};
    const Position microsteps = microstepsOf(command);
    const auto breach = limits.breach(microsteps.x, microsteps.y, microsteps.z);
    return breach ? QString::fromStdString(TravelLimits::lineReason(*breach)) : QString();
}

QString CommandFileCheck::describe(int lineNumber, const HostCommand& command, const QString& refused)
{
    if (!refused.isEmpty())
        return QStringLiteral("Refused: Line %1 %2").arg(lineNumber).arg(refused);
    const QString name = textOf(HostCommand::name(command.kind));
    switch (command.kind) {
    case HostCommand::Kind::Move: {
        const Position microsteps = microstepsOf(command);
        return QStringLiteral("%1 %2 %3 %4").arg(name).arg(microsteps.x).arg(microsteps.y).arg(microsteps.z);
    }
    case HostCommand::Kind::High:
    case HostCommand::Kind::Low:
        return QStringLiteral("%1 %2").arg(name).arg(command.velocityWord());
    case HostCommand::Kind::Pause:
    case HostCommand::Kind::Other:
        break;
    }
    return name;
}

QJsonObject CommandFileCheck::object(int lineNumber, const HostCommand& command, const QString& refused)
{
    QJsonObject o{{QStringLiteral("line"), lineNumber},
                  {QStringLiteral("kind"), textOf(HostCommand::name(command.kind))}};
    if (!refused.isEmpty()) {
        o.insert(QStringLiteral("refused"), refused);
        return o;
    }
    switch (command.kind) {
    case HostCommand::Kind::Move:
        o.insert(QStringLiteral("microsteps"), JsonLine::position(microstepsOf(command)));
        break;
    case HostCommand::Kind::High:
    case HostCommand::Kind::Low:
        o.insert(QStringLiteral("velocityWord"), command.velocityWord());
        break;
    case HostCommand::Kind::Pause:
    case HostCommand::Kind::Other:
        break;
    }
    return o;
}

QString CommandFileCheck::warning(const std::string& line)
{
    if (LineReader::holdsBareCr(line))
        return QStringLiteral("holds a CR that is not followed by LF: the file's lines seem to end in CR alone, "
                              "and a run reads them as this one line");
    if (line.empty() || line.back() != '\n')
        return QStringLiteral("is the last and does not end in LF; a run reads it as it is");
    return {};
}

CommandFileCheck::Status CommandFileCheck::check(
    const QString& file, bool json, const TravelLimits& limits, QTextStream& out, QTextStream& err)
{
#ifdef Q_OS_WIN
    const std::filesystem::path path(file.toStdWString());
#else
    const std::filesystem::path path(QFile::encodeName(file).toStdString());
#endif
    const auto cannotLoad = [&] {
        out.flush();
        err << "qx410ctl: " << CommandFile::cannotLoadText << " (" << file << ")\n";
        return CannotLoad;
    };
    std::ifstream in;
    if (!CommandFile::openForReading(path, in))
        return cannotLoad();

    Status status = Runnable;
    LineReader reader(in);
    std::string line;
    int number = 0;
    while (reader.next(line)) {
        ++number;
        const HostCommand command = ParseHostCommand(line);
        const QString refused = refusal(command, limits);
        if (!refused.isEmpty())
            status = Refused;
        const QString warned = warning(line);
        if (json) {
            out << JsonLine::of(object(number, command, refused)) << "\n";
            if (!warned.isEmpty())
                out << JsonLine::of({{QStringLiteral("line"), number}, {QStringLiteral("warning"), warned}}) << "\n";
        } else {
            out << describe(number, command, refused) << "\n";
            if (!warned.isEmpty())
                err << "qx410ctl: warning: line " << number << " " << warned << "\n";
        }
    }
    if (reader.failed())
        return cannotLoad();
    out.flush();
    return status;
}
