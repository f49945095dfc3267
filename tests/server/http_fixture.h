#pragma once

#include "server/http_server.h"
#include "tests/server/server_fixture.h"

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace servertest {

// The real HTTP server of the exchange on a free loopback port, serving on
// its own threads until the object goes.
struct RunningServer {
    Exchange exchange;
    std::unique_ptr<TExchangeHttpServer> http;
    std::thread thread;
    std::mutex logMutex;
    std::vector<std::string> log;

    explicit RunningServer(THttpOptions options = {}, int64_t minGroup = 1) : exchange(minGroup) {
        options.Host = "127.0.0.1";
        options.Port = 0;
        http = std::make_unique<TExchangeHttpServer>(*exchange.service, options,
                                                     [this](const std::string& line) {
                                                         std::lock_guard lock(logMutex);
                                                         log.push_back(line);
                                                     });
        if (http->Bind())
            thread = std::thread([this] { http->Run(); });
    }
    ~RunningServer() {
        http->Stop();
        if (thread.joinable())
            thread.join();
    }
    int Port() const { return http->Port(); }
    std::string Host() const { return "127.0.0.1:" + std::to_string(Port()); }
    // The log once it has `lines` lines (or after a second): the server
    // logs a request after its reply has gone out, so the client can be
    // quicker than the line.
    std::vector<std::string> Log(std::size_t lines = 0) {
        for (int i = 0; i < 1000; ++i) {
            {
                std::lock_guard lock(logMutex);
                if (log.size() >= lines)
                    return log;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::lock_guard lock(logMutex);
        return log;
    }
};

} // namespace servertest
