#pragma once

// A command-file run on the in-process simulated controller and the virtual
// clock, through the controller alone (no main window); command files in a
// temporary folder.

#include "Commands.h"
#include "Controller.h"
#include "ControllerMoves.h"
#include "HostExecutor.h"
#include "Printing.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

struct ExecRig
{
    ExecRig()
        : port(controller, clock)
        , link(port, clock, prompts, serial)
        , control(link)
        , moves(control, clock, 1000)
    {
        link.open();
        link.setMessagePump([this] {
            ++pumps;
            if (duringWait)
                duringWait();
            port.waitForData(1000);
            return true;
        });
    }

    // Writes a command file of these lines, each ended by CR LF.
    QString file(const QStringList& lines, const QString& name = QStringLiteral("run.dat"))
    {
        const QString path = folder.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (const QString& line : lines)
            f.write(line.toLatin1() + "\r\n");
        return path;
    }

    // The move command and the two position queries that follow it.
    static QByteArray moveBytes(qint32 x, qint32 y, qint32 z)
    {
        return Commands::move(Position{x, y, z}) + hex("630D 630D");
    }

    // As the dialog runs, without the turns for events between lines.
    static HostExecutor::Options dialogLike() { return HostExecutor::Options::commandLine(); }

    QTemporaryDir folder;
    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings serial;
    SerialLink link;
    Controller control;
    ControllerMoves moves;
    int pumps = 0;
    // Runs on every turn of a move's wait.
    std::function<void()> duringWait;
};

// Halt sequence bytes: velocity word 1, continue, interrupt.
inline QByteArray haltBytes()
{
    return hex("5601000D 650D 030D");
}
// The velocity setting 1000 sent again, low resolution.
inline QByteArray restoreBytes()
{
    return hex("56E8030D");
}
