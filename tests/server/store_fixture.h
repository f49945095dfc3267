#pragma once

#include "server/store.h"

#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// A database of its own for one store test, on either backend, and store
// objects opened on it: two of them play two servers sharing the database.
namespace storetest {

enum class TBackend { Sqlite, Postgres };
inline void PrintTo(TBackend backend, std::ostream* out) {
    *out << (backend == TBackend::Sqlite ? "SQLite" : "PostgreSQL");
}

// The PostgreSQL database the environment names: ZENX_TEST_PG, or the PG*
// variables when PGHOST or PGDATABASE is set; nothing otherwise.
std::optional<std::string> PostgresConnection();

class TStoreDatabase {
public:
    explicit TStoreDatabase(TBackend backend);
    ~TStoreDatabase();
    TStoreDatabase(const TStoreDatabase&) = delete;
    TStoreDatabase& operator=(const TStoreDatabase&) = delete;

    // Why the database is missing; empty when it is there.
    const std::string& SkipReason() const { return skipReason_; }

    std::unique_ptr<TExchangeStore> Open() const;
    // SQL run past the store, for damage the store must notice or survive.
    void Exec(const std::string& sql) const;
    // Adds to every participant count the counters hold, behind the store's back.
    void DamageCounters() const;
    // Closes every server-side connection of the stores (PostgreSQL only).
    void KillConnections() const;

private:
    TBackend backend_;
    std::string skipReason_;
    QTemporaryDir dir_;           // SQLite
    std::string adminConnection_; // PostgreSQL: without the test's schema
    std::string schema_;
    std::string connection_; // PostgreSQL: the stores' connection string
};

// Test data, written out by hand in the tests.
TStoredAnswer Answer(const std::string& key, const std::string& answer, bool right,
                     int64_t ms = 1000, double date = 46000.5);
TParticipant Participant(const std::string& hash, bool female, int age,
                         std::vector<TStoredAnswer> answers);
// Sets one cell of an expected table.
void SetCell(TCounterTable& table, const std::string& key, TGroup group, int64_t n, int64_t right);

} // namespace storetest
