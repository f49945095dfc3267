#include "server/store.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <mutex>
#include <sqlite3.h>

namespace {

constexpr int kSchemaVersion = 1;

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS participants(
  id INTEGER PRIMARY KEY,
  hash TEXT NOT NULL UNIQUE,
  female INTEGER NOT NULL,
  age INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS answers(
  participant_id INTEGER NOT NULL REFERENCES participants(id),
  question_key TEXT NOT NULL,
  answer TEXT NOT NULL,
  right INTEGER NOT NULL,
  ms INTEGER NOT NULL,
  date REAL NOT NULL,
  PRIMARY KEY(participant_id, question_key)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS counters(
  question_key TEXT NOT NULL,
  grp INTEGER NOT NULL,
  n INTEGER NOT NULL,
  r INTEGER NOT NULL,
  PRIMARY KEY(question_key, grp)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS choices(
  question_key TEXT NOT NULL,
  choice TEXT NOT NULL,
  n INTEGER NOT NULL,
  PRIMARY KEY(question_key, choice)) WITHOUT ROWID;
INSERT OR IGNORE INTO meta(key, value) VALUES('generation', '0');
)sql";

// A prepared statement, reset after each use.
class TStatement {
public:
    TStatement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) !=
            SQLITE_OK)
            throw TStoreError(std::string("SQLite: ") + sqlite3_errmsg(db));
    }
    ~TStatement() { sqlite3_finalize(stmt_); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    TStatement& Bind(int i, int64_t v) {
        sqlite3_bind_int64(stmt_, i, v);
        return *this;
    }
    TStatement& Bind(int i, double v) {
        sqlite3_bind_double(stmt_, i, v);
        return *this;
    }
    TStatement& Bind(int i, const std::string& v) {
        sqlite3_bind_text(stmt_, i, v.data(), int(v.size()), SQLITE_STATIC);
        return *this;
    }
    // True while there is a row; false when done. Throws on errors.
    bool Step() {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        sqlite3_reset(stmt_);
        if (rc != SQLITE_DONE)
            throw TStoreError(std::string("SQLite: ") + sqlite3_errmsg(db_));
        return false;
    }
    void Run() {
        while (Step()) {
        }
    }
    void Reset() { sqlite3_reset(stmt_); }
    int64_t Int(int col) const { return sqlite3_column_int64(stmt_, col); }
    double Real(int col) const { return sqlite3_column_double(stmt_, col); }
    std::string Text(int col) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
        return p ? std::string(p, std::size_t(sqlite3_column_bytes(stmt_, col))) : std::string();
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class TSqliteStore final : public TExchangeStore {
public:
    explicit TSqliteStore(const std::string& dataDir);
    ~TSqliteStore() override;

    void ReplaceParticipants(const std::vector<TParticipant>& participants) override;
    TCounterTable ReadCounters() override;
    TCounterTable Recount() override;
    int64_t Generation() override;
    int64_t ParticipantCount() override;
    int64_t AnswerCount() override;
    TParticipant ReadParticipant(const std::string& hash) override;
    std::string ClaimSecretFingerprint(const std::string& fingerprint) override;

private:
    void Exec(const char* sql);
    int64_t ScalarInt(const char* sql);
    void Replace(const TParticipant& p, TCounterDelta& delta);
    void Apply(const TCounterDelta& delta);
    TCounterTable ReadCountersInTransaction();

    std::mutex mutex_;
    sqlite3* db_ = nullptr;
    // Statements of the upload path, prepared once.
    struct Prepared;
    std::unique_ptr<Prepared> prepared_;
};

struct TSqliteStore::Prepared {
    explicit Prepared(sqlite3* db)
        : findParticipant(db, "SELECT id, female, age FROM participants WHERE hash = ?1"),
          oldAnswers(db,
                     "SELECT question_key, answer, right FROM answers WHERE participant_id = ?1"),
          deleteAnswers(db, "DELETE FROM answers WHERE participant_id = ?1"),
          updateParticipant(db, "UPDATE participants SET female = ?2, age = ?3 WHERE id = ?1"),
          insertParticipant(db, "INSERT INTO participants(hash, female, age) VALUES(?1, ?2, ?3)"),
          insertAnswer(db, "INSERT INTO answers(participant_id, question_key, answer, right, ms, "
                           "date) VALUES(?1, ?2, ?3, ?4, ?5, ?6)"),
          addCounter(db, "INSERT INTO counters(question_key, grp, n, r) VALUES(?1, ?2, ?3, ?4) "
                         "ON CONFLICT(question_key, grp) DO UPDATE SET n = n + excluded.n, "
                         "r = r + excluded.r"),
          addChoice(db, "INSERT INTO choices(question_key, choice, n) VALUES(?1, ?2, ?3) "
                        "ON CONFLICT(question_key, choice) DO UPDATE SET n = n + excluded.n"),
          bumpGeneration(db, "UPDATE meta SET value = CAST(value AS INTEGER) + 1 "
                             "WHERE key = 'generation'") {}

    TStatement findParticipant, oldAnswers, deleteAnswers, updateParticipant, insertParticipant,
        insertAnswer, addCounter, addChoice, bumpGeneration;
};

TSqliteStore::TSqliteStore(const std::string& dataDir) {
    const QString dir = QString::fromStdString(dataDir);
    if (!QDir().mkpath(dir))
        throw TStoreError("cannot create the data directory " + dataDir);
    const std::string path = QDir(dir).filePath(QStringLiteral("exchange.sqlite")).toStdString();
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw TStoreError("cannot open " + path + ": " + why);
    }
    try {
        sqlite3_busy_timeout(db_, 5000);
        // WAL lets readers go on while an upload commits; FULL makes an
        // acknowledged upload survive a power cut.
        Exec("PRAGMA journal_mode = WAL");
        Exec("PRAGMA synchronous = FULL");
        Exec("PRAGMA foreign_keys = ON");
        Exec("BEGIN IMMEDIATE");
        Exec(kSchema);
        TStatement version(db_, "SELECT value FROM meta WHERE key = 'schema_version'");
        if (version.Step()) {
            const int64_t found = version.Int(0);
            version.Reset();
            if (found > kSchemaVersion)
                throw TStoreError("the database has schema version " + std::to_string(found) +
                                  "; this server knows up to " + std::to_string(kSchemaVersion));
        } else {
            Exec("INSERT INTO meta(key, value) VALUES('schema_version', '1')");
        }
        Exec("COMMIT");
        prepared_ = std::make_unique<Prepared>(db_);
        QFile::setPermissions(QString::fromStdString(path),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        prepared_.reset();
        sqlite3_close(db_);
        throw;
    }
}

TSqliteStore::~TSqliteStore() {
    prepared_.reset();
    sqlite3_close(db_);
}

void TSqliteStore::Exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string why = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw TStoreError("SQLite: " + why);
    }
}

