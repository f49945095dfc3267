// The real libveldux.so against servers that misbehave: cut, empty, endless,
// silent, chunked, redirected and reset replies. Every failure must leave
// the old file byte for byte and nothing beside it.
#include "tests/transfer/veldux_fixture.h"
#include "transfer/veldux.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

const QByteArray kOld = "[Women.Answers]\r\nABC0010001=50\r\n; \xe9\xff\r\n";

// Peak resident memory of the process in KiB, and a reset of that peak to
// the present size, so that a test sees its own peak.
long PeakKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}
bool ResetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

QString StatusLines() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("MainForm"))
            if (auto* list = w->findChild<QPlainTextEdit*>(QStringLiteral("StatusLst")))
                return list->toPlainText();
    return {};
}

class HostileServer : public VelduxTest {
protected:
    void SetUp() override {
        Load(kOld);
        ASSERT_TRUE(open());
    }
    void TearDown() override {
        if (close) {
            EXPECT_TRUE(close());
        }
        if (handle)
            dlclose(handle);
    }

    int32_t Get(const LoopbackServer& server) {
        return getFile(Base(server).c_str(), "iusers.dat", dest);
    }
    QByteArray Dest() const { return Read(dest); }
    // The old file is there, unchanged, and alone.
    void ExpectOldFileKept(const std::string& what) const {
        EXPECT_EQ(Dest(), kOld) << what;
        EXPECT_EQ(QDir(dir.filePath("User")).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"iusers.dat"})
            << what;
    }
};

struct BadReply {
    const char* what;
    std::string reply;
};

} // namespace

