#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <pqxx/connection>
#include <string>
#include <vector>

// Connections to one PostgreSQL database, one per concurrent caller: opened
// on demand up to a bound, kept while healthy, and dropped when broken so
// that the next caller opens a fresh one.
class TPostgresPool {
public:
    // `prepare` runs once on every new connection (prepared statements).
    TPostgresPool(std::string connection, std::size_t maxConnections,
                  std::function<void(pqxx::connection&)> prepare);
    ~TPostgresPool();
    TPostgresPool(const TPostgresPool&) = delete;
    TPostgresPool& operator=(const TPostgresPool&) = delete;

    // One connection lent to one caller; goes back to the pool when the
    // lease ends, unless it was discarded or has broken.
    class TLease {
    public:
        TLease(TPostgresPool& pool, std::unique_ptr<pqxx::connection> connection);
        ~TLease();
        TLease(TLease&& other) noexcept;
        TLease& operator=(TLease&&) = delete;
        TLease(const TLease&) = delete;
        TLease& operator=(const TLease&) = delete;

        pqxx::connection& operator*() const { return *connection_; }
        void Discard();

    private:
        TPostgresPool* pool_;
        std::unique_ptr<pqxx::connection> connection_;
    };

    // Waits while every connection is lent. Throws TStoreError with the
    // server's message when no connection can be made.
    TLease Acquire();

private:
    void Release(std::unique_ptr<pqxx::connection> connection);

    const std::string connection_;
    const std::size_t maxConnections_;
    const std::function<void(pqxx::connection&)> prepare_;

    std::mutex mutex_;
    std::condition_variable released_;
    std::vector<std::unique_ptr<pqxx::connection>> idle_;
    std::size_t open_ = 0; // idle and lent
};
