// The exchange over HTTP: the program's own transfer library against the real
// server, and the server program as an operator starts it.
#include "server/statistics_text.h"
#include "tests/server/http_fixture.h"

#include <httplib.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>

using namespace servertest;

namespace {

using OpenVdxDlgFunc = bool (*)();
using CloseVdxDlgFunc = bool (*)();
using GetFileFunc = int32_t (*)(const char*, const char*, const char*);
using PostFileFunc = int32_t (*)(const char*, const char*);

constexpr int32_t kSucceeded = 103;
constexpr int32_t kFailed = 102;

// libveldux.so loaded as the program loads it, with its dialog open.
class Veldux {
public:
    Veldux() {
        handle_ = dlopen(VELDUX_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle_)
            return;
        open_ = reinterpret_cast<OpenVdxDlgFunc>(dlsym(handle_, "OpenVdxDlg"));
        close_ = reinterpret_cast<CloseVdxDlgFunc>(dlsym(handle_, "CloseVdxDlg"));
        get_ = reinterpret_cast<GetFileFunc>(dlsym(handle_, "GetFile"));
        post_ = reinterpret_cast<PostFileFunc>(dlsym(handle_, "PostFile"));
        ready_ = open_ && close_ && get_ && post_ && open_();
    }
    ~Veldux() {
        if (close_)
            close_();
        if (handle_)
            dlclose(handle_);
    }
    bool Ready() const { return ready_; }
    int32_t Post(const std::string& host, const QString& file) {
        const std::string url = host + "/zenx/zenxws.dll?action=zenxdata";
        return post_(url.c_str(), QFile::encodeName(file).constData());
    }
    int32_t Get(const std::string& host, const QString& dest) {
        const std::string base = host + "/zenx";
        return get_(base.c_str(), "iusers.dat", QFile::encodeName(dest).constData());
    }

private:
    void* handle_ = nullptr;
    OpenVdxDlgFunc open_ = nullptr;
    CloseVdxDlgFunc close_ = nullptr;
    GetFileFunc get_ = nullptr;
    PostFileFunc post_ = nullptr;
    bool ready_ = false;
};

QString WriteFile(const QTemporaryDir& dir, const QString& name, const std::string& text) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text.data(), qint64(text.size()));
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A users.dat of more than `bytes` bytes: many users, each with the three
// known questions and answers to questions the content does not know.
std::vector<User> ManyUsers(std::size_t bytes) {
    std::vector<User> users;
    std::size_t size = 0;
    for (int i = 0; size < bytes; ++i) {
        User u{"Gebruiker " + std::to_string(i),
               std::to_string(38870000 + i),
               i % 2,
               14 + i % 40,
               {{kQ1, Value(i % 3 ? "c" : "a")}, {kQ2, Value("ab")}, {kQ3, Value("b")}}};
        for (int q = 0; q < 40; ++q)
            u.Answers.push_back({"xxxx" + std::to_string(100000 + q), Value("abc", 1234)});
        size += UsersFile({u}).size();
        users.push_back(std::move(u));
    }
    return users;
}

} // namespace