TEST_F(HostileServer, CutEmptyAndMalformedRepliesFailAndKeepTheOldFile) {
    const BadReply replies[] = {
        {"status line only", "HTTP/1.0 200 OK\r\n"},
        {"status line without line feed", "HTTP/1.0 200 OK"},
        {"header cut before its blank line", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n"},
        {"header cut inside a line", "HTTP/1.0 200 OK\r\nContent-Len"},
        {"no content", "HTTP/1.0 204 No Content\r\n\r\n"},
        {"declared empty body", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n"},
        {"empty body to the close", "HTTP/1.0 200 OK\r\n\r\n"},
        {"body shorter than its length",
         "HTTP/1.0 200 OK\r\nContent-Length: 500\r\n\r\n[Women.Answers]\r\nA=1\r\n"},
        {"conflicting lengths",
         "HTTP/1.0 200 OK\r\nContent-Length: 3\r\nContent-Length: 9\r\n\r\n[A]\r\nB=1\r\n"},
        {"unknown transfer coding", "HTTP/1.0 200 OK\r\nTransfer-Encoding: gzip\r\n\r\nxxxx"},
        {"chunk size not hexadecimal",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n[A]\r\n0\r\n\r\n"},
        {"negative chunk size",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n-5\r\n[A]\r\n0\r\n\r\n"},
        {"empty chunk size line",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n\r\n[A]\r\n0\r\n\r\n"},
        {"chunk longer than its size",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\n[A]\r\n0\r\n\r\n"},
        {"chunk size beyond any bound",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffffff\r\nx"},
        {"chunked body without its last chunk",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\n[A]\r\n\r\n"},
    };
    for (const BadReply& bad : replies) {
        LoopbackServer server;
        server.Serve({Reply(server, bad.reply)});
        EXPECT_EQ(Get(server), VELDUX_REQUEST_FAILED) << bad.what;
        ExpectOldFileKept(bad.what);
        if (bad.reply.starts_with("HTTP/1.0 204")) {
            EXPECT_TRUE(StatusLines().contains("No Content")) << "told apart from a cut reply";
        }
    }
    EXPECT_TRUE(StatusLines().contains("Get Failed\nNo Succes")) << StatusLines().toStdString();
}

TEST_F(HostileServer, EndlessHeaderLinesAreRefusedWithinBoundedMemory) {
    // 512 MB of one header line, then of one status line; the client must
    // give up after its bound instead of holding what it was sent.
    const std::string junk(64 * 1024, 'a');
    const size_t total = size_t(512) << 20;
    for (const std::string start : {"HTTP/1.0 200 OK\r\nX-Junk: ", "HTTP/1.0 200 "}) {
        LoopbackServer server;
        size_t sent = 0;
        server.Serve({[&](ServerConn& c) {
            c.ReadRequest();
            if (c.Send(start))
                sent = c.SendRepeated(junk, total);
        }});
        ASSERT_TRUE(ResetPeak());
        const long before = PeakKiB();
        EXPECT_EQ(Get(server), VELDUX_REQUEST_FAILED) << start;
        const long growth = PeakKiB() - before;
        RecordProperty(start.size() > 14 ? "header_line_peak_growth_kib"
                                         : "status_line_peak_growth_kib",
                       int(growth));
        EXPECT_LT(growth, 32 * 1024) << "KiB of peak growth";
        ASSERT_TRUE(server.WaitFinished(5000));
        EXPECT_LT(sent, total) << "the client stopped reading";
        ExpectOldFileKept(start);
    }
}

TEST_F(HostileServer, HeaderOfCountlessShortLinesIsRefused) {
    std::string reply = "HTTP/1.0 200 OK\r\n";
    while (reply.size() < 200 * 1024)
        reply += "X-A: b\r\n";
    LoopbackServer server;
    server.Serve({Reply(server, reply + "\r\n[A]\r\nB=1\r\n")});
    EXPECT_EQ(Get(server), VELDUX_REQUEST_FAILED);
    ExpectOldFileKept("huge header");
}

TEST_F(HostileServer, HugeBodiesAreRefusedWithinBoundedMemory) {
    const std::string block = "[A]\r\n" + std::string(64 * 1024 - 5, 'b');
    const size_t total = size_t(96) << 20;
    LoopbackServer server;
    size_t sent = 0;
    server.Serve({// No length: the body runs on past the bound.
                  [&](ServerConn& c) {
                      c.ReadRequest();
                      if (c.Send("HTTP/1.0 200 OK\r\n\r\n"))
                          sent = c.SendRepeated(block, total);
                  },
                  // A declared length beyond the bound is refused before the body.
                  [&](ServerConn& c) {
                      server.Record(c.ReadRequest());
                      c.Send("HTTP/1.0 200 OK\r\nContent-Length: 1000000000\r\n\r\n" + block);
                      c.WaitClientClosed(5000);
                  }},
                 20000);
    ASSERT_TRUE(ResetPeak());
    const long before = PeakKiB();
    EXPECT_EQ(Get(server), VELDUX_REQUEST_FAILED);
    const long growth = PeakKiB() - before;
    RecordProperty("body_peak_growth_kib", int(growth));
    EXPECT_LT(growth, 32 * 1024) << "KiB of peak growth";
    ExpectOldFileKept("endless body");
    EXPECT_EQ(Get(server), VELDUX_REQUEST_FAILED);
    ExpectOldFileKept("declared huge body");
    ASSERT_TRUE(server.WaitFinished(5000));
    // It read up to its bound and stopped there, well before the end.
    EXPECT_GE(sent, size_t(64) << 20);
    EXPECT_LT(sent, total);
}

TEST_F(HostileServer, SilentServersTimeOut) {
    qputenv("ZENX_TRANSFER_TIMEOUT_MS", "300");
    LoopbackServer server;
    server.Serve({// Never answers.
                  [&](ServerConn& c) {
                      c.ReadRequest();
                      c.WaitClientClosed(8000);
                  },
                  // Stops in the middle of the body.
                  [&](ServerConn& c) {
                      c.ReadRequest();
                      c.Send("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n[A]\r\n");
                      c.WaitClientClosed(8000);
                  }},
                 20000);
    const long long start = NowMs();
    const int32_t silent = Get(server);
    const int32_t stalled = Get(server);
    qunsetenv("ZENX_TRANSFER_TIMEOUT_MS");
    EXPECT_EQ(silent, VELDUX_REQUEST_FAILED);
    EXPECT_EQ(stalled, VELDUX_REQUEST_FAILED);
    EXPECT_LT(NowMs() - start, 6000) << "both ended long before the server would have";
    ExpectOldFileKept("time-out");
}

TEST_F(HostileServer, ChunkedReplyIsSavedWithoutItsFraming) {
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n"
                                "11;name=value\r\n[Women.Answers]\r\n\r\n"
                                "F\r\nABC0010001=61\r\n\r\n"
                                "0\r\nX-Trailer: 1\r\n\r\n";
    const QByteArray decoded = "[Women.Answers]\r\nABC0010001=61\r\n";
    LoopbackServer server;
    server.Serve({Reply(server, chunked),
                  // In single bytes, and the server keeps the line open after.
                  [&](ServerConn& c) {
                      c.ReadRequest();
                      c.SendBytewise(chunked, 0);
                      c.WaitClientClosed(5000);
                  }});
    EXPECT_EQ(Get(server), VELDUX_SUCCEEDED);
    EXPECT_EQ(Dest(), decoded);
    QFile(QFile::decodeName(dest)).remove();
    EXPECT_EQ(Get(server), VELDUX_SUCCEEDED);
    EXPECT_EQ(Dest(), decoded);
}

TEST_F(HostileServer, RelativeRedirectsStayOnTheServerAndItsPort) {
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 302 Found\r\nLocation: ok.dat\r\n\r\n"),
                  Reply(server, "HTTP/1.0 302 Found\r\nLocation: ../stats/new.dat?v=2\r\n\r\n"),
                  Reply(server, "HTTP/1.0 301 Moved\r\nLocation: /abs/last.dat\r\n\r\n"),
                  Reply(server, "HTTP/1.0 200 OK\r\n\r\n[A]\r\nB=1\r\n")});
    EXPECT_EQ(Get(server), VELDUX_SUCCEEDED);
    EXPECT_EQ(Dest(), "[A]\r\nB=1\r\n");
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].rfind("GET /zenx/ok.dat HTTP/1.0\r\nHost: 127.0.0.1\r\n", 0), 0u);
    EXPECT_EQ(requests[2].rfind("GET /stats/new.dat?v=2 HTTP/1.0\r\n", 0), 0u);
    EXPECT_EQ(requests[3].rfind("GET /abs/last.dat HTTP/1.0\r\n", 0), 0u);
}

TEST_F(HostileServer, ResetInTheMiddleOfAReplyIsAFailedTransfer) {
    LoopbackServer server;
    server.Serve({[&](ServerConn& c) {
                      c.ReadRequest();
                      c.Send("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n[Women.Answers]\r\n");
                      c.Pause(50);
                      c.Reset();
                  },
                  [&](ServerConn& c) {
                      c.ReadRequest();
                      c.Send("HTTP/1.0 200 OK\r\nContent-Le");
                      c.Pause(50);
                      c.Reset();
                  },
                  // Without a length only an orderly close ends the body.
                  [&](ServerConn& c) {
                      c.ReadRequest();
                      c.Send("HTTP/1.0 200 OK\r\n\r\n[Women.Answers]\r\n");
                      c.Pause(50);
                      c.Reset();
                  },
                  [&](ServerConn& c) {
                      c.ReadRequest();
                      c.Send("HTTP/1.0 200 OK\r\n");
                      c.Pause(50);
                      c.Reset();
                  }});
    for (const char* what : {"in the body", "in the header", "body without length"}) {
        EXPECT_EQ(Get(server), VELDUX_REQUEST_FAILED) << what;
        ExpectOldFileKept(what);
    }
    EXPECT_TRUE(StatusLines().contains("Get Failed"));

    const QByteArray users = QFile::encodeName(dir.filePath("User/users.dat"));
    QFile file(QFile::decodeName(users));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Users]\r\nCount=0\r\n");
    file.close();
    const std::string url = "127.0.0.1:" + std::to_string(server.Port()) + "/zenx/up";
    EXPECT_EQ(postFile(url.c_str(), users), VELDUX_REQUEST_FAILED) << "upload";
    EXPECT_TRUE(StatusLines().contains("Post Failed"));
}
