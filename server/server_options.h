#pragma once

#include "server/exchange_service.h"
#include "server/http_server.h"

#include <optional>
#include <string>
#include <vector>

// zenx-exchange's command line.
struct TServerOptions {
    THttpOptions Http;
    TExchangeOptions Exchange;
    std::string ContentDir;
    std::string DataDir = "exchange-data";
    std::string DatabaseUrl; // empty: SQLite in DataDir
    bool Help = false;
};

// Nothing, with `error` set, for a bad argument.
std::optional<TServerOptions> ParseServerOptions(const std::vector<std::string>& args,
                                                 std::string& error);

std::string ServerUsage();
