// The real libveldux.so, loaded and called the way the program does: the
// dialog, the result codes and what the files look like afterwards.
#include "tests/transfer/veldux_fixture.h"
#include "transfer/veldux.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

QWidget* FindDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("MainForm"))
            return w;
    }
    return nullptr;
}

int CountDialogs() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->objectName() == QLatin1String("MainForm");
    return n;
}

QString StatusLines() {
    QWidget* dialog = FindDialog();
    auto* list = dialog ? dialog->findChild<QPlainTextEdit*>(QStringLiteral("StatusLst")) : nullptr;
    return list ? list->toPlainText() : QString();
}

void ClickCancelAfter(int ms) {
    QTimer::singleShot(ms, [] {
        if (QWidget* dialog = FindDialog())
            if (auto* b = dialog->findChild<QPushButton*>(QStringLiteral("CancelBtn")))
                b->click();
    });
}

class VelduxLibrary : public VelduxTest {
protected:
    void SetUp() override { Load("old statistics"); }
    void TearDown() override {
        if (close) {
            EXPECT_TRUE(close());
        }
        EXPECT_EQ(CountDialogs(), 0);
        if (handle)
            dlclose(handle);
    }

    int32_t Get(const std::string& base) { return getFile(base.c_str(), "iusers.dat", dest); }
    QStringList FilesBesideDest() const {
        return QDir(dir.filePath(QStringLiteral("User"))).entryList(QDir::Files);
    }
};

} // namespace

TEST_F(VelduxLibrary, NothingHappensWithoutADialog) {
    LoopbackServer server;
    EXPECT_EQ(Get(Base(server)), VELDUX_INVALID_REQUEST);
    EXPECT_EQ(postFile((Base(server) + "/up").c_str(), dest), VELDUX_INVALID_REQUEST);
    EXPECT_EQ(server.Accepted(), 0);
    EXPECT_EQ(Read(dest), "old statistics");
    EXPECT_TRUE(close()) << "closing without a dialog";
}

TEST_F(VelduxLibrary, OneDialogWithItsControls) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(open());
    EXPECT_EQ(CountDialogs(), 1);
    QWidget* dialog = FindDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Veldux");
    EXPECT_EQ(dialog->size(), QSize(350, 150));
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
    auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("CancelBtn"));
    ASSERT_TRUE(bar && cancel);
    EXPECT_EQ(bar->geometry(), QRect(10, 92, 330, 8));
    EXPECT_EQ(cancel->geometry(), QRect(265, 115, 75, 25));
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_TRUE(close());
    EXPECT_EQ(CountDialogs(), 0);
}

TEST_F(VelduxLibrary, DownloadReplacesTheFileWhole) {
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 200 OK\r\nContent-Length: 15\r\n\r\nnew statistics\n")});
    ASSERT_TRUE(open());
    EXPECT_EQ(Get(Base(server)), VELDUX_SUCCEEDED);
    EXPECT_EQ(Read(dest), "new statistics\n");
    EXPECT_EQ(FilesBesideDest(), QStringList{"iusers.dat"}) << "no temporary file left";
    EXPECT_EQ(server.Requests().at(0).rfind("GET /zenx/iusers.dat HTTP/1.0\r\n", 0), 0u);
    EXPECT_TRUE(StatusLines().contains("Get Succeeded"));
    auto* bar = FindDialog()->findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
    EXPECT_EQ(bar->value(), 100);
}

TEST_F(VelduxLibrary, StreamedDownloadHoldsOnlyTheFinalBody) {
    // The body of a redirect must not end up in front of the real one, and a
    // reply without a header is all body, its first line included.
    const std::string stats = "[Women.Answers]\r\nABC0010001=55\r\n";
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 302 Found\r\nLocation: /zenx/new.dat\r\n"
                                "Content-Length: 9\r\n\r\nredirect!"),
                  Reply(server, "HTTP/1.0 200 OK\r\n\r\n" + stats), Reply(server, stats)});
    ASSERT_TRUE(open());
    EXPECT_EQ(Get(Base(server)), VELDUX_SUCCEEDED);
    EXPECT_EQ(Read(dest), QByteArray::fromStdString(stats));
    EXPECT_EQ(server.Requests().at(1).rfind("GET /zenx/new.dat HTTP/1.0\r\n", 0), 0u);
    Write(dest, "old statistics");
    EXPECT_EQ(Get(Base(server)), VELDUX_SUCCEEDED);
    EXPECT_EQ(Read(dest), QByteArray::fromStdString(stats));
    EXPECT_EQ(FilesBesideDest(), QStringList{"iusers.dat"});
}

TEST_F(VelduxLibrary, MissingDirectoriesAreMadeAndBackslashesAccepted) {
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 200 OK\r\n\r\ndata")});
    ASSERT_TRUE(open());
    const QByteArray target = QFile::encodeName(dir.path()) + "\\New\\Sub\\iusers.dat";
    EXPECT_EQ(getFile(Base(server).c_str(), "iusers.dat", target), VELDUX_SUCCEEDED);
    EXPECT_EQ(Read(QFile::encodeName(dir.filePath("New/Sub/iusers.dat"))), "data");
}

TEST_F(VelduxLibrary, FailedDownloadsKeepTheOldFile) {
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 404 Not Found\r\n\r\nnot here"),
                  Reply(server, "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\ncut short"),
                  Reply(server, "")});
    ASSERT_TRUE(open());
    EXPECT_EQ(Get(Base(server)), VELDUX_REQUEST_FAILED);
    EXPECT_TRUE(StatusLines().contains("Get Failed\nNo Succes"));
    EXPECT_EQ(Get(Base(server)), VELDUX_REQUEST_FAILED) << "a body cut short of its length";
    EXPECT_EQ(Get(Base(server)), VELDUX_REQUEST_FAILED) << "no reply at all";
    EXPECT_EQ(Read(dest), "old statistics");
    EXPECT_EQ(FilesBesideDest(), QStringList{"iusers.dat"});
}

