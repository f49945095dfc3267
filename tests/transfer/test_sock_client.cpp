// The socket layer against a scripted loopback server: line reading with
// peek, capture, cancel and time-out, connection failures, host look-up and
// the cost of waiting.
#include "tests/common/loopback_server.h"
#include "transfer/sock_client.h"
#include "transfer/sock_errors.h"
#include "transfer/transfer_errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>

using namespace vdx;

namespace {

void ConnectTo(TSockClient& client, const LoopbackServer& server) {
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Connect();
}

double ThreadCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

} // namespace

TEST(SockClient, ReadLnTakesNoByteAfterTheLineFeed) {
    LoopbackServer server({[](ServerConn& c) { c.Send("first\r\nsecond\nrest\r\nof data"); }});
    TSockClient client;
    ConnectTo(client, server);
    EXPECT_TRUE(client.Connected());
    std::string line;
    client.ReadLn(line);
    EXPECT_EQ(line, "first\r\n");
    client.ReadLn(line);
    EXPECT_EQ(line, "second\n");
    std::string rest;
    client.CaptureString(rest, -1);
    EXPECT_EQ(rest, "rest\r\nof data");
    EXPECT_EQ(client.BytesRecvd(), 13);
}

TEST(SockClient, LinesAndDataArrivingOneByteAtATime) {
    LoopbackServer server({[](ServerConn& c) {
        c.SendBytewise("ab\r\ncd\n", 1);
        c.SendBytewise("xyz", 15);
        c.Send("tail without line feed");
    }});
    TSockClient client;
    int packets = 0;
    client.OnPacketRecvd = [&] { ++packets; };
    ConnectTo(client, server);
    std::string line;
    client.ReadLn(line);
    EXPECT_EQ(line, "ab\r\n");
    client.ReadLn(line);
    EXPECT_EQ(line, "cd\n");
    std::string three;
    client.CaptureString(three, 3);
    EXPECT_EQ(three, "xyz") << "a size stops the capture without taking more";
    EXPECT_GE(packets, 1);
    client.ReadLn(line);
    EXPECT_EQ(line, "") << "a last line without line feed is no line";
}

TEST(SockClient, CancelStopsACaptureAndIsClearedAfterwards) {
    LoopbackServer server({[](ServerConn& c) { c.SendBytewise(std::string(400, 'x'), 10); }});
    TSockClient client;
    ConnectTo(client, server);
    QTimer::singleShot(100, [&] { client.Cancel(); });
    std::string s;
    const long long start = NowMs();
    try {
        client.CaptureString(s, -1);
        FAIL() << "the capture ended without the cancel";
    } catch (const EAbortError& e) {
        EXPECT_STREQ(e.what(), "Socket capture aborted");
    }
    EXPECT_LT(NowMs() - start, 3000);
    EXPECT_FALSE(client.Canceled());
    EXPECT_GT(s.size(), 0u);
}

TEST(SockClient, TimeOutEndsAWaitForASilentServer) {
    LoopbackServer server({[](ServerConn& c) { c.WaitClientClosed(5000); }});
    TSockClient client;
    client.TimeOut = 150;
    ConnectTo(client, server);
    std::string line;
    const long long start = NowMs();
    EXPECT_THROW(client.ReadLn(line), EAbortError);
    EXPECT_TRUE(client.TimedOut());
    EXPECT_FALSE(client.Canceled());
    EXPECT_GE(NowMs() - start, 140);
    EXPECT_LT(NowMs() - start, 3000);
}

TEST(SockClient, RefusedConnectReportsAndLeavesTheClientUsable) {
    RefusedPort refused;
    TSockClient client;
    int failed = 0;
    client.OnConnectionFailed = [&] { ++failed; };
    client.Host = "127.0.0.1";
    client.Port = refused.Port();
    try {
        client.Connect();
        FAIL() << "connected to a port nobody listens on";
    } catch (const ESockError& e) {
        EXPECT_STREQ(e.what(), "Connection Failed");
    }
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(client.LastError(), WSAECONNREFUSED);
    EXPECT_FALSE(client.Connected());

    LoopbackServer server({[](ServerConn& c) { c.Send("ok\n"); }});
    ConnectTo(client, server);
    std::string line;
    client.ReadLn(line);
    EXPECT_EQ(line, "ok\n");
    EXPECT_THROW(client.Connect(), ESockError) << "already connected";
}

TEST(SockClient, UnresolvableHostIsRetriedOnceWhenHandled) {
    TSockClient client;
    client.Host = "no-such-host.zenx-test.invalid";
    client.Port = 80;
    int asked = 0;
    client.OnInvalidHost = [&](bool& handled) {
        ++asked;
        handled = true;
    };
    try {
        client.Connect();
        FAIL() << "an invalid host connected";
    } catch (const ESockError& e) {
        EXPECT_STREQ(e.what(), "Null Remote Address");
    }
    EXPECT_EQ(asked, 1);
    EXPECT_GE(client.LastError(), 11001);
}

