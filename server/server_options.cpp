#include "server/server_options.h"

#include <charconv>
#include <functional>
#include <limits>
#include <map>

namespace {

template <typename T> bool ParseNumber(const std::string& text, T low, T high, T& out) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < low || value > high)
        return false;
    out = value;
    return true;
}

// "HOST:PORT", "[IPV6]:PORT" or ":PORT" (all interfaces).
bool ParseListen(const std::string& text, THttpOptions& http) {
    std::string host;
    std::string port;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':')
            return false;
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string::npos)
            return false;
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (host.empty())
        host = "0.0.0.0";
    int number = 0;
    if (!ParseNumber(port, 0, 65535, number))
        return false;
    http.Host = host;
    http.Port = number;
    return true;
}

} // namespace

std::string ServerUsage() {
    return R"(Usage: zenx-exchange --content DIR [options]

The exchange server of Zernox 2: takes uploads of users.dat at
POST /zenx/zenxws.dll?action=zenxdata and serves the participants'
statistics at GET /zenx/iusers.dat.

  --content DIR        program directory whose D/IDbRecs.dat judges the answers (required)
  --listen HOST:PORT   address to listen on (default 127.0.0.1:8080; port 0: any free port)
  --data DIR           data directory: the server secret and the SQLite database
                       (default ./exchange-data)
  --database URL       keep the data in PostgreSQL instead (postgresql://user@host/db);
                       the secret still lives in --data and must be the same on every server
  --min-group N        leave out figures resting on fewer than N participants (default 5)
  --max-upload BYTES   largest upload accepted (default 1048576)
  --threads N          worker threads (default 16)
  --rate R             requests a second per client, an upload counting 10 (default 20; 0: no limit)
  --burst N            requests a client may make at once (default 100)
  --trust-proxy        take the client from X-Forwarded-For (behind a reverse proxy only)
  --cache-ms N         rebuild iusers.dat at most once in N ms (default 1000)
  --help               show this text

One line per request goes to standard error. SIGTERM or SIGINT finishes the
requests in flight and exits 0. Bad arguments, an unreadable content directory
or an unreachable database exit 2.
)";
}

std::optional<TServerOptions> ParseServerOptions(const std::vector<std::string>& args,
                                                 std::string& error) {
    TServerOptions o;
    using Setter = std::function<bool(const std::string&)>;
    const std::map<std::string, Setter> withValue = {
        {"--listen", [&](const std::string& v) { return ParseListen(v, o.Http); }},
        {"--content",
         [&](const std::string& v) {
             o.ContentDir = v;
             return !v.empty();
         }},
        {"--data",
         [&](const std::string& v) {
             o.DataDir = v;
             return !v.empty();
         }},
        {"--database",
         [&](const std::string& v) {
             o.DatabaseUrl = v;
             return !v.empty();
         }},
        {"--min-group",
         [&](const std::string& v) {
             return ParseNumber<int64_t>(v, 1, 1000000, o.Exchange.MinGroup);
         }},
        {"--max-upload",
         [&](const std::string& v) {
             return ParseNumber<std::size_t>(v, 1024, std::size_t(1) << 30, o.Http.MaxUpload);
         }},
        {"--threads",
         [&](const std::string& v) {
             return ParseNumber<std::size_t>(v, 1, 1024, o.Http.Threads);
         }},
        {"--rate",
         [&](const std::string& v) { return ParseNumber<double>(v, 0, 1e6, o.Http.Rate); }},
        {"--burst",
         [&](const std::string& v) { return ParseNumber<double>(v, 1, 1e6, o.Http.Burst); }},
        {"--cache-ms",
         [&](const std::string& v) {
             int64_t ms = 0;
             if (!ParseNumber<int64_t>(v, 0, 3600000, ms))
                 return false;
             o.Exchange.RebuildInterval = std::chrono::milliseconds(ms);
             return true;
         }},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.Help = true;
            return o;
        }
        if (arg == "--trust-proxy") {
            o.Http.TrustProxy = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t eq = arg.find('=');
            arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const auto it = withValue.find(name);
        if (it == withValue.end()) {
            error = "unknown argument '" + arg + "'";
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!it->second(*value)) {
            error = "bad value '" + *value + "' for " + name;
            return std::nullopt;
        }
    }
    if (o.ContentDir.empty()) {
        error = "--content DIR is required";
        return std::nullopt;
    }
    return o;
}
