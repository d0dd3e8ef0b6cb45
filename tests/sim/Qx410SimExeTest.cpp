// The qx410-sim executable: arguments, --run and exit status, --link, --trace.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const std::string kSimExe = QX410_SIM_EXE;

struct Captured
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs qx410-sim with `args`, capturing standard output and error.
Captured runSim(const std::vector<std::string>& args)
{
    char dir[] = "/tmp/qx410simexeXXXXXX";
    Captured result;
    if (!::mkdtemp(dir))
        return result;
    const std::string outPath = std::string(dir) + "/out";
    const std::string errPath = std::string(dir) + "/err";

    std::vector<std::string> words{kSimExe};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    }
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    ::unlink(outPath.c_str());
    ::unlink(errPath.c_str());
    ::rmdir(dir);
    return result;
}

struct ExitCase
{
    std::string name;
    std::vector<std::string> args;
    int exitCode;
};

void PrintTo(const ExitCase& c, std::ostream* os)
{
    *os << c.name;
}

class SimExecutableExit : public testing::TestWithParam<ExitCase>
{
};

TEST_P(SimExecutableExit, ExitStatus)
{
    const Captured run = runSim(GetParam().args);
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SimExecutableExit,
    testing::Values(ExitCase{"DeviceExistsForChild", {"--run", "/bin/sh", "-c", "test -e \"$QX410_COM1\""}, 0},
                    ExitCase{"ChildStatusPassedOn", {"--run", "/bin/sh", "-c", "exit 3"}, 3},
                    ExitCase{"ChildKilledBySignal", {"--run", "/bin/sh", "-c", "kill -TERM $$"}, 128 + 15},
                    ExitCase{"ChildCannotStart", {"--run", "/nonexistent/program"}, 127},
                    ExitCase{"Help", {"--help"}, 0},
                    ExitCase{"UnknownArgument", {"--bogus"}, 1},
                    ExitCase{"RunWithoutCommand", {"--run"}, 1},
                    ExitCase{"ZeroTimeScale", {"--time-scale", "0", "--run", "true"}, 1},
                    ExitCase{"UnknownFault", {"--fault", "smoke", "--run", "true"}, 1},
                    ExitCase{"NegativeFaultAfter", {"--fault-after", "-1", "--run", "true"}, 1},
                    ExitCase{"LinkWithoutPath", {"--link"}, 1}),
    [](const testing::TestParamInfo<ExitCase>& info) { return info.param.name; });

TEST(SimExecutable, PrintsDeviceAndLinksIt)
{
    char dir[] = "/tmp/qx410simlinkXXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/ttyQX";
    // An old link is replaced.
    ASSERT_EQ(::symlink("/nonexistent", link.c_str()), 0);
    const Captured run = runSim({"--link", link, "--run", "/bin/sh", "-c",
                                 "test \"$(readlink '" + link + "')\" = \"$QX410_COM1\" && echo \"child $QX410_COM1\""});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // With --run the device path goes to standard error; standard output is the child's.
    const std::string device = run.err.substr(0, run.err.find('\n'));
    EXPECT_EQ(device.rfind("/dev/", 0), 0u) << run.err;
    EXPECT_EQ(run.out, "child " + device + "\n");
    struct stat st{};
    EXPECT_NE(::lstat(link.c_str(), &st), 0) << "link left behind";
    ::rmdir(dir);
}

TEST(SimExecutable, ServesTheChildAndTracesBytes)
{
    const Captured run = runSim(
        {"--trace", "--run", "/bin/sh", "-c",
         "exec 3<>\"$QX410_COM1\"; printf 'n\\r' >&3; timeout 5 head -c 1 <&3 | od -An -tx1 | tr -d ' '"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "0d\n");
    EXPECT_NE(run.err.find(" host> 6E 0D\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" ctrl< 0D\n"), std::string::npos) << run.err;
}

} // namespace
