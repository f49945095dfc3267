// The exchange server measured against plain baselines on the same machine,
// in one run:
//  1. uploads per second of a 20 KB users.dat over HTTP (8 clients), against
//     inserting the same rows straight into the same database, one
//     transaction per upload (8 threads) — SQLite, and PostgreSQL when a
//     database is given (PGHOST/PGDATABASE, e.g. under pg_virtualenv);
//  2. GET /zenx/iusers.dat requests per second against nginx serving the same
//     bytes as a static file (8 keep-alive clients each);
//  3. the time to build iusers.dat from the counters of 10,000 participants
//     with 500 answers each.
//
//   pg_virtualenv build/bench/bench_exchange [--participants N] [--clients N]

#include "server/answer_key.h"
#include "server/exchange_service.h"
#include "server/http_server.h"
#include "server/statistics_text.h"
#include "server/store.h"
#include "tests/recdb/db_bytes.h"

#include <httplib.h>
#include <pqxx/pqxx>
#include <sqlite3.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTests = 20;
constexpr int kQuestionsPerTest = 25; // 500 questions
int kClients = 8;                     // --clients N
constexpr int kUploads = 400;
constexpr double kGetSeconds = 3.0;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

std::string QuestionKey(int t, int q) {
    char key[16];
    std::snprintf(key, sizeof key, "bank%03d%03d", t + 1, q + 1);
    return key;
}

char Correct(int t, int q) {
    return char('a' + (t * 7 + q) % 4);
}

// D/IDbRecs.dat with one group of 20 tests of 25 questions.
void WriteContent(const QString& dir) {
    std::vector<std::pair<std::string, std::string>> records{{"Test|bank00000000000", "Bank"}};
    for (int t = 0; t < kTests; ++t) {
        char test[32];
        std::snprintf(test, sizeof test, "Test|bank%03d00000000", t + 1);
        records.push_back({test, "Toets"});
        for (int q = 0; q < kQuestionsPerTest; ++q)
            records.push_back({"Test|" + QuestionKey(t, q) + "01001" + Correct(t, q), "Vraag"});
    }
    QDir(dir).mkpath("D");
    QFile f(dir + "/D/IDbRecs.dat");
    if (f.open(QIODevice::WriteOnly))
        f.write(dbtest::File(records));
}

struct BenchUser {
    std::string name, uid;
    int gender, age, answers;
};

// One user's sections; answers are right two times in three.
std::string UserText(const BenchUser& u, int seed) {
    std::string text = "[" + u.name + ".Data]\r\nPw=geheim\r\nUid=" + u.uid +
                       "\r\nGender=" + std::to_string(u.gender) +
                       "\r\nAge=" + std::to_string(u.age) + "\r\nDirectFB=1\r\nTimeLimQ=0\r\n[" +
                       u.name + ".Answers]\r\n";
    for (int i = 0; i < u.answers; ++i) {
        const int t = i / kQuestionsPerTest, q = i % kQuestionsPerTest;
        const char answer = (i + seed) % 3 ? Correct(t, q) : char('a' + (seed + i) % 4);
        text += QuestionKey(t, q) + "=" + answer + "<46000," + std::to_string(i % 1000) + "><" +
                std::to_string(3000 + (seed * 31 + i * 17) % 40000) + ">\r\n";
    }
    return text;
}

// A users.dat of about 20 KB: a user with all 500 answers and one with 100.
std::string UsersFile(int n) {
    const BenchUser a{"Gebruiker A" + std::to_string(n), std::to_string(38000000 + 2 * n), n % 2,
                      14 + n % 50, 500};
    const BenchUser b{"Gebruiker B" + std::to_string(n), std::to_string(38000001 + 2 * n),
                      (n + 1) % 2, 14 + (n * 3) % 50, 100};
    return "[Users]\r\nCount=2\r\n1=" + a.name + "\r\n2=" + b.name + "\r\n" + UserText(a, n) +
           UserText(b, n + 1);
}

// Runs `work(i)` for i in [0, count) on kClients threads; returns seconds.
template <typename Work> double Parallel(int count, Work work) {
    std::atomic<int> next{0};
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < kClients; ++c)
        threads.emplace_back([&, c] {
            for (int i; (i = next++) < count;)
                work(c, i);
        });
    for (auto& t : threads)
        t.join();
    return Seconds(start);
}

struct Server {
    std::unique_ptr<TExchangeStore> store;
    std::unique_ptr<TExchangeService> service;
    std::unique_ptr<TExchangeHttpServer> http;
    std::thread thread;

