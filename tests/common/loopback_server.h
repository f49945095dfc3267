#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// One accepted connection of the LoopbackServer, as its handler sees it.
// Every wait is bounded by the server's deadline and ends when the server
// stops, so a client that misbehaves cannot hang a test.
class ServerConn {
public:
    ServerConn(int fd, const std::atomic<bool>& stop, long long deadlineMs);
    ~ServerConn();

    // Reads a request: the header up to the blank line and as many body
    // bytes as its Content-Length names. Returns what arrived.
    std::string ReadRequest();
    // Reads until at least n bytes arrived or the client closed.
    std::string ReadAtLeast(size_t n);
    // Sends all bytes; false when the client has gone.
    bool Send(std::string_view data);
    // Sends one byte per packet with a pause between them.
    bool SendBytewise(std::string_view data, int pauseMs);
    // Sends chunk again and again until total bytes went out or the client
    // has gone; returns the bytes sent. Holds no more than chunk in memory.
    size_t SendRepeated(std::string_view chunk, size_t total);
    // Sleeps in small steps; false when the server is stopping.
    bool Pause(int ms);
    // Waits until the client closes its side; true when it did within ms.
    bool WaitClientClosed(int ms);
    void Close();
    // Closes with a reset (SO_LINGER 0) instead of an orderly close.
    void Reset();

private:
    int fd_;
    const std::atomic<bool>& stop_;
    long long deadlineMs_ = 0;
};

// A server on 127.0.0.1 with an ephemeral port that runs one scripted
// handler per accepted connection, in order, on a thread of its own.
class LoopbackServer {
public:
    using Handler = std::function<void(ServerConn&)>;

    // Listens at once; serves nothing until Serve, so that handlers can
    // refer to the server itself.
    LoopbackServer();
    explicit LoopbackServer(std::vector<Handler> handlers);
    // Runs the handlers on the server's thread, all within limitMs.
    void Serve(std::vector<Handler> handlers, int limitMs = 10000);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    // The requests the handlers read, one per ReadRequest call.
    std::vector<std::string> Requests() const;
    int Accepted() const { return accepted_; }
    // Waits (bounded) until every handler has run.
    bool WaitFinished(int ms);

    // Handlers record what they read through this.
    void Record(std::string request);

private:
    void Run(std::vector<Handler> handlers);

    int listenFd_ = -1;
    int port_ = 0;
    long long deadlineMs_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> accepted_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A handler that reads the request and answers with reply, then closes.
LoopbackServer::Handler Reply(LoopbackServer& server, std::string reply);

// A loopback port on which nothing listens, kept bound for the object's life
// so that no other test can take it: connecting to it is refused.
class RefusedPort {
public:
    RefusedPort();
    ~RefusedPort();
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

long long NowMs();
