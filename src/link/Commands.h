#pragma once

#include "Position.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The exact bytes of every command sent to the controller, and the decoding of
// the position reply.
//
// A command is its command byte, its parameters as raw little-endian integers,
// then CR. Nothing is escaped, so CR bytes may also appear inside parameters;
// the controller knows each command's length from its command byte.
class Commands
{
public:
    static QByteArray positionQuery();
    static QByteArray move(const Position& microsteps);
    static QByteArray velocity(quint16 word);
    static QByteArray interrupt();
    static QByteArray continueRun();
    static QByteArray refreshDisplay();
    static QByteArray statusQuery();
    static QByteArray reset();
    static QByteArray setOrigin();
    static QByteArray absoluteMode();
    static QByteArray relativeMode();
    // Only the header: the controller then expects stepCount program steps of
    // ProgramStep::downloadSize bytes each, with no command byte and no CR.
    static QByteArray storeProgram(quint16 program, quint16 stepCount);
    static QByteArray programInfo(quint16 program);
    static QByteArray runProgram(quint16 program);

    // The command table's name for the command that starts with this byte
    // ("position query", "move command", ...); empty for any other byte.
    static QString name(char commandByte);

    // X, Y, Z as signed 32-bit microsteps, then CR.
    static constexpr int positionReplySize = 13;

    // The trailing CR is not checked. Bytes missing from a short reply read as 0.
    static Position decodePositionReply(const QByteArray& reply);
};
