#include "CtlPrograms.h"

#include "CommandFile.h"
#include "CtlProgramHost.h"
#include "DownloadSession.h"
#include "EnterPresses.h"
#include "ExecuteSession.h"
#include "JsonLine.h"
#include "PausePrompts.h"
#include "PortDevice.h"
#include "ProgramExchange.h"
#include "ProgramFileReader.h"
#include "ProgramUpload.h"
#include "RunSignals.h"
#include "SerialLink.h"
#include "TerminalProgress.h"
#include "UploadSession.h"
#include "VelocityWord.h"

#include <filesystem>

namespace {

bool programNumber(const QString& text, int* program)
{
    bool ok = false;
    *program = text.toInt(&ok);
    return ok && *program >= ProgramExchange::firstProgram && *program <= ProgramExchange::lastProgram;
}
} // namespace

bool CtlPrograms::handles(const QString& command)
{
    for (const char* name : {"download", "execute", "continue", "upload", "programs"}) {
        if (command == QLatin1String(name))
            return true;
    }
    return false;
}

CtlPrograms::CtlPrograms(Clock& clock, Prompts& prompts, QTextStream& out, QTextStream& err)
    : m_clock(clock)
    , m_prompts(prompts)
    , m_out(out)
    , m_err(err)
    , m_enterInput(EnterPresses::terminalInput())
{
}

int CtlPrograms::prepare(const CtlOptions& o)
{
    const QString command = o.command;
    const int numberAt = command == QLatin1String("download") ? 1 : 0;
    if ((command == QLatin1String("download") || command == QLatin1String("execute")
         || command == QLatin1String("upload"))
        && !programNumber(o.args[numberAt], &m_program)) {
        m_err << "qx410ctl: " << command << ": the program number must be 1 to 10, not '" << o.args[numberAt]
              << "'\n";
        return 1;
    }
    if (command != QLatin1String("download"))
        return -1;

    const ProgramFileReader::Result read = ProgramFileReader::load(
        std::filesystem::path(o.args[0].toStdU16String()), VelocityWord::encode(o.velocitySetting, o.high), m_limits);
    switch (read.outcome) {
    case ProgramFileReader::Outcome::Loaded:
        m_steps = read.steps;
        return -1;
    case ProgramFileReader::Outcome::CannotLoad:
        m_err << "qx410ctl: " << CommandFile::cannotLoadText << " (" << o.args[0] << ")\n";
        return 2;
    case ProgramFileReader::Outcome::NoSteps:
        m_err << "qx410ctl: download: " << o.args[0] << " holds no Move or Pause line; nothing to store\n";
        return 1;
    case ProgramFileReader::Outcome::TooManySteps:
        m_err << "qx410ctl: " << DownloadSession::tooManyStepsText << " (" << o.args[0] << ")\n";
        return 1;
    case ProgramFileReader::Outcome::Refused:
        m_err << "qx410ctl: " << DownloadSession::refusedMessage(read.line, read.refusal) << " (" << o.args[0] << ")\n";
        return 1;
    case ProgramFileReader::Outcome::OutsideLimits:
        m_err << "qx410ctl: " << DownloadSession::outsideLimitsMessage(read.line, read.breach) << " (" << o.args[0]
              << ")\n";
        return 1;
    }
    return 1;
}

