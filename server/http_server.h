#pragma once

#include "server/exchange_service.h"
#include "server/rate_limiter.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace httplib {
class Server;
}

struct THttpOptions {
    std::string Host = "127.0.0.1";
    int Port = 8080; // 0: any free port
    std::size_t MaxUpload = 1024 * 1024;
    std::size_t Threads = 16;
    std::size_t MaxQueued = 256;
    int ReadTimeoutSeconds = 10;
    int WriteTimeoutSeconds = 10;
    // Token bucket per client: requests a second, and how many may come at
    // once; an upload costs kUploadCost tokens. A rate <= 0 switches it off.
    double Rate = 20;
    double Burst = 100;
    // Behind a reverse proxy every request comes from the proxy; then the
    // client is the last address the proxy put in X-Forwarded-For.
    bool TrustProxy = false;
};

inline constexpr double kUploadCost = 10;

// One line per request, without any user data: time, client, method, path,
// status, bytes of the reply, milliseconds.
using TRequestLog = std::function<void(const std::string& line)>;

// The HTTP face of the exchange:
//   POST /zenx/zenxws.dll?action=zenxdata   the body is a users.dat
//   GET  /zenx/iusers.dat                   the statistics
class TExchangeHttpServer {
public:
    TExchangeHttpServer(TExchangeService& service, THttpOptions options, TRequestLog log = {});
    ~TExchangeHttpServer();

    // Binds the listening socket. False when the address cannot be used.
    bool Bind();
    // The port bound (useful after binding port 0).
    int Port() const { return port_; }
    // Serves until Stop; requests in flight are finished before it returns.
    bool Run();
    // Safe from any thread, also before Run has started listening: Run then
    // returns at once.
    void Stop();

private:
    void Route();
    std::string ClientOf(const void* request) const;

    TExchangeService& service_;
    const THttpOptions options_;
    TRequestLog log_;
    TRateLimiter limiter_;
    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> running_{false};
};
