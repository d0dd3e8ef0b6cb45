#include "Commands.h"

#include "LittleEndian.h"

namespace {

constexpr char carriageReturn = '\r';

QByteArray bare(char command)
{
    QByteArray out(1, command);
    out.append(carriageReturn);
    return out;
}

QByteArray withProgramNumber(char command, quint16 program)
{
    QByteArray out(1, command);
    LittleEndian::append16(out, program);
    out.append(carriageReturn);
    return out;
}

} // namespace

QByteArray Commands::positionQuery() { return bare('c'); }

QByteArray Commands::move(const Position& microsteps)
{
    QByteArray out(1, 'm');
    LittleEndian::append32(out, microsteps.x);
    LittleEndian::append32(out, microsteps.y);
    LittleEndian::append32(out, microsteps.z);
    out.append(carriageReturn);
    return out;
}

QByteArray Commands::velocity(quint16 word)
{
    // Both bytes of the word are always sent, zero bytes included.
    QByteArray out(1, 'V');
    LittleEndian::append16(out, word);
    out.append(carriageReturn);
    return out;
}

QByteArray Commands::interrupt() { return bare('\x03'); }
QByteArray Commands::continueRun() { return bare('e'); }
QByteArray Commands::refreshDisplay() { return bare('n'); }
QByteArray Commands::statusQuery() { return bare('s'); }
QByteArray Commands::reset() { return bare('r'); }
QByteArray Commands::setOrigin() { return bare('o'); }
QByteArray Commands::absoluteMode() { return bare('a'); }
QByteArray Commands::relativeMode() { return bare('b'); }

QByteArray Commands::storeProgram(quint16 program, quint16 stepCount)
{
    QByteArray out(1, 'd');
    LittleEndian::append16(out, program);
    LittleEndian::append16(out, stepCount);
    out.append(carriageReturn);
    return out;
}

QByteArray Commands::programInfo(quint16 program) { return withProgramNumber('u', program); }
QByteArray Commands::runProgram(quint16 program) { return withProgramNumber('k', program); }

Position Commands::decodePositionReply(const QByteArray& reply)
{
    return {LittleEndian::read32(reply, 0), LittleEndian::read32(reply, 4), LittleEndian::read32(reply, 8)};
}

QString Commands::name(char commandByte)
{
    switch (commandByte) {
    case 'c': return QStringLiteral("position query");
    case 'm': return QStringLiteral("move command");
    case 'V': return QStringLiteral("velocity command");
    case '\x03': return QStringLiteral("interrupt command");
    case 'e': return QStringLiteral("continue command");
    case 'n': return QStringLiteral("refresh-display command");
    case 's': return QStringLiteral("status query");
    case 'r': return QStringLiteral("reset command");
    case 'o': return QStringLiteral("set-origin command");
    case 'a': return QStringLiteral("absolute-mode command");
    case 'b': return QStringLiteral("relative-mode command");
    case 'd': return QStringLiteral("store-program command");
    case 'u': return QStringLiteral("program-info command");
    case 'k': return QStringLiteral("run-program command");
    default: return QString();
    }
}