TEST_F(VelduxLibrary, ConnectionAndRequestFailures) {
    ASSERT_TRUE(open());
    RefusedPort refused;
    EXPECT_EQ(Get("127.0.0.1:" + std::to_string(refused.Port()) + "/zenx"), VELDUX_NO_CONNECTION);
    EXPECT_TRUE(StatusLines().contains("No Connection"));
    EXPECT_EQ(Get("no-such-host.zenx-test.invalid/zenx"), VELDUX_INVALID_REQUEST);
    EXPECT_TRUE(StatusLines().contains("Bad Request"));
    EXPECT_EQ(Get("https://127.0.0.1/zenx"), VELDUX_INVALID_REQUEST);
    EXPECT_EQ(Read(dest), "old statistics");

    // A file where a directory of the target has to go.
    LoopbackServer server;
    server.Serve({Reply(server, "HTTP/1.0 200 OK\r\n\r\ndata")});
    Write(QFile::encodeName(dir.filePath("blocker")), "x");
    const QByteArray target = QFile::encodeName(dir.filePath("blocker/sub/iusers.dat"));
    EXPECT_EQ(getFile(Base(server).c_str(), "iusers.dat", target), VELDUX_INVALID_REQUEST);
}

TEST_F(VelduxLibrary, CancelDuringASlowReply) {
    LoopbackServer server;
    server.Serve({[&](ServerConn& c) {
        server.Record(c.ReadRequest());
        c.Send("HTTP/1.0 200 OK\r\nContent-Length: 500\r\n\r\n");
        c.SendBytewise(std::string(500, 'x'), 10);
    }});
    ASSERT_TRUE(open());
    ClickCancelAfter(150);
    const long long start = NowMs();
    EXPECT_EQ(Get(Base(server)), VELDUX_CANCELED);
    EXPECT_LT(NowMs() - start, 3000);
    EXPECT_TRUE(StatusLines().contains("Request Cancel"));
    EXPECT_EQ(Read(dest), "old statistics");
    EXPECT_EQ(FilesBesideDest(), QStringList{"iusers.dat"}) << "the partial body is gone";
}

TEST_F(VelduxLibrary, ClosingDuringATransferCancelsItAndClosesAfterwards) {
    LoopbackServer server;
    server.Serve({[&](ServerConn& c) {
        c.ReadRequest();
        c.Send("HTTP/1.0 200 OK\r\n\r\n");
        c.SendBytewise(std::string(500, 'x'), 10);
    }});
    ASSERT_TRUE(open());
    bool closedAtOnce = true;
    QTimer::singleShot(150, [&] { closedAtOnce = close(); });
    EXPECT_EQ(Get(Base(server)), VELDUX_CANCELED);
    EXPECT_FALSE(closedAtOnce) << "the dialog cannot go while its transfer unwinds";
    EXPECT_EQ(CountDialogs(), 0) << "it goes once the transfer has ended";
}

TEST_F(VelduxLibrary, UploadSendsTheFileAndRemovesTheHeaderFile) {
    QTemporaryDir temp;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const QByteArray users = QFile::encodeName(dir.filePath("User/users.dat"));
    Write(users, QByteArray("[Jan]\r\nAge=40\r\n\0\xff", 18));

    bool headerFileSeen = false;
    LoopbackServer server;
    server.Serve({[&](ServerConn& c) {
                      server.Record(c.ReadRequest());
                      c.Send("HTTP/1.0 200 OK\r\nContent-Length: 6\r\n\r\n");
                      // The client writes the header to its file before it
                      // waits for the body.
                      for (int i = 0; i < 400 && !headerFileSeen; ++i) {
                          for (const QString& name : QDir(temp.path()).entryList(QDir::Files))
                              headerFileSeen |= Read(QFile::encodeName(temp.filePath(name)))
                                                    .startsWith("HTTP/1.0 200 OK\r\n");
                          c.Pause(5);
                      }
                      c.Send("thanks");
                  },
                  Reply(server, "HTTP/1.0 500 Oops\r\n\r\n")});
    ASSERT_TRUE(open());
    const std::string url =
        "127.0.0.1:" + std::to_string(server.Port()) + "/zenx/zenxws.dll?action=zenxdata";
    const int32_t first = postFile(url.c_str(), users);
    const int32_t second = postFile(url.c_str(), users);
    if (oldTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);

    EXPECT_EQ(first, VELDUX_SUCCEEDED);
    EXPECT_EQ(second, VELDUX_REQUEST_FAILED);
    EXPECT_TRUE(headerFileSeen);
    EXPECT_TRUE(QDir(temp.path()).entryList(QDir::Files).isEmpty()) << "header file left behind";
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string& request = requests[0];
    EXPECT_EQ(
        request.rfind("POST /zenx/zenxws.dll?action=zenxdata HTTP/1.0\r\nHost: 127.0.0.1\r\n", 0),
        0u);
    const std::string tail = "Content-type: application/x-www-form-urlencoded\r\n"
                             "Content-Length: 18\r\n\r\n" +
                             std::string("[Jan]\r\nAge=40\r\n\0\xff", 18);
    EXPECT_EQ(request.substr(request.size() - std::min(request.size(), tail.size())), tail);
}
