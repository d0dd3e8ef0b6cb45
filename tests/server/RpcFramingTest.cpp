// Bad input gets an error reply and the connection stays; the limits drop
// only the client that passes them.

#include "ServerRig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct BadLine {
    const char* line;
    int code;
};

class RpcFraming : public ::testing::TestWithParam<BadLine> { };

TEST_P(RpcFraming, ErrorReplyAndTheConnectionStays)
{
    ServerRig rig;
    ASSERT_TRUE(rig.listening) << qPrintable(rig.why);
    auto client = rig.client();
    client->send(GetParam().line);
    const QJsonObject reply = client->reply();
    EXPECT_EQ(errorCode(reply), GetParam().code) << QJsonDocument(reply).toJson().constData();
    EXPECT_EQ(reply.value(QStringLiteral("jsonrpc")).toString(), QStringLiteral("2.0"));
    EXPECT_EQ(resultOf(client->request("hello")).value(QStringLiteral("protocol")).toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Lines, RpcFraming,
    ::testing::Values(BadLine { "{not json", -32700 }, BadLine { "[1, 2]", -32600 },
        BadLine { R"({"jsonrpc":"2.0","id":1})", -32600 },
        BadLine { R"({"jsonrpc":"1.0","id":1,"method":"hello"})", -32600 },
        BadLine { R"({"jsonrpc":"2.0","id":{},"method":"hello"})", -32600 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"teleport"})", -32601 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"move","params":[1,2,3]})", -32602 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"move","params":{"x":"1","y":0,"z":0}})", -32602 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"move","params":{"x":1,"y":0}})", -32602 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"move","params":{"x":1,"y":0,"z":0,"w":0}})", -32602 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"move","params":{"x":1e12,"y":0,"z":0}})", 2 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"velocity","params":{"velocity":6551}})", 2 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"velocity","params":{"velocity":10.5}})", 2 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"execute","params":{"program":11}})", -32602 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"run","params":{"file":"a.dat","pause":"ask"}})", -32602 },
        BadLine { R"({"jsonrpc":"2.0","id":1,"method":"run","params":{"file":"/no/such.dat"}})", 6 }));

TEST(RpcLimits, OverlongLineDropsThatClientOnly)
{
    ServerRig rig;
    auto other = rig.client();
    auto client = rig.client();
    client->send(QByteArray(64 * 1024 + 1, 'x'));
    EXPECT_EQ(errorCode(client->next()), 7);
    EXPECT_TRUE(pumpUntil([&] { return client->socket.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(rig.server.clientCount(), 1);
    EXPECT_TRUE(resultOf(other->request("hello")).contains(QStringLiteral("version")));
}

TEST(RpcLimits, ALineOfExactlyTheLimitIsRead)
{
    ServerRig rig;
    auto client = rig.client();
    QByteArray line = R"({"jsonrpc":"2.0","id":1,"method":"hello","pad":")";
    line += QByteArray(64 * 1024 - line.size() - 2, ' ') + "\"}";
    ASSERT_EQ(line.size(), 64 * 1024);
    client->send(line);
    EXPECT_EQ(resultOf(client->reply()).value(QStringLiteral("protocol")).toInt(), 1);
}

TEST(RpcLimits, TheThirtyThirdClientIsTurnedAway)
{
    ServerRig rig;
    std::vector<std::unique_ptr<RpcClient>> clients;
    for (int i = 0; i < 32; ++i)
        clients.push_back(rig.client());
    ASSERT_EQ(rig.server.clientCount(), 32);
    RpcClient extra;
    ASSERT_TRUE(extra.connectTo(rig.path));
    const QJsonObject refusal = extra.next();
    EXPECT_EQ(errorCode(refusal), 7);
    EXPECT_EQ(refusal.value(QStringLiteral("error"))
                  .toObject()
                  .value(QStringLiteral("data"))
                  .toObject()
                  .value(QStringLiteral("kind")),
        QStringLiteral("limit"));
    EXPECT_TRUE(pumpUntil([&] { return extra.socket.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(rig.server.clientCount(), 32);
    EXPECT_EQ(resultOf(clients.back()->request("hello")).value(QStringLiteral("protocol")).toInt(), 1);
}

TEST(RpcLimits, AClientThatStopsReadingIsDroppedPastOneMebibyte)
{
    ServerRig rig;
    auto reader = rig.client();
    // A raw socket that sends requests and never reads a reply.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray native = rig.path.toLocal8Bit();
    std::memcpy(address.sun_path, native.constData(), static_cast<std::size_t>(native.size()));
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::fcntl(fd, F_SETFL, O_NONBLOCK);
    pumpUntil([&] { return rig.server.clientCount() == 2; });
    QByteArray requests;
    for (int i = 0; i < 100; ++i)
        requests += R"({"jsonrpc":"2.0","id":1,"method":"hello"})"
                    "\n";
    qint64 sent = 0;
    bool dropped = false;
    // Replies of about 90 bytes: 1 MiB unsent and the kernel's buffers are
    // passed well before 4 MB of them.
    while (!dropped && sent < 45 * 1024 * 1024 / 10) {
        const ssize_t n = ::write(fd, requests.constData(), static_cast<std::size_t>(requests.size()));
        if (n > 0)
            sent += n;
        QCoreApplication::processEvents();
        dropped = rig.server.clientCount() == 1;
    }
    ::close(fd);
    EXPECT_TRUE(dropped);
    // The other client was never held up.
    EXPECT_EQ(resultOf(reader->request("hello")).value(QStringLiteral("protocol")).toInt(), 1);
}

} // namespace