int64_t TSqliteStore::ScalarInt(const char* sql) {
    TStatement stmt(db_, sql);
    const int64_t value = stmt.Step() ? stmt.Int(0) : 0;
    stmt.Reset();
    return value;
}

void TSqliteStore::Replace(const TParticipant& p, TCounterDelta& delta) {
    Prepared& s = *prepared_;
    int64_t id = 0;
    s.findParticipant.Bind(1, p.Hash);
    if (s.findParticipant.Step()) {
        id = s.findParticipant.Int(0);
        const bool female = s.findParticipant.Int(1) != 0;
        const int age = int(s.findParticipant.Int(2));
        s.findParticipant.Reset();
        s.oldAnswers.Bind(1, id);
        while (s.oldAnswers.Step())
            delta.AddAnswer(female, age, s.oldAnswers.Text(0), s.oldAnswers.Text(1),
                            s.oldAnswers.Int(2) != 0, -1);
        s.deleteAnswers.Bind(1, id).Run();
        s.updateParticipant.Bind(1, id).Bind(2, int64_t(p.Female)).Bind(3, int64_t(p.Age)).Run();
    } else {
        s.insertParticipant.Bind(1, p.Hash)
            .Bind(2, int64_t(p.Female))
            .Bind(3, int64_t(p.Age))
            .Run();
        id = sqlite3_last_insert_rowid(db_);
    }
    for (const TStoredAnswer& a : p.Answers)
        s.insertAnswer.Bind(1, id)
            .Bind(2, a.QuestionKey)
            .Bind(3, a.Answer)
            .Bind(4, int64_t(a.Right))
            .Bind(5, a.Ms)
            .Bind(6, a.Date)
            .Run();
    delta.Add(p, +1);
}

void TSqliteStore::Apply(const TCounterDelta& delta) {
    Prepared& s = *prepared_;
    for (const auto& [key, cell] : delta.Cells())
        s.addCounter.Bind(1, key.first)
            .Bind(2, int64_t(key.second))
            .Bind(3, cell.N)
            .Bind(4, cell.Right)
            .Run();
    for (const auto& [key, n] : delta.Choices())
        s.addChoice.Bind(1, key.first).Bind(2, key.second).Bind(3, n).Run();
    s.bumpGeneration.Run();
}

