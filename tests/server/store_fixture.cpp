#include "tests/server/store_fixture.h"

#include <QDir>
#include <atomic>
#include <cstdlib>
#include <pqxx/pqxx>
#include <sqlite3.h>
#include <unistd.h>

namespace storetest {

namespace {

bool IsUrl(const std::string& connection) {
    return connection.rfind("postgresql://", 0) == 0 || connection.rfind("postgres://", 0) == 0;
}

// The connection string with keywords added in the form it is written in.
std::string WithOptions(const std::string& connection, const std::string& schema) {
    const std::string options = "-c search_path=" + schema + " -c client_min_messages=warning";
    if (IsUrl(connection)) {
        std::string encoded;
        for (char c : options)
            encoded += c == ' ' ? "%20" : c == '=' ? "%3D" : std::string(1, c);
        return connection + (connection.find('?') == std::string::npos ? "?" : "&") +
               "options=" + encoded + "&application_name=" + schema;
    }
    return connection + " options='" + options + "' application_name=" + schema;
}

void Run(const std::string& connection, const std::string& sql) {
    pqxx::connection c(connection);
    pqxx::work txn(c);
    txn.exec(sql);
    txn.commit();
}

} // namespace

std::optional<std::string> PostgresConnection() {
    if (const char* named = std::getenv("ZENX_TEST_PG"))
        return std::string(named);
    if (std::getenv("PGHOST") || std::getenv("PGDATABASE"))
        return std::string();
    return std::nullopt;
}

TStoreDatabase::TStoreDatabase(TBackend backend) : backend_(backend) {
    if (backend_ == TBackend::Sqlite)
        return;
    const auto base = PostgresConnection();
    if (!base) {
        skipReason_ = "no PostgreSQL database (run under pg_virtualenv)";
        return;
    }
    // A schema per test keeps tests apart even when they run side by side.
    static std::atomic<int> serial{0};
    schema_ = "zenx_test_" + std::to_string(getpid()) + "_" + std::to_string(++serial);
    adminConnection_ = *base;
    Run(adminConnection_, "CREATE SCHEMA " + schema_);
    connection_ = WithOptions(*base, schema_);
}

TStoreDatabase::~TStoreDatabase() {
    if (schema_.empty())
        return;
    try {
        Run(adminConnection_,
            "SET client_min_messages = warning; DROP SCHEMA " + schema_ + " CASCADE");
    } catch (const std::exception&) {
        // A schema left behind costs nothing in a throw-away cluster.
    }
}

std::unique_ptr<TExchangeStore> TStoreDatabase::Open() const {
    if (backend_ == TBackend::Sqlite)
        return OpenSqliteStore(dir_.path().toStdString());
    return OpenPostgresStore(connection_);
}

void TStoreDatabase::Exec(const std::string& sql) const {
    if (backend_ == TBackend::Postgres) {
        Run(connection_, sql);
        return;
    }
    const std::string path = QDir(dir_.path()).filePath("exchange.sqlite").toStdString();
    sqlite3* db = nullptr;
    const int opened = sqlite3_open(path.c_str(), &db);
    char* error = nullptr;
    const int ran =
        opened == SQLITE_OK ? sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) : opened;
    const std::string why = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    sqlite3_close(db);
    if (ran != SQLITE_OK)
        throw std::runtime_error("SQLite: " + why);
}

void TStoreDatabase::DamageCounters() const {
    // The backends lay their counters out differently.
    Exec(backend_ == TBackend::Sqlite ? "UPDATE counters SET n = n + 7"
                                      : "UPDATE counters SET n0 = n0 + 7, n1 = n1 + 7");
}

void TStoreDatabase::KillConnections() const {
    Run(adminConnection_, "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                          "WHERE application_name = '" +
                              schema_ + "'");
}

TStoredAnswer Answer(const std::string& key, const std::string& answer, bool right, int64_t ms,
                     double date) {
    return TStoredAnswer{key, answer, right, ms, date};
}

TParticipant Participant(const std::string& hash, bool female, int age,
                         std::vector<TStoredAnswer> answers) {
    return TParticipant{hash, female, age, std::move(answers)};
}

void SetCell(TCounterTable& table, const std::string& key, TGroup group, int64_t n, int64_t right) {
    table[key].Groups[std::size_t(group)] = TCell{n, right};
}

} // namespace storetest