    Server(std::unique_ptr<TExchangeStore> s, const QString& content) : store(std::move(s)) {
        service = std::make_unique<TExchangeService>(*store, TAnswerKey::FromContentDir(content),
                                                     QByteArray(32, 'k'), TExchangeOptions{});
        THttpOptions options;
        options.Port = 0;
        options.Rate = 0;
        options.MaxUpload = 1 << 20;
        http = std::make_unique<TExchangeHttpServer>(*service, options);
        http->Bind();
        thread = std::thread([this] { http->Run(); });
    }
    ~Server() {
        http->Stop();
        thread.join();
    }
};

double UploadRate(Server& server, int offset) {
    std::vector<std::string> bodies;
    for (int i = 0; i < kUploads; ++i)
        bodies.push_back(UsersFile(offset + i));
    std::atomic<int> failed{0};
    std::vector<std::unique_ptr<httplib::Client>> clients;
    for (int c = 0; c < kClients; ++c)
        clients.push_back(std::make_unique<httplib::Client>("127.0.0.1", server.http->Port()));
    const double s = Parallel(kUploads, [&](int c, int i) {
        const auto r = clients[c]->Post("/zenx/zenxws.dll?action=zenxdata", bodies[i],
                                        "application/x-www-form-urlencoded");
        if (!r || r->status != 200)
            ++failed;
    });
    if (failed)
        std::printf("  (%d uploads failed)\n", failed.load());
    return kUploads / s;
}

// The rows one upload stores, as the service would store them.
std::vector<TParticipant> Rows(TExchangeService& service, int n) {
    return service.Participants(UsersFile(n));
}

