#include "CommandFileCheck.h"

#include "CommandFile.h"
#include "HostCommand.h"
#include "ParseHostCommand.h"
#include "Units.h"

#include <QFile>

#include <filesystem>
#include <string>
#include <vector>

QString CommandFileCheck::describe(const HostCommand& command)
{
    const QString name = QString::fromLatin1(HostCommand::name(command.kind).data(),
                                             static_cast<qsizetype>(HostCommand::name(command.kind).size()));
    switch (command.kind) {
    case HostCommand::Kind::Move: {
        const Position microsteps = Units::micronsToMicrosteps(Position{command.x, command.y, command.z});
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

bool CommandFileCheck::print(const QString& file, QTextStream& out)
{
#ifdef Q_OS_WIN
    const std::filesystem::path path(file.toStdWString());
#else
    const std::filesystem::path path(QFile::encodeName(file).toStdString());
#endif
    std::vector<std::string> lines;
    if (!CommandFile::readLines(path, lines))
        return false;
    for (const std::string& line : lines)
        out << describe(ParseHostCommand(line)) << "\n";
    return true;
}