TEST(ExchangeHttp, TheTransferLibraryUploadsAMegabyteAndDownloadsTheStatistics) {
    THttpOptions options;
    options.MaxUpload = 4 * 1024 * 1024;
    options.Rate = 0;
    RunningServer server(options);
    ASSERT_GT(server.Port(), 0);
    Veldux veldux;
    ASSERT_TRUE(veldux.Ready());
    QTemporaryDir dir;

    const std::vector<User> users = ManyUsers(1100000);
    const std::string body = UsersFile(users);
    ASSERT_GT(body.size(), 1000000u);
    EXPECT_EQ(veldux.Post(server.Host(), WriteFile(dir, "users.dat", body)), kSucceeded);
    EXPECT_EQ(server.exchange.store->ParticipantCount(), int64_t(users.size()));
    EXPECT_EQ(server.exchange.store->AnswerCount(), int64_t(3 * users.size()));

    const QString dest = dir.filePath("iusers.dat");
    EXPECT_EQ(veldux.Get(server.Host(), dest), kSucceeded);
    const QByteArray text = ReadFile(dest);
    EXPECT_EQ(text.toStdString(), server.exchange.Statistics());
    // Two of every three users answered question 1 right; everybody got 2 right and 3 wrong.
    const int right = int(users.size()) - (int(users.size()) + 2) / 3;
    const std::string q1 = std::to_string(Percentage(right, int64_t(users.size())));
    EXPECT_TRUE(text.contains(QByteArray("reek001002=100\r\n")));
    EXPECT_TRUE(text.contains(QByteArray("reek001003=0\r\n")));
    EXPECT_TRUE(text.contains(QByteArray("[Counts]\r\nreek001001=") +
                              QByteArray::number(qsizetype(users.size()))));
    EXPECT_TRUE(text.contains(("a=" + std::to_string(100 - std::stoi(q1)) + ";c=" + q1).c_str()))
        << text.toStdString();

    // One line per request, and no user data in any of them.
    const auto log = server.Log(2);
    ASSERT_EQ(log.size(), 2u);
    // The upload's line is written after its reply went out, so the
    // download's line may come first.
    const bool uploadFirst = log[0].find(" POST ") != std::string::npos;
    const std::string& upload = log[uploadFirst ? 0 : 1];
    const std::string& download = log[uploadFirst ? 1 : 0];
    EXPECT_NE(upload.find(" 127.0.0.1 POST /zenx/zenxws.dll 200 "), std::string::npos) << upload;
    EXPECT_NE(download.find(" GET /zenx/iusers.dat 200 "), std::string::npos) << download;
    for (const std::string& line : log)
        EXPECT_EQ(line.find("Gebruiker"), std::string::npos) << line;
}

TEST(ExchangeHttp, RefusedUploadsFailInTheClientAndStoreNothing) {
    THttpOptions options;
    options.MaxUpload = 64 * 1024;
    options.Rate = 0;
    RunningServer server(options);
    Veldux veldux;
    ASSERT_TRUE(veldux.Ready());
    QTemporaryDir dir;

    // Above the limit: 413.
    EXPECT_EQ(veldux.Post(server.Host(), WriteFile(dir, "big.dat", UsersFile(ManyUsers(100000)))),
              kFailed);
    // No user in it: 400.
    EXPECT_EQ(veldux.Post(server.Host(), WriteFile(dir, "empty.dat", "nothing here\r\n")), kFailed);
    EXPECT_EQ(server.exchange.store->ParticipantCount(), 0);
    EXPECT_EQ(server.exchange.store->Generation(), 0);

    httplib::Client client("127.0.0.1", server.Port());
    const std::string body = UsersFile({{"Anna", "1", 1, 30, {{kQ1, Value("c")}}}});
    const auto wrongAction =
        client.Post("/zenx/zenxws.dll?action=other", body, "application/x-www-form-urlencoded");
    ASSERT_TRUE(wrongAction);
    EXPECT_EQ(wrongAction->status, 400);
    const auto noAction =
        client.Post("/zenx/zenxws.dll", body, "application/x-www-form-urlencoded");
    ASSERT_TRUE(noAction);
    EXPECT_EQ(noAction->status, 400);
    const auto tooBig =
        client.Post("/zenx/zenxws.dll?action=zenxdata", std::string(70 * 1024, 'x'), "text/plain");
    ASSERT_TRUE(tooBig);
    EXPECT_EQ(tooBig->status, 413);
    // Far over the limit the server does not even read it (the client may
    // see the refusal or a closed connection).
    const auto farTooBig =
        client.Post("/zenx/zenxws.dll?action=zenxdata", std::string(9 << 20, 'x'), "text/plain");
    EXPECT_TRUE(!farTooBig || farTooBig->status == 413);
    EXPECT_EQ(server.exchange.store->ParticipantCount(), 0);

    const auto ok =
        client.Post("/zenx/zenxws.dll?action=zenxdata", body, "application/x-www-form-urlencoded");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->status, 200);
    EXPECT_EQ(server.exchange.store->ParticipantCount(), 1);
    const auto unknown = client.Get("/zenx/other.dat");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
}