TEST(SockClient, DottedAddressesSkipTheLookupAndNamesUseIt) {
    LoopbackServer server(
        {[](ServerConn& c) { c.Send("a\n"); }, [](ServerConn& c) { c.Send("b\n"); }});
    TSockClient client;
    int resolved = 0;
    int disconnected = 0;
    client.OnHostResolved = [&] { ++resolved; };
    client.OnDisconnect = [&] { ++disconnected; };
    ConnectTo(client, server);
    EXPECT_EQ(resolved, 0);
    client.Disconnect();
    EXPECT_EQ(disconnected, 1);
    client.Host = "localhost";
    client.Connect();
    EXPECT_EQ(resolved, 1);
    EXPECT_EQ(client.RemoteAddress(), htonl(INADDR_LOOPBACK));
    std::string line;
    client.ReadLn(line);
    EXPECT_EQ(line, "b\n");
}

TEST(SockClient, WaitingForASlowReplyLeavesTheProcessorIdle) {
    LoopbackServer server({[](ServerConn& c) {
        c.Pause(500);
        c.Send("late\n");
    }});
    TSockClient client;
    ConnectTo(client, server);
    const double cpuBefore = ThreadCpuMs();
    const long long start = NowMs();
    std::string line;
    client.ReadLn(line);
    const double wall = double(NowMs() - start);
    const double cpu = ThreadCpuMs() - cpuBefore;
    EXPECT_EQ(line, "late\n");
    EXPECT_GE(wall, 400);
    EXPECT_LT(cpu, wall * 0.25) << "a wait that spins costs its whole duration";
}

TEST(SockClient, TransactionAndStatusLevels) {
    LoopbackServer server({[](ServerConn& c) {
        if (c.ReadAtLeast(8) == "HELO x\r\n")
            c.Send("250 fine\r\n");
    }});
    TSockClient client;
    std::vector<std::string> statuses;
    client.OnStatus = [&](const std::string& s) { statuses.push_back(s); };
    ConnectTo(client, server);
    client.ReportLevel = 1;
    std::string reply;
    client.Transaction("HELO x", reply);
    EXPECT_EQ(reply, "250 fine\r\n");
    EXPECT_EQ(client.ReplyNumber(), 250);
    EXPECT_EQ(statuses, std::vector<std::string>{"250 fine\r\n"});
    client.ReportLevel = 8;
    client.Disconnect();
    EXPECT_EQ(statuses.at(1), "Disconnecting");
    EXPECT_EQ(statuses.at(2), "Request Close Socket");
}

TEST(SockClient, SendFileSendsTheBytesUnchanged) {
    QTemporaryDir dir;
    std::string bytes(200000, '\0');
    std::mt19937 rng(7);
    for (char& c : bytes)
        c = char(rng());
    const QString name = dir.filePath("users.dat");
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    file.close();

    std::string received;
    LoopbackServer server({[&](ServerConn& c) { received = c.ReadAtLeast(bytes.size()); }});
    TSockClient client;
    int sent = 0;
    client.OnPacketSent = [&] { ++sent; };
    ConnectTo(client, server);
    client.SendFile(QFile::encodeName(name).toStdString());
    ASSERT_TRUE(server.WaitFinished(5000));
    EXPECT_TRUE(received == bytes);
    EXPECT_EQ(client.BytesSent(), int64_t(bytes.size()));
    EXPECT_GE(sent, 4) << "one report per buffer of 64 KiB at least";
    EXPECT_THROW(client.SendFile(QFile::encodeName(dir.filePath("gone")).toStdString()),
                 EFileError);
}

TEST(SockClient, ReadLineStopsAtItsBoundAndTellsHowTheLineEnded) {
    LoopbackServer server({[](ServerConn& c) { c.Send("0123456789abc\nshort\nunfinished"); }});
    TSockClient client;
    ConnectTo(client, server);
    std::string line;
    EXPECT_EQ(client.ReadLine(line, 10), TLineEnd::TooLong);
    EXPECT_EQ(line, "0123456789");
    EXPECT_EQ(client.ReadLine(line, 10), TLineEnd::LineFeed) << "the rest stays for the next read";
    EXPECT_EQ(line, "abc\n");
    EXPECT_EQ(client.ReadLine(line, 10), TLineEnd::LineFeed);
    EXPECT_EQ(line, "short\n");
    EXPECT_EQ(client.ReadLine(line, 100), TLineEnd::Closed);
    EXPECT_EQ(line, "unfinished");
}
