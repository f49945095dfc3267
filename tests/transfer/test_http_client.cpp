// The HTTP client against a scripted loopback server: the bytes of its
// requests, the reading of replies and the following of redirects.
#include "tests/common/loopback_server.h"
#include "transfer/http_client.h"
#include "transfer/transfer_errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vdx;

namespace {

const std::string kAcceptAndType =
    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
    "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
    "Content-type: application/x-www-form-urlencoded\r\n";

// Records the outcome events of a client.
struct Outcome {
    std::vector<CmdType> succeeded, failed;
    explicit Outcome(THttpClient& http) {
        http.OnSuccess = [this](CmdType c) { succeeded.push_back(c); };
        http.OnFailure = [this](CmdType c) { failed.push_back(c); };
    }
    bool Success() const { return succeeded.size() == 1 && failed.empty(); }
    bool Failure() const { return succeeded.empty() && failed.size() == 1; }
};

std::string Url(const LoopbackServer& server, const std::string& path) {
    return "127.0.0.1:" + std::to_string(server.Port()) + path;
}

std::string ReadFile(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

} // namespace

TEST(HttpClient, GetSendsTheExactRequestAndKeepsTheBody) {
    LoopbackServer server;
    server.Serve(
        {Reply(server, "HTTP/1.0 200 OK\r\nContent-Length: 11\r\nServer: t\r\n\r\nhello world")});
    THttpClient http;
    Outcome outcome(http);
    http.Get(Url(server, "/zenx/iusers.dat"));
    EXPECT_TRUE(outcome.Success());
    EXPECT_EQ(outcome.succeeded.at(0), CmdType::Get);
    EXPECT_EQ(http.Status(), 200);
    EXPECT_EQ(http.Body, "hello world");
    EXPECT_EQ(http.Header, "HTTP/1.0 200 OK\r\nContent-Length: 11\r\nServer: t\r\n\r\n");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "GET /zenx/iusers.dat HTTP/1.0\r\nHost: 127.0.0.1\r\n" + kAcceptAndType + "\r\n");
    EXPECT_FALSE(http.Connected());
}

TEST(HttpClient, PostSendsTheFileUnchangedAndWritesTheHeaderFile) {
    QTemporaryDir dir;
    const std::string bytes("[Jan]\r\nPassword=\0x\r\n\xff end", 26);
    QFile file(dir.filePath("users.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    file.close();

    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 200 OK\r\n\r\nthanks")});
    THttpClient http;
    Outcome outcome(http);
    http.OutputFileMode = true;
    http.Header = QFile::encodeName(dir.filePath("head.txt")).toStdString();
    http.Post(Url(server, "/zenx/zenxws.dll?action=zenxdata"),
              QFile::encodeName(file.fileName()).toStdString());
    EXPECT_TRUE(outcome.Success());
    EXPECT_EQ(outcome.succeeded.at(0), CmdType::Post);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "POST /zenx/zenxws.dll?action=zenxdata HTTP/1.0\r\n"
                                    "Host: 127.0.0.1\r\n" +
                                        kAcceptAndType + "Content-Length: 26\r\n\r\n" + bytes);
    EXPECT_EQ(ReadFile(dir.filePath("head.txt")), "HTTP/1.0 200 OK\r\n\r\n");
    EXPECT_EQ(http.Body, "thanks");
}

TEST(HttpClient, BodyOntoDiskAndFormEncodedPostData) {
    QTemporaryDir dir;
    const std::string body("binary\0\r\ndata", 13);
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 200 OK\r\n\r\n" + body),
                  Reply(server, "HTTP/1.0 200 OK\r\n\r\n")});
    THttpClient http;
    http.InputFileMode = true;
    http.Body = QFile::encodeName(dir.filePath("body.bin")).toStdString();
    http.Get(Url(server, "/x"));
    EXPECT_EQ(ReadFile(dir.filePath("body.bin")), body);

    http.InputFileMode = false;
    http.Post(Url(server, "/form"), "naam=Jan de Vries");
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string& post = requests[1];
    EXPECT_NE(post.find("Content-Length: 19\r\n\r\nnaam%3dJan+de+Vries"), std::string::npos);
}

