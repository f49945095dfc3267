// The Internet page with the real libveldux.so against a loopback exchange
// server: an upload and a download, then the bytes that crossed and the
// files left on disk.
#include "tests/common/loopback_server.h"
#include "tests/exchange/exchange_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kUsers = "[Users]\r\nCount=2\r\n1=Anna\r\n2=Jan\r\n"
                          "[Anna.Data]\r\nPw=letmein\r\nUid=4711\r\nGender=1\r\nAge=34\r\n"
                          "[Anna.Answers]\r\nABC0010001=C;12.5\r\n"
                          "[Jan.Data]\r\npw = hunter2\r\nAge=61\r\n";
const QByteArray kSent = "[Users]\r\nCount=2\r\n1=Anna\r\n2=Jan\r\n"
                         "[Anna.Data]\r\nUid=4711\r\nGender=1\r\nAge=34\r\n"
                         "[Anna.Answers]\r\nABC0010001=C;12.5\r\n"
                         "[Jan.Data]\r\nAge=61\r\n";
const std::string kStats = "[Women.Answers]\r\nABC0010001=61\r\n[Men.Answers]\r\nABC0010001=48\r\n";

class ExchangeEndToEnd : public ::testing::Test {
protected:
    InternetPageFixture f;
    QTemporaryDir temp; // the system's temporary folder for this test
    ScopedEnv tmpdir{"TMPDIR", QFile::encodeName(temp.path())};
    LoopbackServer server;

    void SetUp() override {
        f.InstallLibrary(VELDUX_LIBRARY);
        f.program.Write("User/users.dat", kUsers);
        f.program.Write("User/iusers.dat", "[Women.Answers]\r\nABC0010001=50\r\n");
        f.exchange->SetServerHost("127.0.0.1:" + std::to_string(server.Port()));
    }
};

} // namespace

TEST_F(ExchangeEndToEnd, UploadThenDownload) {
    server.Serve({Reply(server, "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nOK"),
                  Reply(server, "HTTP/1.0 200 OK\r\nContent-Length: " +
                                    std::to_string(kStats.size()) + "\r\n\r\n" + kStats)});
    f.ClickUpload();
    f.ClickDownload();
    EXPECT_EQ(f.messages,
              (QStringList{"Uploaden is succesvol afgerond", "Downloaden is succesvol afgerond"}));

    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string accept =
        "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
        "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
        "Content-type: application/x-www-form-urlencoded\r\n";
    EXPECT_EQ(requests[0], "POST /zenx/zenxws.dll?action=zenxdata HTTP/1.0\r\n"
                           "Host: 127.0.0.1\r\n" +
                               accept + "Content-Length: " + std::to_string(kSent.size()) +
                               "\r\n\r\n" + kSent.toStdString());
    EXPECT_EQ(requests[1],
              "GET /zenx/iusers.dat HTTP/1.0\r\nHost: 127.0.0.1\r\n" + accept + "\r\n");

    EXPECT_EQ(f.program.Read("User/iusers.dat"), QByteArray::fromStdString(kStats));
    EXPECT_EQ(f.program.Read("User/users.dat"), kUsers);
    EXPECT_EQ(QDir(f.program.Path() + "User").entryList(QDir::Files),
              (QStringList{"iusers.dat", "users.dat"}));
    EXPECT_TRUE(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "neither the upload copy nor the reply header file is left";
    EXPECT_FALSE(f.LibraryLoaded());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_NE(w->windowTitle(), "Veldux") << "the library's dialog is gone";
}

TEST_F(ExchangeEndToEnd, FailuresKeepTheOldStatistics) {
    RefusedPort refused;
    server.Serve({Reply(server, "HTTP/1.0 404 Not Found\r\n\r\n"),
                  Reply(server, "HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\n" + kStats),
                  Reply(server, "HTTP/1.0 500 Internal Server Error\r\n\r\n")});
    f.ClickDownload();
    f.ClickDownload();
    f.ClickUpload();
    f.exchange->SetServerHost("127.0.0.1:" + std::to_string(refused.Port()));
    f.ClickDownload();
    EXPECT_EQ(f.messages, (QStringList{"Downloaden is niet gelukt", "Downloaden is niet gelukt",
                                       "Uploaden is niet gelukt", "Geen verbinding"}));
    EXPECT_EQ(f.program.Read("User/iusers.dat"), "[Women.Answers]\r\nABC0010001=50\r\n");
    EXPECT_EQ(QDir(f.program.Path() + "User").entryList(QDir::Files),
              (QStringList{"iusers.dat", "users.dat"}));
    EXPECT_TRUE(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ExchangeEndToEnd, AnErrorPageWithStatus200KeepsTheStatistics) {
    const std::string page = "<!DOCTYPE html>\n<html><head><title>Error</title></head>\n"
                             "<body>[Women.Answers] could not be served</body></html>\n";
    server.Serve({Reply(server, "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                    std::to_string(page.size()) + "\r\n\r\n" + page)});
    const TExchangeResult result = f.exchange->InternetDownloadBtnClick();
    EXPECT_EQ(result.code, tcFailed);
    EXPECT_EQ(f.messages, QStringList{"Downloaden is niet gelukt"});
    EXPECT_EQ(f.program.Read("User/iusers.dat"), "[Women.Answers]\r\nABC0010001=50\r\n");
    EXPECT_EQ(QDir(f.program.Path() + "User").entryList(QDir::Files | QDir::Hidden),
              (QStringList{"iusers.dat", "users.dat"}));
}

TEST_F(ExchangeEndToEnd, AResetInTheMiddleOfAReplyIsAFailedTransfer) {
    const auto resetAfter = [](std::string part) {
        return [part](ServerConn& c) {
            c.ReadRequest();
            c.Send(part);
            c.Pause(30);
            c.Reset();
        };
    };
    server.Serve({resetAfter("HTTP/1.0 200 OK\r\nContent-Length: 500\r\n\r\n[Women.Answers]\r\n"),
                  resetAfter("HTTP/1.0 200 OK\r\n")});
    f.ClickDownload();
    f.ClickUpload();
    EXPECT_EQ(f.messages, (QStringList{"Downloaden is niet gelukt", "Uploaden is niet gelukt"}));
    EXPECT_EQ(f.program.Read("User/iusers.dat"), "[Women.Answers]\r\nABC0010001=50\r\n");
    EXPECT_EQ(f.program.Read("User/users.dat"), kUsers);
    EXPECT_EQ(QDir(f.program.Path() + "User").entryList(QDir::Files | QDir::Hidden),
              (QStringList{"iusers.dat", "users.dat"}));
}