double SqliteBaseline(const QString& dir, TExchangeService& service, int offset) {
    // Tables of their own beside the store's, in the store's database file.
    const std::string path = (dir + "/exchange.sqlite").toStdString();
    std::vector<std::vector<TParticipant>> uploads;
    for (int i = 0; i < kUploads; ++i)
        uploads.push_back(Rows(service, offset + i));
    {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(
            db,
            "PRAGMA journal_mode=WAL;"
            "CREATE TABLE bench_participants(id INTEGER PRIMARY KEY, hash TEXT UNIQUE NOT NULL,"
            " female INTEGER NOT NULL, age INTEGER NOT NULL);"
            "CREATE TABLE bench_answers(participant_id INTEGER NOT NULL, question_key TEXT NOT "
            "NULL,"
            " answer TEXT NOT NULL, right INTEGER NOT NULL, ms INTEGER NOT NULL, date REAL NOT "
            "NULL,"
            " PRIMARY KEY(participant_id, question_key)) WITHOUT ROWID;",
            nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    std::vector<sqlite3*> conns(kClients, nullptr);
    for (sqlite3*& c : conns) {
        sqlite3_open(path.c_str(), &c);
        sqlite3_busy_timeout(c, 10000);
        sqlite3_exec(c, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    }
    const double s = Parallel(kUploads, [&](int c, int i) {
        sqlite3* db = conns[c];
        sqlite3_stmt* p = nullptr;
        sqlite3_stmt* a = nullptr;
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(db, "INSERT INTO bench_participants(hash, female, age) VALUES(?,?,?)",
                           -1, &p, nullptr);
        sqlite3_prepare_v2(db, "INSERT INTO bench_answers VALUES(?,?,?,?,?,?)", -1, &a, nullptr);
        for (const TParticipant& row : uploads[i]) {
            sqlite3_bind_text(p, 1, row.Hash.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int(p, 2, row.Female);
            sqlite3_bind_int(p, 3, row.Age);
            sqlite3_step(p);
            sqlite3_reset(p);
            const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
            for (const TStoredAnswer& ans : row.Answers) {
                sqlite3_bind_int64(a, 1, id);
                sqlite3_bind_text(a, 2, ans.QuestionKey.c_str(), -1, SQLITE_STATIC);
                sqlite3_bind_text(a, 3, ans.Answer.c_str(), -1, SQLITE_STATIC);
                sqlite3_bind_int(a, 4, ans.Right);
                sqlite3_bind_int64(a, 5, ans.Ms);
                sqlite3_bind_double(a, 6, ans.Date);
                sqlite3_step(a);
                sqlite3_reset(a);
            }
        }
        sqlite3_finalize(p);
        sqlite3_finalize(a);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    });
    for (sqlite3* c : conns)
        sqlite3_close(c);
    return kUploads / s;
}

std::string ArrayLiteral(const std::vector<std::string>& items) {
    std::string out = "{";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += ',';
        out += '"';
        for (char c : items[i]) {
            if (c == '"' || c == '\\')
                out += '\\';
            out += c;
        }
        out += '"';
    }
    return out + "}";
}

double PostgresBaseline(TExchangeService& service, int offset) {
    std::vector<std::vector<TParticipant>> uploads;
    for (int i = 0; i < kUploads; ++i)
        uploads.push_back(Rows(service, offset + i));
    {
        pqxx::connection c("");
        pqxx::work w(c);
        w.exec("DROP TABLE IF EXISTS bench_answers, bench_participants");
        w.exec(
            "CREATE TABLE bench_participants(id BIGSERIAL PRIMARY KEY, hash TEXT UNIQUE NOT NULL,"
            " female BOOLEAN NOT NULL, age INTEGER NOT NULL)");
        w.exec("CREATE TABLE bench_answers(participant_id BIGINT NOT NULL REFERENCES "
               "bench_participants(id), question_key TEXT NOT NULL, answer TEXT NOT NULL,"
               " \"right\" BOOLEAN NOT NULL, ms BIGINT NOT NULL, date DOUBLE PRECISION NOT NULL,"
               " PRIMARY KEY(participant_id, question_key))");
        w.commit();
    }
    std::vector<std::unique_ptr<pqxx::connection>> conns;
    for (int c = 0; c < kClients; ++c)
        conns.push_back(std::make_unique<pqxx::connection>(""));
    const double s = Parallel(kUploads, [&](int c, int i) {
        pqxx::work w(*conns[c]);
        for (const TParticipant& row : uploads[i]) {
            const auto id = w.exec_params1("INSERT INTO bench_participants(hash, female, age) "
                                           "VALUES($1, $2, $3) RETURNING id",
                                           row.Hash, row.Female, row.Age)[0]
                                .as<int64_t>();
            std::vector<std::string> keys, answers, rights, ms, dates;
            for (const TStoredAnswer& a : row.Answers) {
                keys.push_back(a.QuestionKey);
                answers.push_back(a.Answer);
                rights.push_back(a.Right ? "t" : "f");
                ms.push_back(std::to_string(a.Ms));
                dates.push_back(std::to_string(a.Date));
            }
            w.exec_params("INSERT INTO bench_answers SELECT $1, * FROM unnest($2::text[], "
                          "$3::text[], $4::boolean[], $5::bigint[], $6::float8[])",
                          id, ArrayLiteral(keys), ArrayLiteral(answers), ArrayLiteral(rights),
                          ArrayLiteral(ms), ArrayLiteral(dates));
        }
        w.commit();
    });
    return kUploads / s;
}

// Requests a second for GET path over 8 keep-alive clients.
double GetRate(int port, const std::string& path, std::size_t expectBytes) {
    std::atomic<long> done{0};
    std::atomic<long> bad{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int c = 0; c < kClients; ++c)
        threads.emplace_back([&] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            while (!stop) {
                const auto r = client.Get(path.c_str());
                if (!r || r->status != 200 || r->body.size() != expectBytes)
                    ++bad;
                ++done;
            }
        });
    std::this_thread::sleep_for(std::chrono::duration<double>(kGetSeconds));
    stop = true;
    for (auto& t : threads)
        t.join();
    if (bad)
        std::printf("  (%ld bad replies on %s)\n", bad.load(), path.c_str());
    return double(done) / Seconds(start);
}

int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    ::close(fd);
    return ntohs(sa.sin_port);
}

// nginx serving `bytes` as /zenx/iusers.dat from its own prefix; the
// process ends with the object.
struct Nginx {
    QTemporaryDir dir;
    QProcess process;
    int port = FreePort();

    explicit Nginx(const std::string& bytes) {
        QDir(dir.path()).mkpath("html/zenx");
        QDir(dir.path()).mkpath("logs");
        QFile file(dir.path() + "/html/zenx/iusers.dat");
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes.data(), qint64(bytes.size()));
        file.close();
        QFile conf(dir.path() + "/nginx.conf");
        if (conf.open(QIODevice::WriteOnly))
            conf.write(
                QString(
                    "daemon off;\nuser root;\nworker_processes auto;\n"
                    "error_log %1/logs/error.log;\npid %1/nginx.pid;\n"
                    "events { worker_connections 1024; }\n"
                    "http { access_log off; sendfile on; tcp_nodelay on;\n"
                    "  keepalive_requests 100000;\n"
                    "  client_body_temp_path %1/tmp; proxy_temp_path %1/tmp;\n"
                    "  fastcgi_temp_path %1/tmp; uwsgi_temp_path %1/tmp; scgi_temp_path %1/tmp;\n"
                    "  server { listen 127.0.0.1:%2; root %1/html; } }\n")
                    .arg(dir.path())
                    .arg(port)
                    .toUtf8());
        conf.close();
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                              QFileDevice::ExeOther);
        process.start("/usr/sbin/nginx", {"-p", dir.path(), "-c", dir.path() + "/nginx.conf"});
        process.waitForStarted();
        for (int i = 0; i < 50; ++i) {
            httplib::Client probe("127.0.0.1", port);
            if (probe.Get("/zenx/iusers.dat"))
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    ~Nginx() {
        process.terminate();
        process.waitForFinished(5000);
    }
};

double BuildMs(TExchangeStore& store) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        const std::string text = BuildStatisticsText(store.ReadCounters(), 5);
        times.push_back(Seconds(start) * 1000);
        if (text.empty())
            return -1;
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int participants = 10000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--participants")
            participants = std::max(1, std::atoi(argv[i + 1]));
        else if (std::string(argv[i]) == "--clients")
            kClients = std::max(1, std::atoi(argv[i + 1]));
    QTemporaryDir dir;
    WriteContent(dir.path() + "/content");
    const QString content = dir.path() + "/content";
    const bool havePostgres = std::getenv("PGHOST") || std::getenv("PGDATABASE");

    std::printf("Uploads of a %zu-byte users.dat (2 users, 600 answers), %d clients, %d uploads:\n",
                UsersFile(0).size(), kClients, kUploads);
    std::string statistics;
    {
        Server server(OpenSqliteStore((dir.path() + "/sqlite").toStdString()), content);
        const double ours = UploadRate(server, 0);
        const double baseRate = SqliteBaseline(dir.path() + "/sqlite", *server.service, 0);
        std::printf("  SQLite      upload %8.1f/s   straight insert %8.1f/s   ratio %.2f\n", ours,
                    baseRate, ours / baseRate);
        statistics = *server.service->Statistics();
    }
    if (havePostgres) {
        try {
            Server server(OpenPostgresStore(""), content);
            const double ours = UploadRate(server, 200000);
            const double base = PostgresBaseline(*server.service, 300000);
            std::printf("  PostgreSQL  upload %8.1f/s   straight insert %8.1f/s   ratio %.2f\n",
                        ours, base, ours / base);
        } catch (const std::exception& e) {
            std::printf("  PostgreSQL  skipped: %s\n", e.what());
        }
    } else {
        std::printf("  PostgreSQL  skipped: no database (run under pg_virtualenv)\n");
    }

    std::printf("GET /zenx/iusers.dat (%zu bytes), %d keep-alive clients, %.0f s each:\n",
                statistics.size(), kClients, kGetSeconds);
    {
        Server server(OpenSqliteStore((dir.path() + "/sqlite").toStdString()), content);
        const double ours = GetRate(server.http->Port(), "/zenx/iusers.dat", statistics.size());
        Nginx nginx(statistics);
        const double theirs = GetRate(nginx.port, "/zenx/iusers.dat", statistics.size());
        std::printf("  zenx-exchange %9.0f req/s   nginx %9.0f req/s   ratio %.2f\n", ours, theirs,
                    ours / theirs);
    }

    std::printf("Building iusers.dat from the counters of %d participants x 500 answers:\n",
                participants);
    const auto fillAndBuild = [&](TExchangeStore& store, const char* name) {
        TExchangeService service(store, TAnswerKey::FromContentDir(content), QByteArray(32, 'k'));
        const auto start = Clock::now();
        constexpr int kBatch = 100;
        for (int first = 0; first < participants; first += kBatch) {
            std::vector<TParticipant> batch;
            for (int n = first; n < std::min(participants, first + kBatch); ++n) {
                const std::string user = "P" + std::to_string(n);
                const std::string body =
                    "[Users]\r\nCount=1\r\n1=" + user + "\r\n" +
                    UserText({user, std::to_string(n), n % 2, 14 + n % 60, 500}, n);
                for (TParticipant& p : service.Participants(body))
                    batch.push_back(std::move(p));
            }
            store.ReplaceParticipants(batch);
        }
        std::printf("  %-10s  build %.2f ms (median of 5; aim under 50 ms; filled with %lld "
                    "answers in %.1f s)\n",
                    name, BuildMs(store), static_cast<long long>(store.AnswerCount()),
                    Seconds(start));
    };
    fillAndBuild(*OpenSqliteStore((dir.path() + "/build").toStdString()), "SQLite");
    if (havePostgres) {
        try {
            auto store = OpenPostgresStore("");
            fillAndBuild(*store, "PostgreSQL");
        } catch (const std::exception& e) {
            std::printf("  PostgreSQL  skipped: %s\n", e.what());
        }
    }
    return 0;
}
