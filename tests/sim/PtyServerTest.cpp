// The simulated controller served on a real pseudo-terminal, in-process.

#include "PtyClient.h"
#include "PtyServer.h"
#include "SimController.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace simtest;
using qx410sim::PtyServer;
using qx410sim::PtyServerOptions;
using qx410sim::SimController;

namespace {

std::string readAll(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    char buffer[512];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    return text;
}

bool pathExists(const std::string& path)
{
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0;
}

TEST(SimPtyServer, AnswersOverThePseudoTerminal)
{
    std::FILE* trace = std::tmpfile();
    ASSERT_NE(trace, nullptr);
    SimController controller;
    PtyServerOptions options;
    options.timeScale = 100; // a 100 ms move takes 1 ms
    options.trace = trace;
    PtyServer server(controller, options);
    ASSERT_TRUE(server.open()) << server.errorString();
    ASSERT_EQ(server.devicePath().rfind("/dev/", 0), 0u) << server.devicePath();
    server.start();

    PtyClient client(server.devicePath());
    ASSERT_TRUE(client.isOpen());
    ASSERT_TRUE(client.write(plain('c')));
    EXPECT_EQ(client.read(13, 2000), positionReply(0, 0, 0));

    ASSERT_TRUE(client.write(move(2500, -25, 0x0D0D)));
    EXPECT_EQ(client.read(1, 2000), Bytes{SimController::kCompletionByte});
    ASSERT_TRUE(client.write(plain('c')));
    EXPECT_EQ(client.read(13, 2000), positionReply(2500, -25, 0x0D0D));
    server.stop();

    const std::string log = readAll(trace);
    std::fclose(trace);
    EXPECT_NE(log.find(" host> 63 0D\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" ctrl< 00 00 00 00 00 00 00 00 00 00 00 00 0D\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" ctrl< C4 09 00 00 E7 FF FF FF 0D 0D 00 00 0D\n"), std::string::npos) << log;
}

TEST(SimPtyServer, CloseFaultMakesThePortVanish)
{
    char dir[] = "/tmp/qx410simXXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/COM1";

    SimController controller;
    PtyServerOptions options;
    options.linkPath = link;
    options.closeAfterCommands = 1;
    PtyServer server(controller, options);
    ASSERT_TRUE(server.open()) << server.errorString();
    EXPECT_TRUE(pathExists(link));
    server.start();

    {
        PtyClient client(link);
        ASSERT_TRUE(client.isOpen());
        ASSERT_TRUE(client.write(plain('n')));
        EXPECT_EQ(client.read(1, 2000), Bytes{0x0D});
        ASSERT_TRUE(client.write(plain('n'))); // the second command is never answered
        EXPECT_TRUE(client.waitForHangup(2000));
    }
    EXPECT_FALSE(server.isOpen());
    EXPECT_FALSE(pathExists(link));
    server.stop();
    ::rmdir(dir);
}

} // namespace
