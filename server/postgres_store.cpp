#include "platform/numbers.h"
#include "server/postgres_pool.h"
#include "server/store.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <pqxx/binarystring>
#include <pqxx/except>
#include <pqxx/nontransaction>
#include <pqxx/result>
#include <pqxx/transaction>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <map>
#include <random>
#include <string_view>
#include <thread>

// Keys, answers and hashes are kept as BYTEA: they are Windows-1252 bytes
// (or anything a client sent), which a TEXT column of a UTF-8 database would
// refuse, and BYTEA sorts byte by byte like std::string and SQLite do.

namespace {

constexpr int kSchemaVersion = 1;
constexpr std::size_t kMaxConnections = 16;
constexpr int kMaxAttempts = 8;
// Serialises schema creation when several servers start on one database.
constexpr int64_t kSchemaLock = 0x7a656e7832; // "zenx2"

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS participants(
  id BIGSERIAL PRIMARY KEY,
  hash BYTEA NOT NULL UNIQUE,
  female BOOLEAN NOT NULL,
  age INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS answers(
  participant_id BIGINT NOT NULL REFERENCES participants(id),
  question_key BYTEA NOT NULL,
  answer BYTEA NOT NULL,
  "right" BOOLEAN NOT NULL,
  ms BIGINT NOT NULL,
  date DOUBLE PRECISION NOT NULL,
  PRIMARY KEY(participant_id, question_key));
-- One row per question and shard holds every counter of the question: the
-- six groups' participants and right answers, and how often each choice was
-- given (choice name -> count; a count that fell to 0 may stay as 0). One
-- row per question keeps an upload's upserts to one per question answered.
-- The rows are updated all the time: room left on each page lets PostgreSQL
-- update them in place without touching the index.
CREATE TABLE IF NOT EXISTS counters(
  question_key BYTEA NOT NULL,
  shard INTEGER NOT NULL,
  n0 BIGINT NOT NULL, r0 BIGINT NOT NULL, n1 BIGINT NOT NULL, r1 BIGINT NOT NULL,
  n2 BIGINT NOT NULL, r2 BIGINT NOT NULL, n3 BIGINT NOT NULL, r3 BIGINT NOT NULL,
  n4 BIGINT NOT NULL, r4 BIGINT NOT NULL, n5 BIGINT NOT NULL, r5 BIGINT NOT NULL,
  choices JSONB NOT NULL,
  PRIMARY KEY(question_key, shard)) WITH (fillfactor = 50);
CREATE TABLE IF NOT EXISTS generations(shard INTEGER PRIMARY KEY, n BIGINT NOT NULL);
INSERT INTO meta(key, value) VALUES('schema_version', '1') ON CONFLICT (key) DO NOTHING;
)sql";

// Statements of the upload path, prepared on every connection. Rows travel
// as arrays, one statement per table and upload, because round trips and
// not the rows dominate the time of an upload.
const std::pair<const char*, const char*> kStatements[] = {
    {"add_participants", "INSERT INTO participants(hash, female, age) "
                         "SELECT * FROM unnest($1::bytea[], $2::boolean[], $3::integer[]) "
                         "ON CONFLICT (hash) DO NOTHING"},
    // ORDER BY puts the row locks in hash order, the order every upload takes them in.
    {"lock_participants", "SELECT id, hash, female, age FROM participants "
                          "WHERE hash = ANY($1::bytea[]) ORDER BY hash FOR UPDATE"},
    {"take_answers", "DELETE FROM answers WHERE participant_id = ANY($1::bigint[]) "
                     "RETURNING participant_id, question_key, answer, \"right\""},
    {"update_participants",
     "UPDATE participants AS p SET female = u.female, age = u.age "
     "FROM unnest($1::bigint[], $2::boolean[], $3::integer[]) AS u(id, female, age) "
     "WHERE p.id = u.id"},
    {"insert_answers",
     "INSERT INTO answers(participant_id, question_key, answer, \"right\", ms, date) "
     "SELECT * FROM unnest($1::bigint[], $2::bytea[], $3::bytea[], $4::boolean[], "
     "$5::bigint[], $6::float8[])"},
    {"add_counters",
     "INSERT INTO counters AS c(question_key, shard, n0, r0, n1, r1, n2, r2, n3, r3, n4, r4, "
     "n5, r5, choices) "
     "SELECT u.k, $15::integer, u.n0, u.r0, u.n1, u.r1, u.n2, u.r2, u.n3, u.r3, u.n4, u.r4, "
     "u.n5, u.r5, u.ch FROM unnest($1::bytea[], $2::bigint[], $3::bigint[], $4::bigint[], "
     "$5::bigint[], $6::bigint[], $7::bigint[], $8::bigint[], $9::bigint[], $10::bigint[], "
     "$11::bigint[], $12::bigint[], $13::bigint[], $14::jsonb[]) "
     "AS u(k, n0, r0, n1, r1, n2, r2, n3, r3, n4, r4, n5, r5, ch) "
     "ON CONFLICT (question_key, shard) DO UPDATE SET "
     "n0 = c.n0 + excluded.n0, r0 = c.r0 + excluded.r0, n1 = c.n1 + excluded.n1, "
     "r1 = c.r1 + excluded.r1, n2 = c.n2 + excluded.n2, r2 = c.r2 + excluded.r2, "
     "n3 = c.n3 + excluded.n3, r3 = c.r3 + excluded.r3, n4 = c.n4 + excluded.n4, "
     "r4 = c.r4 + excluded.r4, n5 = c.n5 + excluded.n5, r5 = c.r5 + excluded.r5, "
     // An inline subquery: a function call per row costs twice as much.
     "choices = c.choices || coalesce((SELECT jsonb_object_agg(e.key, "
     "coalesce((c.choices ->> e.key)::bigint, 0) + e.value::bigint) "
     "FROM jsonb_each_text(excluded.choices) AS e), '{}'::jsonb)"},
    {"bump_generation", "INSERT INTO generations AS g(shard, n) VALUES($1::integer, 1) "
                        "ON CONFLICT (shard) DO UPDATE SET n = g.n + 1"},
};

// ---- Values as text -------------------------------------------------------

constexpr char kHexDigits[] = "0123456789abcdef";

// The text form of a BYTEA value ("\x..."), which no encoding can refuse.
std::string ByteaText(std::string_view bytes) {
    std::string text = "\\x";
    text.reserve(2 + 2 * bytes.size());
    for (unsigned char c : bytes) {
        text += kHexDigits[c >> 4];
        text += kHexDigits[c & 15];
    }
    return text;
}

std::string Bytes(const pqxx::field& field) {
    const std::string_view text(field.c_str(), field.size());
    if (text.size() < 2 || text.substr(0, 2) != "\\x" || text.size() % 2 != 0)
        return pqxx::binarystring(field).str(); // a server set to the old escape format
    std::string bytes;
    bytes.reserve(text.size() / 2 - 1);
    for (std::size_t i = 2; i < text.size(); i += 2) {
        const int high = plat::HexDigitValue(text[i]), low = plat::HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            throw TStoreError("PostgreSQL returned malformed BYTEA text");
        bytes += char(high * 16 + low);
    }
    return bytes;
}

// Without the locale: Qt sets LC_NUMERIC from the environment.
std::string DoubleText(double value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

double Double(const pqxx::field& field) {
    const char* begin = field.c_str();
    double value = 0;
    if (std::from_chars(begin, begin + field.size(), value).ec != std::errc())
        throw TStoreError(std::string("PostgreSQL returned an unreadable number: ") + begin);
    return value;
}

bool Bool(const pqxx::field& field) {
    return field.c_str()[0] == 't';
}

// An array literal with every element quoted, so that no element is read
// as NULL or split at a comma.
class TArrayText {
public:
    void Add(std::string_view element) {
        text_ += text_.size() == 1 ? "\"" : ",\"";
        for (char c : element) {
            if (c == '"' || c == '\\')
                text_ += '\\';
            text_ += c;
        }
        text_ += '"';
    }
    void AddBytes(std::string_view bytes) { Add(ByteaText(bytes)); }
    void Add(int64_t value) { Add(std::to_string(value)); }
    void Add(bool value) { Add(value ? "t" : "f"); }
    void Add(double value) { Add(DoubleText(value)); }
    void Add(const char* element) { Add(std::string_view(element)); }

    bool Empty() const { return text_.size() == 1; }
    std::string Text() const { return text_ + "}"; }

private:
    std::string text_ = "{";
};

std::string Message(const std::exception& e) {
    std::string text = e.what();
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return "PostgreSQL: " + text;
}

void BackOff(int attempt) {
    thread_local std::minstd_rand random{std::random_device{}()};
    const int most = 1 << std::min(attempt, 6);
    std::this_thread::sleep_for(std::chrono::milliseconds(1 + int(random() % unsigned(most))));
}

// ---- The store ------------------------------------------------------------

class TPostgresStore final : public TExchangeStore {
public:
    explicit TPostgresStore(const std::string& connection);

    void ReplaceParticipants(const std::vector<TParticipant>& participants) override;
    TCounterTable ReadCounters() override;
    TCounterTable Recount() override;
    int64_t Generation() override;
    int64_t ParticipantCount() override;
    int64_t AnswerCount() override;
    TParticipant ReadParticipant(const std::string& hash) override;
    std::string ClaimSecretFingerprint(const std::string& fingerprint) override;

private:
    // Runs `work` on a pooled connection, again on a deadlock, a
    // serialisation failure or a connection that broke before the commit.
    template <typename Work> auto Run(Work&& work);
    int64_t ScalarInt(const char* sql);
    void CreateSchema(pqxx::connection& connection);

    TPostgresPool pool_;
};

template <typename Work> auto TPostgresStore::Run(Work&& work) {
    for (int attempt = 1;; ++attempt) {
        TPostgresPool::TLease lease = pool_.Acquire();
        try {
            return work(*lease);
        } catch (const TStoreError&) {
            throw;
        } catch (const pqxx::transaction_rollback& e) {
            // The server rolled the transaction back; running it again is safe.
            if (attempt == kMaxAttempts)
                throw TStoreError(Message(e));
        } catch (const pqxx::in_doubt_error& e) {
            lease.Discard();
            throw TStoreError(Message(e) + " (the commit may or may not have happened)");
        } catch (const pqxx::broken_connection& e) {
            // Before the commit, so nothing was stored.
            lease.Discard();
            if (attempt == kMaxAttempts)
                throw TStoreError(Message(e));
        } catch (const std::exception& e) {
            throw TStoreError(Message(e));
        }
        BackOff(attempt);
    }
}

TPostgresStore::TPostgresStore(const std::string& connection)
    : pool_(connection, kMaxConnections, [](pqxx::connection& c) {
          for (const auto& [name, sql] : kStatements)
              c.prepare(name, sql);
      }) {
    Run([&](pqxx::connection& c) { CreateSchema(c); });
}

void TPostgresStore::CreateSchema(pqxx::connection& connection) {
    pqxx::work txn(connection);
    txn.exec_params("SELECT pg_advisory_xact_lock($1)", kSchemaLock);
    txn.exec0("SET LOCAL client_min_messages = warning");
    if (Bool(txn.exec1("SELECT to_regclass('meta') IS NOT NULL")[0])) {
        const pqxx::result version =
            txn.exec("SELECT value FROM meta WHERE key = 'schema_version'");
        int64_t found = 0;
        if (!version.empty() && !version[0][0].to(found))
            throw TStoreError("the database has an unreadable schema version");
        if (found > kSchemaVersion)
            throw TStoreError("the database has schema version " + std::to_string(found) +
                              "; this server knows up to " + std::to_string(kSchemaVersion));
    }
    txn.exec0(kSchema);
    txn.commit();
}

// The last of each hash, sorted by hash: the same result as replacing them
// one after another, and the lock order of every upload.
std::vector<const TParticipant*> LastOfEachHash(const std::vector<TParticipant>& participants) {
    std::vector<const TParticipant*> order;
    order.reserve(participants.size());
    for (const TParticipant& p : participants)
        order.push_back(&p);
    std::stable_sort(order.begin(), order.end(), [](const TParticipant* a, const TParticipant* b) {
        return a->Hash < b->Hash;
    });
    std::vector<const TParticipant*> last;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (i + 1 == order.size() || order[i + 1]->Hash != order[i]->Hash)
            last.push_back(order[i]);
    return last;
}

// Locks the participants of an upload in hash order (adding the new ones),
// takes away their old answers and what those counted, and sets their
// gender and age. Returns their row ids in `batch` order.
std::vector<int64_t> TakeOver(pqxx::work& txn, const std::vector<const TParticipant*>& batch,
                              TCounterDelta& delta) {
    TArrayText hashArray, femaleArray, ageArray;
    for (const TParticipant* p : batch) {
        hashArray.AddBytes(p->Hash);
        femaleArray.Add(p->Female);
        ageArray.Add(int64_t(p->Age));
    }
    const std::string hashes = hashArray.Text();
    // New ones start with their final gender and age and no answers, so
    // that they need no case of their own below.
    txn.exec_prepared0("add_participants", hashes, femaleArray.Text(), ageArray.Text());
    const pqxx::result locked = txn.exec_prepared("lock_participants", hashes);
    if (locked.size() != batch.size())
        throw TStoreError("PostgreSQL: a participant vanished during the upload");

    std::vector<int64_t> ids(batch.size());
    std::map<int64_t, std::pair<bool, int>> before; // id -> gender, age
    TArrayText allIds, changedIds, changedFemales, changedAges;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const pqxx::row row = locked[pqxx::result::size_type(i)];
        if (Bytes(row[1]) != batch[i]->Hash)
            throw TStoreError("PostgreSQL: participants came back out of order");
        ids[i] = row[0].as<int64_t>();
        const bool female = Bool(row[2]);
        const int age = row[3].as<int>();
        before[ids[i]] = {female, age};
        allIds.Add(ids[i]);
        if (female != batch[i]->Female || age != batch[i]->Age) {
            changedIds.Add(ids[i]);
            changedFemales.Add(batch[i]->Female);
            changedAges.Add(int64_t(batch[i]->Age));
        }
    }

    for (const pqxx::row& row : txn.exec_prepared("take_answers", allIds.Text())) {
        const auto& [female, age] = before.at(row[0].as<int64_t>());
        delta.AddAnswer(female, age, Bytes(row[1]), Bytes(row[2]), Bool(row[3]), -1);
    }
    if (!changedIds.Empty())
        txn.exec_prepared0("update_participants", changedIds.Text(), changedFemales.Text(),
                           changedAges.Text());
    return ids;
}

void InsertAnswers(pqxx::work& txn, const std::vector<const TParticipant*>& batch,
                   const std::vector<int64_t>& ids, TCounterDelta& delta) {
    TArrayText owners, keys, answers, rights, times, dates;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        for (const TStoredAnswer& a : batch[i]->Answers) {
            owners.Add(ids[i]);
            keys.AddBytes(a.QuestionKey);
            answers.AddBytes(a.Answer);
            rights.Add(a.Right);
            times.Add(a.Ms);
            dates.Add(a.Date);
        }
        delta.Add(*batch[i], +1);
    }
    if (!owners.Empty())
        txn.exec_prepared0("insert_answers", owners.Text(), keys.Text(), answers.Text(),
                           rights.Text(), times.Text(), dates.Text());
}

