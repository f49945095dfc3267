#include "server/http_server.h"

#include "server/bounded_pool.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <optional>
#include <thread>

namespace {

using SteadyClock = std::chrono::steady_clock;

// When the request being served on this thread arrived; each connection is
// served by one worker thread from start to end.
thread_local std::optional<SteadyClock::time_point> t_requestStart;

std::string Timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

void Reply(httplib::Response& res, int status, const std::string& text) {
    res.status = status;
    res.set_content(text, "text/plain; charset=us-ascii");
}

std::string LastForwarded(const std::string& header) {
    const std::size_t comma = header.rfind(',');
    std::string last = comma == std::string::npos ? header : header.substr(comma + 1);
    const std::size_t first = last.find_first_not_of(' ');
    const std::size_t end = last.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : last.substr(first, end - first + 1);
}

uint64_t DeclaredLength(const httplib::Request& req) {
    const std::string text = req.get_header_value("Content-Length");
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break; // httplib refuses a malformed length itself
        if (value > (UINT64_MAX - 9) / 10)
            return UINT64_MAX;
        value = value * 10 + uint64_t(c - '0');
    }
    return value;
}

// A path as the client sent it can hold anything; the log gets a short,
// printable copy so that no line can be forged or flooded.
std::string LoggedPath(const std::string& path) {
    std::string out;
    for (char c : path.substr(0, 128))
        out += (c > 0x20 && c < 0x7f) ? c : '?';
    return out.empty() ? "-" : out;
}

} // namespace

TExchangeHttpServer::TExchangeHttpServer(TExchangeService& service, THttpOptions options,
                                         TRequestLog log)
    : service_(service), options_(std::move(options)), log_(std::move(log)),
      limiter_(options_.Rate, options_.Burst), server_(std::make_unique<httplib::Server>()) {
    Route();
}

TExchangeHttpServer::~TExchangeHttpServer() = default;

std::string TExchangeHttpServer::ClientOf(const void* request) const {
    const auto& req = *static_cast<const httplib::Request*>(request);
    if (options_.TrustProxy && req.has_header("X-Forwarded-For")) {
        const std::string forwarded = LastForwarded(req.get_header_value("X-Forwarded-For"));
        if (!forwarded.empty() && forwarded.size() <= 64)
            return forwarded;
    }
    return req.remote_addr;
}

void TExchangeHttpServer::Route() {
    httplib::Server& s = *server_;
    const std::size_t maxUpload = options_.MaxUpload;
    const std::size_t threads = options_.Threads;
    const std::size_t queued = options_.MaxQueued;
    s.new_task_queue = [threads, queued] { return new TBoundedPool(threads, queued); };
    s.set_read_timeout(options_.ReadTimeoutSeconds, 0);
    s.set_write_timeout(options_.WriteTimeoutSeconds, 0);
    s.set_keep_alive_max_count(100);
    s.set_keep_alive_timeout(2);
    // Headers and body go out in separate writes; without this a keep-alive
    // client waits for the delayed acknowledgement of every reply.
    s.set_tcp_nodelay(true);
    // A client is only sure to read a refusal when it has sent its whole
    // body; closing on unread data resets the connection and the client sees
    // a broken transfer instead of the 413. So a body somewhat over the limit
    // is read and thrown away, and only a far larger one is cut off.
    const std::size_t drainLimit = std::max<std::size_t>(8 * maxUpload, 8u << 20);
    s.set_payload_max_length(drainLimit);

    s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        t_requestStart = SteadyClock::now();
        const double cost = req.method == "POST" ? kUploadCost : 1.0;
        if (!limiter_.Allow(ClientOf(&req), cost)) {
            res.set_header("Retry-After", "1");
            Reply(res, 429, "Too many requests; try again later.\n");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    s.Post("/zenx/zenxws.dll",
           [this, maxUpload, drainLimit](const httplib::Request& req, httplib::Response& res,
                                         const httplib::ContentReader& reader) {
               if (req.get_param_value("action") != "zenxdata") {
                   Reply(res, 400, "Unknown action.\n");
                   return;
               }
               if (DeclaredLength(req) > drainLimit) {
                   Reply(res, 413, "The upload is too large.\n");
                   return;
               }
               std::string body;
               bool tooLarge = false;
               const bool complete = reader([&](const char* data, std::size_t size) {
                   if (tooLarge || body.size() + size > maxUpload) {
                       tooLarge = true;
                       body.clear();
                       return true;
                   }
                   body.append(data, size);
                   return true;
               });
               if (tooLarge) {
                   body.shrink_to_fit();
                   Reply(res, 413, "The upload is too large.\n");
                   return;
               }
               if (!complete) {
                   Reply(res, 400, "The upload was cut short.\n");
                   return;
               }
               const TServiceReply reply = service_.Upload(body);
               Reply(res, reply.Status, reply.Body);
           });

    s.Get("/zenx/iusers.dat", [this](const httplib::Request&, httplib::Response& res) {
        const auto text = service_.Statistics();
        if (!text) {
            Reply(res, 503, "The statistics are unavailable.\n");
            return;
        }
        res.status = 200;
        res.set_content(*text, "text/plain; charset=windows-1252");
    });

    s.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
        if (!log_)
            return;
        int64_t ms = 0;
        if (t_requestStart)
            ms = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() -
                                                                       *t_requestStart)
                     .count();
        t_requestStart.reset();
        // The path only: the query and the body may say something about a user.
        log_(Timestamp() + ' ' + ClientOf(&req) + ' ' + LoggedPath(req.method) + ' ' +
             LoggedPath(req.path) + ' ' + std::to_string(res.status) + ' ' +
             std::to_string(res.body.size()) + ' ' + std::to_string(ms) + "ms");
    });
}

bool TExchangeHttpServer::Bind() {
    if (options_.Port == 0) {
        port_ = server_->bind_to_any_port(options_.Host);
        return port_ > 0;
    }
    if (!server_->bind_to_port(options_.Host, options_.Port))
        return false;
    port_ = options_.Port;
    return true;
}

bool TExchangeHttpServer::Run() {
    running_ = true;
    // httplib ignores a stop that comes before it listens, so a Stop that
    // came first is looked for here; one that comes later waits in Stop
    // until the server listens.
    if (stopRequested_) {
        running_ = false;
        return true;
    }
    const bool served = server_->listen_after_bind();
    running_ = false;
    return served;
}

void TExchangeHttpServer::Stop() {
    stopRequested_ = true;
    while (running_ && !server_->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    server_->stop();
}
