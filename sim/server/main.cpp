// qx410-sim: a simulated QX-410 controller on a pseudo-terminal, for running the
// host program and its tests without the hardware.

#include "ProgramPreload.h"
#include "PtyServer.h"
#include "Qx410Version.h"
#include "SimController.h"

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char kUsage[] =
    "Usage: qx410-sim [--link PATH] [--time-scale F] [--trace]\n"
    "                 [--fault silent|short|garbage|count|close] [--fault-after N]\n"
    "                 [--programs [N=]FILE]... [--run COMMAND [ARGS...]]\n"
    "\n"
    "Simulates a QX-410 controller on a pseudo-terminal and prints the device path\n"
    "on the first line of standard output (of standard error with --run).\n"
    "\n"
    "Options:\n"
    "  --link PATH        also make PATH a symbolic link to the device (removed at exit)\n"
    "  --time-scale F     run the controller's clock F times faster than real time (default 1)\n"
    "  --trace            log every byte in and out on standard error\n"
    "  --fault KIND       misbehave: silent (no replies), short (replies cut in half),\n"
    "                     garbage (random replies), count (program-info answers\n"
    "                     announce FF FF steps), close (the device disappears)\n"
    "  --fault-after N    answer the first N commands normally (default 0)\n"
    "  --programs [N=]FILE store the command file FILE as program N (1..10), or as the\n"
    "                     lowest program not yet stored; may be given up to ten times\n"
    "  --run COMMAND ...  run COMMAND with QX410_COM1 set to the device path, serve while\n"
    "                     it runs and exit with its status; without --run, serve until\n"
    "                     SIGINT or SIGTERM\n"
    "  --help             show this text\n"
    "  --version          print the version\n";

struct Arguments
{
    std::string linkPath;
    double timeScale = 1.0;
    bool trace = false;
    std::string fault;
    int faultAfter = 0;
    std::vector<std::string> run;
    std::vector<std::string> programs;
};

// The server that the signal handlers wake up.
qx410sim::PtyServer* g_server = nullptr;

void onSignal(int)
{
    if (g_server)
        g_server->requestStop();
}

bool parseNumber(const char* text, double& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return errno == 0 && end != text && *end == '\0';
}

// Returns -1 to go on, otherwise the exit code (usage shown where appropriate).
int parseArguments(int argc, char** argv, Arguments& args)
{
    auto bad = [](const std::string& why) {
        std::fprintf(stderr, "qx410-sim: %s\n%s", why.c_str(), kUsage);
        return 1;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::puts("qx410-sim " QX410_VERSION);
            return 0;
        } else if (arg == "--trace") {
            args.trace = true;
        } else if (arg == "--link") {
            if (!hasValue)
                return bad("--link needs a path");
            args.linkPath = argv[++i];
        } else if (arg == "--time-scale") {
            double value = 0;
            if (!hasValue || !parseNumber(argv[++i], value) || !(value > 0) || !std::isfinite(value))
                return bad("--time-scale needs a positive number");
            args.timeScale = value;
        } else if (arg == "--fault") {
            if (!hasValue)
                return bad("--fault needs a kind");
            args.fault = argv[++i];
            if (args.fault != "silent" && args.fault != "short" && args.fault != "garbage" && args.fault != "count"
                && args.fault != "close")
                return bad("unknown fault '" + args.fault + "'");
        } else if (arg == "--fault-after") {
            double value = 0;
            if (!hasValue || !parseNumber(argv[++i], value) || value < 0 || value > 1e9 || value != std::floor(value))
                return bad("--fault-after needs a whole number >= 0");
            args.faultAfter = static_cast<int>(value);
        } else if (arg == "--programs") {
            if (!hasValue)
                return bad("--programs needs a command file");
            args.programs.emplace_back(argv[++i]);
        } else if (arg == "--run") {
            for (++i; i < argc; ++i)
                args.run.emplace_back(argv[i]);
            if (args.run.empty())
                return bad("--run needs a command");
        } else {
            return bad("unknown argument '" + arg + "'");
        }
    }
    return -1;
}

void installHandler(int signal, void (*handler)(int), int flags)
{
    struct sigaction action{};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;
    sigaction(signal, &action, nullptr);
}

pid_t startChild(const std::vector<std::string>& command, const std::string& device)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    // Child: plain signal dispositions, the device in the environment, then exec.
    installHandler(SIGINT, SIG_DFL, 0);
    installHandler(SIGTERM, SIG_DFL, 0);
    installHandler(SIGCHLD, SIG_DFL, 0);
    installHandler(SIGPIPE, SIG_DFL, 0);
    ::setenv("QX410_COM1", device.c_str(), 1);
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    std::fprintf(stderr, "qx410-sim: cannot run %s: %s\n", argv[0], std::strerror(errno));
    ::_exit(127);
}

int exitCodeOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    Arguments args;
    const int early = parseArguments(argc, argv, args);
    if (early >= 0)
        return early;

    qx410sim::Faults faults;
    faults.silent = args.fault == "silent";
    faults.shortReplies = args.fault == "short";
    faults.garbage = args.fault == "garbage";
    faults.badCount = args.fault == "count";
    faults.afterCommands = args.faultAfter;

    qx410sim::PtyServerOptions options;
    options.linkPath = args.linkPath;
    options.timeScale = args.timeScale;
    options.trace = args.trace ? stderr : nullptr;
    options.closeAfterCommands = args.fault == "close" ? args.faultAfter : -1;

    qx410sim::SimController controller(faults);
    qx410sim::ProgramPreload preload(controller);
    for (const std::string& argument : args.programs) {
        const std::string why = preload.add(argument);
        if (!why.empty()) {
            std::fprintf(stderr, "qx410-sim: --programs: %s\n", why.c_str());
            return 1;
        }
    }
    qx410sim::PtyServer server(controller, options);
    if (!server.open()) {
        std::fprintf(stderr, "qx410-sim: %s\n", server.errorString().c_str());
        return 1;
    }
    // With --run, standard output belongs to the command, so the device path
    // goes to standard error instead.
    std::FILE* announce = args.run.empty() ? stdout : stderr;
    std::fprintf(announce, "%s\n", server.devicePath().c_str());
    std::fflush(announce);

    g_server = &server;
    installHandler(SIGPIPE, SIG_IGN, 0);
    installHandler(SIGINT, onSignal, 0);
    installHandler(SIGTERM, onSignal, 0);

    int exitCode = 0;
    if (args.run.empty()) {
        server.serve();
    } else {
        // SIGCHLD ends serving once the child is gone (installed before the fork so
        // an early exit is not missed: the wake-up waits in the server's pipe).
        installHandler(SIGCHLD, onSignal, SA_NOCLDSTOP);
        const pid_t child = startChild(args.run, server.devicePath());
        if (child < 0) {
            std::fprintf(stderr, "qx410-sim: fork: %s\n", std::strerror(errno));
            exitCode = 1;
        } else {
            server.serve();
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) != child) {
                // Stopped by SIGINT or SIGTERM while the child still runs: pass it on.
                ::kill(child, SIGTERM);
                while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
                }
            }
            exitCode = exitCodeOf(status);
        }
    }

    g_server = nullptr;
    server.close();
    return exitCode;
}