LinkStatus CtlPrograms::run(const CtlOptions& o, SerialLink& link, PortDevice& port)
{
    ProgramExchange exchange(link, m_clock);
    m_exitStatus = 0;
    // A line that shows how far a download or an upload has come.
    TerminalProgress progress(m_err, TerminalProgress::wanted(o.json, TerminalProgress::standardErrorIsTerminal()));
    if (o.command == QLatin1String("download") || o.command == QLatin1String("upload"))
        exchange.setProgress(&progress);
    if (o.command == QLatin1String("download")) {
        const LinkStatus status = exchange.store(m_program, m_steps);
        if (status == LinkStatus::Ok)
            m_out << m_steps.size() << "\n";
        return status;
    }
    if (o.command == QLatin1String("execute"))
        return execute(o, link, port);
    if (o.command == QLatin1String("continue"))
        return exchange.continueRun(false);
    if (o.command == QLatin1String("upload")) {
        ProgramUpload upload(exchange);
        const ProgramUpload::Result result = upload.run(m_program, o.args[1]);
        if (result == ProgramUpload::Result::NoAnswer)
            return upload.linkStatus();
        if (result == ProgramUpload::Result::CannotWrite) {
            m_err << "qx410ctl: " << UploadSession::cannotWriteText << " (" << o.args[1] << ")\n";
            m_exitStatus = 2;
            return LinkStatus::Ok;
        }
        m_out << upload.stepCount() << "\n";
        return LinkStatus::Ok;
    }
    // programs
    for (int n = ProgramExchange::firstProgram; n <= ProgramExchange::lastProgram; ++n) {
        std::vector<StepValues> steps;
        const LinkStatus status = exchange.upload(n, &steps);
        if (status != LinkStatus::Ok)
            return status;
        if (o.json)
            m_out << JsonLine::of({{QStringLiteral("program"), n}, {QStringLiteral("steps"), static_cast<int>(steps.size())}})
                  << "\n";
        else
            m_out << n << " " << steps.size() << "\n";
    }
    return LinkStatus::Ok;
}

bool CtlPrograms::relativeRunAllowed(const CtlOptions& o, const TravelLimits& limits, int program, bool terminal,
                                     QTextStream& err)
{
    if (!o.relative || o.yes || !limits.any())
        return true;
    if (!terminal) {
        err << "qx410ctl: execute: " << ExecuteSession::relativeNotRunText.arg(program)
            << " Give --yes to run it anyway.\n";
        return false;
    }
    err.flush();
    if (PausePrompts::ask(ExecuteSession::relativeQuestion.arg(program), stdin, stderr) == Prompts::Answer::Yes)
        return true;
    err << "qx410ctl: execute: program " << program << " was not run\n";
    return false;
}

LinkStatus CtlPrograms::execute(const CtlOptions& o, SerialLink& link, PortDevice& port)
{
    // Asked before anything is sent.
    if (!relativeRunAllowed(o, m_limits, m_program, m_enterInput >= 0, m_err)) {
        m_exitStatus = 1;
        return LinkStatus::Ok;
    }
    ProgramExchange exchange(link, m_clock);
    // As Select Program does: a program without steps is not run.
    int steps = 0;
    const LinkStatus counted = exchange.stepCount(m_program, &steps);
    if (counted != LinkStatus::Ok)
        return counted;
    if (steps == 0) {
        m_err << "qx410ctl: " << ExecuteSession::emptyProgramText << " (program " << m_program << ")\n";
        m_exitStatus = 1;
        return LinkStatus::Ok;
    }

    CtlProgramHost host(link, VelocityWord::encode(o.velocitySetting, o.high), m_limits, m_program, m_out, o.json);
    ExecuteSession session(exchange, m_prompts, host);
    session.setRelativeConfirmed(true); // asked above
    EnterPresses enter(m_enterInput);
    if (enter.watching()) {
        m_err << "qx410ctl: program " << m_program
              << " runs; Enter lets it go on past a pause step, Ctrl+C halts it\n";
        m_err.flush();
    }
    RunSignals interrupts; // until the run has ended
    bool halted = false;
    // While the run is awaited: wait on the port, a little at a time, and
    // carry out Halt once as soon as a signal asks for it. Enter sends the
    // continue command: the operator has seen the program wait at a pause step.
    link.setMessagePump([&] {
        if (RunSignals::raised() && !halted && session.running()) {
            halted = true;
            session.halt();
            return true;
        }
        port.waitForData(RunSignals::pollMs);
        if (enter.take() > 0 && session.running() && !RunSignals::raised()) {
            m_err << "qx410ctl: continue\n";
            m_err.flush();
            exchange.continueRun(true);
        }
        return true;
    });
    const LinkStatus status = session.execute(!o.relative);
    link.setMessagePump(nullptr);
    if (RunSignals::raised())
        m_exitStatus = haltedBySignal;
    return status;
}