// In the delta's sorted order, so that concurrent uploads lock the counter
// rows in one order and cannot deadlock on them.
// Every upload changes the counters of the questions it answers, the same
// rows for every upload; with one row per counter, concurrent uploads would
// queue for those row locks until each other's commit. Each transaction adds
// to one of kShards rows per counter instead, and reading sums them.
constexpr int kShards = 16;

int PickShard() {
    thread_local std::minstd_rand random{std::random_device{}()};
    return int(random() % kShards);
}

// Adds the counts of a choices object ({"-": 1, "a": 12}) to `choices`,
// dropping names whose total is 0. False for text that is no such object.
bool AddChoiceCounts(std::string_view json, std::map<std::string, int64_t>& choices) {
    QJsonParseError error;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(json.data(), qsizetype(json.size())), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject object = doc.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isDouble())
            return false;
        const std::string name = it.key().toStdString();
        if ((choices[name] += it.value().toInteger()) == 0)
            choices.erase(name);
    }
    return true;
}

// The JSON object of a question's choice counts.
std::string ChoicesJson(const std::map<std::string, int64_t>& choices) {
    QJsonObject object;
    for (const auto& [name, n] : choices)
        object.insert(QString::fromStdString(name), qint64(n));
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

void ApplyDelta(pqxx::work& txn, const TCounterDelta& delta, int shard) {
    // The delta per question, as one row of the counters table.
    std::map<std::string, TQuestionCounts> rows;
    for (const auto& [key, cell] : delta.Cells())
        rows[key.first].Groups[std::size_t(key.second)] = cell;
    for (const auto& [key, n] : delta.Choices())
        rows[key.first].Choices[key.second] = n;
    if (rows.empty())
        return;
    TArrayText keys, choices;
    std::array<TArrayText, 2 * kGroupCount> columns;
    for (const auto& [key, row] : rows) {
        keys.AddBytes(key);
        for (std::size_t g = 0; g < kGroupCount; ++g) {
            columns[2 * g].Add(row.Groups[g].N);
            columns[2 * g + 1].Add(row.Groups[g].Right);
        }
        choices.Add(ChoicesJson(row.Choices));
    }
    txn.exec_prepared0("add_counters", keys.Text(), columns[0].Text(), columns[1].Text(),
                       columns[2].Text(), columns[3].Text(), columns[4].Text(), columns[5].Text(),
                       columns[6].Text(), columns[7].Text(), columns[8].Text(), columns[9].Text(),
                       columns[10].Text(), columns[11].Text(), choices.Text(), shard);
}

void TPostgresStore::ReplaceParticipants(const std::vector<TParticipant>& participants) {
    const std::vector<const TParticipant*> batch = LastOfEachHash(participants);
    Run([&](pqxx::connection& connection) {
        pqxx::work txn(connection);
        TCounterDelta delta;
        if (!batch.empty()) {
            const std::vector<int64_t> ids = TakeOver(txn, batch, delta);
            InsertAnswers(txn, batch, ids, delta);
        }
        const int shard = PickShard();
        ApplyDelta(txn, delta, shard);
        // Last, so that the row is held only until the commit.
        txn.exec_prepared0("bump_generation", shard);
        txn.commit();
    });
}

TCounterTable TPostgresStore::ReadCounters() {
    return Run([](pqxx::connection& connection) {
        // Every row of every shard in one pass, summed here: cheaper than
        // letting the server expand and group the choice objects.
        pqxx::transaction<pqxx::repeatable_read, pqxx::read_only> txn(connection);
        TCounterTable sums;
        for (const pqxx::row& row :
             txn.exec("SELECT question_key, n0, r0, n1, r1, n2, r2, n3, r3, n4, r4, n5, r5, "
                      "choices FROM counters")) {
            TQuestionCounts& counts = sums[Bytes(row[0])];
            for (std::size_t g = 0; g < kGroupCount; ++g) {
                counts.Groups[g].N += row[int(1 + 2 * g)].as<int64_t>();
                counts.Groups[g].Right += row[int(2 + 2 * g)].as<int64_t>();
            }
            if (!AddChoiceCounts(std::string_view(row[13].c_str(), row[13].size()), counts.Choices))
                throw TStoreError("PostgreSQL returned a malformed choices object");
        }
        txn.commit();
        // An empty delta only drops what counts nobody, as the table leaves out.
        TCounterDelta().ApplyTo(sums);
        return sums;
    });
}

TCounterTable TPostgresStore::Recount() {
    return Run([](pqxx::connection& connection) {
        pqxx::transaction<pqxx::repeatable_read, pqxx::read_only> txn(connection);
        // A cursor, so that memory stays bounded however many answers there are.
        txn.exec0("DECLARE recount NO SCROLL CURSOR FOR "
                  "SELECT p.female, p.age, a.question_key, a.answer, a.\"right\" "
                  "FROM answers a JOIN participants p ON p.id = a.participant_id");
        TCounterDelta delta;
        for (;;) {
            const pqxx::result rows = txn.exec("FETCH FORWARD 20000 FROM recount");
            if (rows.empty())
                break;
            for (const pqxx::row& row : rows)
                delta.AddAnswer(Bool(row[0]), row[1].as<int>(), Bytes(row[2]), Bytes(row[3]),
                                Bool(row[4]), +1);
        }
        txn.commit();
        TCounterTable table;
        delta.ApplyTo(table);
        return table;
    });
}

int64_t TPostgresStore::ScalarInt(const char* sql) {
    return Run([sql](pqxx::connection& connection) {
        pqxx::nontransaction txn(connection);
        const pqxx::result result = txn.exec(sql);
        int64_t value = 0;
        if (!result.empty() && !result[0][0].to(value))
            throw TStoreError(std::string("PostgreSQL: no number from ") + sql);
        return value;
    });
}

int64_t TPostgresStore::Generation() {
    return ScalarInt("SELECT coalesce(sum(n), 0)::bigint FROM generations");
}

int64_t TPostgresStore::ParticipantCount() {
    return ScalarInt("SELECT count(*) FROM participants");
}

int64_t TPostgresStore::AnswerCount() {
    return ScalarInt("SELECT count(*) FROM answers");
}

TParticipant TPostgresStore::ReadParticipant(const std::string& hash) {
    return Run([&](pqxx::connection& connection) {
        pqxx::nontransaction txn(connection);
        // One statement, so the participant and the answers are of one snapshot.
        const pqxx::result rows = txn.exec_params(
            "SELECT p.female, p.age, a.question_key, a.answer, a.\"right\", a.ms, a.date "
            "FROM participants p LEFT JOIN answers a ON a.participant_id = p.id "
            "WHERE p.hash = $1::bytea ORDER BY a.question_key",
            ByteaText(hash));
        TParticipant p;
        if (rows.empty())
            return p;
        p.Hash = hash;
        p.Female = Bool(rows[0][0]);
        p.Age = rows[0][1].as<int>();
        for (const pqxx::row& row : rows)
            if (!row[2].is_null())
                p.Answers.push_back(TStoredAnswer{Bytes(row[2]), Bytes(row[3]), Bool(row[4]),
                                                  row[5].as<int64_t>(), Double(row[6])});
        return p;
    });
}

std::string TPostgresStore::ClaimSecretFingerprint(const std::string& fingerprint) {
    return Run([&](pqxx::connection& connection) {
        pqxx::work txn(connection);
        txn.exec_params0("INSERT INTO meta(key, value) VALUES('secret_fingerprint', $1) "
                         "ON CONFLICT (key) DO NOTHING",
                         fingerprint);
        const pqxx::result stored =
            txn.exec("SELECT value FROM meta WHERE key = 'secret_fingerprint'");
        txn.commit();
        return stored.empty() ? std::string() : stored[0][0].as<std::string>();
    });
}

} // namespace

std::unique_ptr<TExchangeStore> OpenPostgresStore(const std::string& connection) {
    return std::make_unique<TPostgresStore>(connection);
}