TEST(HttpClient, ErrorStatusCallsOnFailureWithoutRaising) {
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 404 Not Found\r\n\r\nnope")});
    THttpClient http;
    Outcome outcome(http);
    EXPECT_NO_THROW(http.Get(Url(server, "/missing")));
    EXPECT_TRUE(outcome.Failure());
    EXPECT_EQ(http.Status(), 404);
}

TEST(HttpClient, ReplyWithoutStatusLineIsAllBody) {
    const std::string reply = "[Stats]\r\nA=1\r\n\r\n[More]\r\nB=2\r\n";
    LoopbackServer server;
    server.Serve({Reply(server, reply)});
    THttpClient http;
    Outcome outcome(http);
    http.Get(Url(server, "/iusers.dat"));
    EXPECT_TRUE(outcome.Success());
    EXPECT_EQ(http.Status(), 0);
    EXPECT_EQ(http.Body, reply) << "no line of it may be taken for a header";
}

TEST(HttpClient, ClosingWithoutAnyReplyIsAFailure) {
    LoopbackServer server;
    server.Serve({Reply(server, ""), Reply(server, "HTTP/1.0 200 OK\r\n\r\npart")});
    THttpClient http;
    Outcome outcome(http);
    http.Get(Url(server, "/a"));
    EXPECT_TRUE(outcome.Failure());
    http.Get(Url(server, "/b"));
    EXPECT_EQ(outcome.succeeded.size(), 1u);
}

TEST(HttpClient, DeclaredLengthDecidesCompletenessAndEnd) {
    LoopbackServer server;
    server.Serve({
        // Two spaces before the digits; the server then keeps the line open.
        [&](ServerConn& c) {
            server.Record(c.ReadRequest());
            c.Send("HTTP/1.0 200 OK\r\nContent-Length:  5\r\n\r\n12345");
            c.WaitClientClosed(5000);
        },
        // Cut short of its length.
        Reply(server, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nonly ten b"),
    });
    THttpClient http;
    Outcome outcome(http);
    const long long start = NowMs();
    http.Get(Url(server, "/a"));
    EXPECT_LT(NowMs() - start, 4000) << "the body ends at its declared length";
    EXPECT_EQ(http.ContentLength(), 5);
    EXPECT_EQ(http.Body, "12345");
    EXPECT_TRUE(outcome.Success());

    http.Get(Url(server, "/b"));
    EXPECT_EQ(http.Body, "only ten b");
    EXPECT_EQ(outcome.failed.size(), 1u) << "a cut body is no success";
    EXPECT_EQ(outcome.succeeded.size(), 1u);
}

TEST(HttpClient, RedirectIsFollowedWithTheCookie) {
    LoopbackServer server;
    server.Serve(
        {Reply(server, "HTTP/1.0 302 Found\r\nLocation: /moved?x=1\r\nSet-Cookie: id=7\r\n\r\n"),
         Reply(server, "HTTP/1.0 200 OK\r\n\r\nnew")});
    THttpClient http;
    Outcome outcome(http);
    http.Get(Url(server, "/old"));
    EXPECT_TRUE(outcome.Success());
    EXPECT_EQ(http.Body, "new");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].rfind("GET /moved?x=1 HTTP/1.0\r\n", 0), 0u);
    EXPECT_NE(requests[1].find("\r\nCookie: id=7\r\n"), std::string::npos);
}

