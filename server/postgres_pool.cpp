#include "server/postgres_pool.h"

#include "server/store.h"

#include <pqxx/except>

TPostgresPool::TPostgresPool(std::string connection, std::size_t maxConnections,
                             std::function<void(pqxx::connection&)> prepare)
    : connection_(std::move(connection)), maxConnections_(maxConnections),
      prepare_(std::move(prepare)) {}

TPostgresPool::~TPostgresPool() = default;

TPostgresPool::TLease::TLease(TPostgresPool& pool, std::unique_ptr<pqxx::connection> connection)
    : pool_(&pool), connection_(std::move(connection)) {}

TPostgresPool::TLease::TLease(TLease&& other) noexcept
    : pool_(other.pool_), connection_(std::move(other.connection_)) {}

TPostgresPool::TLease::~TLease() {
    if (connection_)
        pool_->Release(std::move(connection_));
}

void TPostgresPool::TLease::Discard() {
    if (!connection_)
        return;
    connection_.reset();
    pool_->Release(nullptr);
}

TPostgresPool::TLease TPostgresPool::Acquire() {
    {
        std::unique_lock lock(mutex_);
        released_.wait(lock, [&] { return !idle_.empty() || open_ < maxConnections_; });
        if (!idle_.empty()) {
            std::unique_ptr<pqxx::connection> connection = std::move(idle_.back());
            idle_.pop_back();
            return TLease(*this, std::move(connection));
        }
        ++open_;
    }
    // Connecting takes a round trip or more; other callers need not wait for it.
    try {
        auto connection = std::make_unique<pqxx::connection>(connection_);
        prepare_(*connection);
        return TLease(*this, std::move(connection));
    } catch (const std::exception& e) {
        Release(nullptr);
        std::string why = e.what();
        while (!why.empty() && (why.back() == '\n' || why.back() == ' '))
            why.pop_back();
        throw TStoreError("cannot connect to PostgreSQL: " + why);
    }
}

void TPostgresPool::Release(std::unique_ptr<pqxx::connection> connection) {
    // A connection that broke would fail its next caller too.
    const bool keep = connection && connection->is_open();
    {
        std::lock_guard lock(mutex_);
        if (keep)
            idle_.push_back(std::move(connection));
        else
            --open_;
    }
    released_.notify_one();
    // A dropped connection closes here, outside the lock.
}
