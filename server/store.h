#pragma once

#include "server/counters.h"
#include "server/participant.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// The store is unavailable or refused a transaction; nothing was changed.
class TStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where the exchange keeps participants, their answers and the counters.
// Every method is safe to call from several threads at once, and several
// server processes may share one database.
class TExchangeStore {
public:
    virtual ~TExchangeStore() = default;

    // Replaces each participant's gender, age and answers (found by Hash;
    // new ones are added) and moves the counters by the difference, all in
    // one transaction. Throws TStoreError, and then nothing has changed.
    virtual void ReplaceParticipants(const std::vector<TParticipant>& participants) = 0;

    // The counters as kept (see TCounterTable for what is left out).
    virtual TCounterTable ReadCounters() = 0;
    // The counters computed afresh from every stored answer: checks and repair.
    virtual TCounterTable Recount() = 0;

    // Grows with every committed change, whichever process made it, so that a
    // cached iusers.dat can tell that it is out of date.
    virtual int64_t Generation() = 0;

    virtual int64_t ParticipantCount() = 0;
    virtual int64_t AnswerCount() = 0;
    // One participant as stored, for checks; Hash is empty when there is none.
    virtual TParticipant ReadParticipant(const std::string& hash) = 0;

    // Records `fingerprint` (of the server secret) when the database holds
    // none yet, and returns the one it holds, so that every server on one
    // database can be made to use the same secret.
    virtual std::string ClaimSecretFingerprint(const std::string& fingerprint) = 0;
};

// The embedded default: a SQLite database file in `dataDir` (created, WAL mode).
std::unique_ptr<TExchangeStore> OpenSqliteStore(const std::string& dataDir);
// A PostgreSQL database named by a connection URL or keyword string
// ("postgresql://user@host/db", or "" for the PG* environment variables).
std::unique_ptr<TExchangeStore> OpenPostgresStore(const std::string& connection);