TEST(HttpClient, RedirectHandledByTheCallerIsNotFollowed) {
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 301 Moved\r\nLocation: /b\r\n\r\n"),
                  Reply(server, "HTTP/1.0 200 OK\r\n\r\nnot wanted")});
    THttpClient http;
    Outcome outcome(http);
    int asked = 0;
    http.OnRedirect = [&](bool& handled) {
        ++asked;
        handled = true;
    };
    http.Get(Url(server, "/a"));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_TRUE(outcome.succeeded.empty());
}

TEST(HttpClient, RedirectsEndAfterTheirBound) {
    LoopbackServer server;
    const std::string loop = "HTTP/1.0 302 Found\r\nLocation: /again\r\n\r\n";
    server.Serve(
        {Reply(server, loop), Reply(server, loop), Reply(server, loop), Reply(server, loop)});
    THttpClient http;
    http.MaxRedirects = 2;
    Outcome outcome(http);
    http.Get(Url(server, "/start"));
    EXPECT_EQ(server.Requests().size(), 3u);
    EXPECT_TRUE(outcome.Failure());
}

TEST(HttpClient, PortInTheUrlIsUsedAndHttpsRaisesBeforeConnecting) {
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 200 OK\r\n\r\n")});
    THttpClient http;
    EXPECT_THROW(http.Get("https://127.0.0.1:" + std::to_string(server.Port()) + "/x"), EHttpError);
    EXPECT_EQ(server.Accepted(), 0);
    http.Get("localhost:" + std::to_string(server.Port()) + "/x");
    EXPECT_EQ(server.Accepted(), 1);
    EXPECT_EQ(http.Port, server.Port());
    EXPECT_NE(server.Requests().at(0).find("\r\nHost: localhost\r\n"), std::string::npos);
}

TEST(HttpClient, ChunkedBodyEndsWithItsLastChunkNotTheClose) {
    LoopbackServer server;
    server.Serve({[&](ServerConn& c) {
        server.Record(c.ReadRequest());
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nTransfer-Encoding: chunked\r\n\r\n"
               "5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n");
        c.WaitClientClosed(5000);
    }});
    THttpClient http;
    Outcome outcome(http);
    const long long start = NowMs();
    http.Get(Url(server, "/c"));
    EXPECT_LT(NowMs() - start, 4000) << "the last chunk ends the body";
    EXPECT_TRUE(outcome.Success());
    EXPECT_EQ(http.Body, "hello world") << "chunking wins over a Content-Length";
    EXPECT_EQ(http.BodyLength(), 11);
    EXPECT_TRUE(http.ReplyComplete());
}

TEST(HttpClient, OnlyTheStartOfAnErrorBodyIsRead) {
    LoopbackServer server;
    server.Serve({[&](ServerConn& c) {
        server.Record(c.ReadRequest());
        c.Send("HTTP/1.0 500 Oops\r\n\r\n");
        c.SendRepeated(std::string(4096, 'e'), size_t(1) << 20);
        c.WaitClientClosed(5000);
    }});
    THttpClient http;
    Outcome outcome(http);
    http.Get(Url(server, "/e"));
    EXPECT_TRUE(outcome.Failure());
    EXPECT_EQ(http.Body.size(), 64u * 1024) << "the rest is never read";
}

TEST(HttpClient, HeaderLinesAreBoundedButAHeaderlessBodyIsNot) {
    // A reply without a status line may start with a line of any length.
    const std::string longLine(20000, 'x');
    LoopbackServer server;
    server.Serve({Reply(server, longLine + "\r\nrest"),
                  Reply(server, "HTTP/1.0 200 OK\r\nX: " + longLine + "\r\n\r\nbody")});
    THttpClient http;
    Outcome outcome(http);
    http.Get(Url(server, "/a"));
    EXPECT_EQ(http.Body, longLine + "\r\nrest");
    http.Get(Url(server, "/b"));
    EXPECT_EQ(outcome.succeeded.size(), 1u);
    EXPECT_EQ(outcome.failed.size(), 1u);
    EXPECT_LE(http.Header.size(), 8u * 1024) << "no more of the line than the bound is held";
}