void TSqliteStore::ReplaceParticipants(const std::vector<TParticipant>& participants) {
    std::vector<const TParticipant*> order;
    for (const TParticipant& p : participants)
        order.push_back(&p);
    std::stable_sort(order.begin(), order.end(), [](const TParticipant* a, const TParticipant* b) {
        return a->Hash < b->Hash;
    });
    std::lock_guard lock(mutex_);
    Exec("BEGIN IMMEDIATE");
    try {
        TCounterDelta delta;
        for (const TParticipant* p : order)
            Replace(*p, delta);
        Apply(delta);
        Exec("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

TCounterTable TSqliteStore::ReadCounters() {
    std::lock_guard lock(mutex_);
    // One read transaction, so that both tables show the same uploads even
    // when another process writes the file.
    Exec("BEGIN");
    try {
        TCounterTable table = ReadCountersInTransaction();
        Exec("COMMIT");
        return table;
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

TCounterTable TSqliteStore::ReadCountersInTransaction() {
    TCounterTable table;
    TStatement cells(db_, "SELECT question_key, grp, n, r FROM counters WHERE n <> 0 OR r <> 0");
    while (cells.Step()) {
        const int64_t group = cells.Int(1);
        if (group < 0 || group >= int64_t(kGroupCount))
            continue;
        table[cells.Text(0)].Groups[std::size_t(group)] = TCell{cells.Int(2), cells.Int(3)};
    }
    TStatement choices(db_, "SELECT question_key, choice, n FROM choices WHERE n <> 0");
    while (choices.Step())
        table[choices.Text(0)].Choices[choices.Text(1)] = choices.Int(2);
    return table;
}

TCounterTable TSqliteStore::Recount() {
    std::lock_guard lock(mutex_);
    TCounterDelta delta;
    TStatement rows(db_, "SELECT p.female, p.age, a.question_key, a.answer, a.right "
                         "FROM answers a JOIN participants p ON p.id = a.participant_id");
    while (rows.Step())
        delta.AddAnswer(rows.Int(0) != 0, int(rows.Int(1)), rows.Text(2), rows.Text(3),
                        rows.Int(4) != 0, +1);
    TCounterTable table;
    delta.ApplyTo(table);
    return table;
}

int64_t TSqliteStore::Generation() {
    std::lock_guard lock(mutex_);
    return ScalarInt("SELECT CAST(value AS INTEGER) FROM meta WHERE key = 'generation'");
}

int64_t TSqliteStore::ParticipantCount() {
    std::lock_guard lock(mutex_);
    return ScalarInt("SELECT count(*) FROM participants");
}

int64_t TSqliteStore::AnswerCount() {
    std::lock_guard lock(mutex_);
    return ScalarInt("SELECT count(*) FROM answers");
}

TParticipant TSqliteStore::ReadParticipant(const std::string& hash) {
    std::lock_guard lock(mutex_);
    TParticipant p;
    TStatement find(db_, "SELECT id, female, age FROM participants WHERE hash = ?1");
    find.Bind(1, hash);
    if (!find.Step())
        return p;
    const int64_t id = find.Int(0);
    p.Hash = hash;
    p.Female = find.Int(1) != 0;
    p.Age = int(find.Int(2));
    find.Reset();
    TStatement answers(db_, "SELECT question_key, answer, right, ms, date FROM answers "
                            "WHERE participant_id = ?1 ORDER BY question_key");
    answers.Bind(1, id);
    while (answers.Step())
        p.Answers.push_back(TStoredAnswer{answers.Text(0), answers.Text(1), answers.Int(2) != 0,
                                          answers.Int(3), answers.Real(4)});
    return p;
}

std::string TSqliteStore::ClaimSecretFingerprint(const std::string& fingerprint) {
    std::lock_guard lock(mutex_);
    TStatement claim(db_,
                     "INSERT OR IGNORE INTO meta(key, value) VALUES('secret_fingerprint', ?1)");
    claim.Bind(1, fingerprint).Run();
    TStatement read(db_, "SELECT value FROM meta WHERE key = 'secret_fingerprint'");
    const std::string stored = read.Step() ? read.Text(0) : std::string();
    read.Reset();
    return stored;
}

} // namespace

std::unique_ptr<TExchangeStore> OpenSqliteStore(const std::string& dataDir) {
    return std::make_unique<TSqliteStore>(dataDir);
}