TEST(ExchangeHttp, AClientOverItsRateIsTold429) {
    THttpOptions options;
    options.Rate = 0.01; // practically no refill during the test
    options.Burst = 15;  // one upload (10) and five downloads
    RunningServer server(options);
    httplib::Client client("127.0.0.1", server.Port());
    const std::string body = UsersFile({{"Anna", "1", 1, 30, {{kQ1, Value("c")}}}});
    const auto first = client.Post("/zenx/zenxws.dll?action=zenxdata", body, "text/plain");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->status, 200);
    const auto second = client.Post("/zenx/zenxws.dll?action=zenxdata", body, "text/plain");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->status, 429);
    int ok = 0;
    int refused = 0;
    for (int i = 0; i < 8; ++i) {
        const auto get = client.Get("/zenx/iusers.dat");
        ASSERT_TRUE(get);
        (get->status == 200 ? ok : refused)++;
        if (get->status == 429) {
            EXPECT_EQ(get->get_header_value("Retry-After"), "1");
        }
    }
    EXPECT_EQ(ok, 5);
    EXPECT_EQ(refused, 3);
}

TEST(ExchangeHttp, ProgramRefusesBadSetUpsWithExitCode2) {
    ContentDir content;
    QTemporaryDir data;
    const QString exe = QStringLiteral(ZENX_EXCHANGE_EXE);
    const auto run = [&](const QStringList& args) {
        QProcess p;
        p.start(exe, args);
        p.waitForFinished(20000);
        return std::make_pair(p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError() +
                                                                   p.readAllStandardOutput()));
    };
    const auto help = run({"--help"});
    EXPECT_EQ(help.first, 0);
    EXPECT_TRUE(help.second.contains("--database URL"));

    const QStringList dataArgs{"--data", data.path()};
    for (const QStringList& bad :
         {QStringList{"--content"}, QStringList{"--frobnicate"}, QStringList{},
          QStringList{"--content", content.Path(), "--listen", "nowhere"},
          QStringList{"--content", content.Path(), "--min-group", "zero"},
          QStringList{"--content", data.path() + "/missing"} + dataArgs,
          QStringList{"--content", data.path()} + dataArgs, // no D/IDbRecs.dat
          QStringList{"--content", content.Path(), "--database",
                      "postgresql://nobody@127.0.0.1:1/none?connect_timeout=2"} +
              dataArgs}) {
        const auto result = run(bad);
        EXPECT_EQ(result.first, 2)
            << bad.join(' ').toStdString() << ": " << result.second.toStdString();
        EXPECT_TRUE(result.second.startsWith("zenx-exchange: ")) << result.second.toStdString();
    }
}

TEST(ExchangeHttp, ProgramServesAndStopsCleanlyOnSigterm) {
    ContentDir content;
    QTemporaryDir data;
    QProcess p;
    p.start(QStringLiteral(ZENX_EXCHANGE_EXE),
            {"--content", content.Path(), "--data", data.path() + "/state", "--listen",
             "127.0.0.1:0", "--min-group", "1", "--cache-ms", "0"});
    ASSERT_TRUE(p.waitForStarted());
    QByteArray err;
    QRegularExpressionMatch match;
    const QRegularExpression listening("listening on 127\\.0\\.0\\.1:(\\d+)");
    for (int i = 0; i < 100 && !match.hasMatch(); ++i) {
        p.waitForReadyRead(100);
        err += p.readAllStandardError();
        match = listening.match(QString::fromLocal8Bit(err));
    }
    ASSERT_TRUE(match.hasMatch()) << err.toStdString();
    httplib::Client client("127.0.0.1", match.captured(1).toInt());
    const auto up =
        client.Post("/zenx/zenxws.dll?action=zenxdata",
                    UsersFile({{"Anna", "1", 1, 30, {{kQ1, Value("c")}}}}), "text/plain");
    ASSERT_TRUE(up);
    EXPECT_EQ(up->status, 200);
    const auto down = client.Get("/zenx/iusers.dat");
    ASSERT_TRUE(down);
    EXPECT_NE(down->body.find("[Women.Answers]\r\nreek001001=100\r\n"), std::string::npos);

    p.terminate(); // SIGTERM
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    err += p.readAllStandardError();
    EXPECT_TRUE(err.contains("POST /zenx/zenxws.dll 200")) << err.toStdString();
    EXPECT_FALSE(err.contains("Anna"));
    const auto perms = QFile::permissions(data.path() + "/state/secret");
    EXPECT_FALSE(perms & (QFileDevice::ReadOther | QFileDevice::ReadGroup));
}
