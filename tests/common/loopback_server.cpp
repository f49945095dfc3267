#include "tests/common/loopback_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kStepMs = 5;

int BindLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(sa.sin_port);
    return fd;
}

size_t DeclaredLength(const std::string& head) {
    std::string lower = head;
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    const size_t at = lower.find("\ncontent-length:");
    if (at == std::string::npos)
        return 0;
    return size_t(std::strtoull(lower.c_str() + at + 16, nullptr, 10));
}

} // namespace

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

ServerConn::ServerConn(int fd, const std::atomic<bool>& stop, long long deadlineMs)
    : fd_(fd), stop_(stop), deadlineMs_(deadlineMs) {}

ServerConn::~ServerConn() {
    Close();
}

std::string ServerConn::ReadRequest() {
    std::string data;
    size_t want = std::string::npos;
    char buf[65536];
    while (!stop_ && NowMs() < deadlineMs_ && fd_ >= 0) {
        const size_t end = data.find("\r\n\r\n");
        if (want == std::string::npos && end != std::string::npos)
            want = end + 4 + DeclaredLength(data.substr(0, end + 2));
        if (want != std::string::npos && data.size() >= want)
            break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, kStepMs) <= 0)
            continue;
        const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        data.append(buf, size_t(n));
    }
    return data;
}

std::string ServerConn::ReadAtLeast(size_t n) {
    std::string data;
    char buf[65536];
    while (data.size() < n && !stop_ && NowMs() < deadlineMs_ && fd_ >= 0) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, kStepMs) <= 0)
            continue;
        const ssize_t got = ::recv(fd_, buf, sizeof buf, 0);
        if (got <= 0)
            break;
        data.append(buf, size_t(got));
    }
    return data;
}

bool ServerConn::Send(std::string_view data) {
    while (!data.empty() && !stop_ && NowMs() < deadlineMs_ && fd_ >= 0) {
        const ssize_t n = ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            data.remove_prefix(size_t(n));
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, kStepMs);
        } else {
            return false;
        }
    }
    return data.empty();
}

bool ServerConn::SendBytewise(std::string_view data, int pauseMs) {
    for (size_t i = 0; i < data.size(); ++i) {
        if (!Send(data.substr(i, 1)) || (pauseMs > 0 && !Pause(pauseMs)))
            return false;
    }
    return true;
}

size_t ServerConn::SendRepeated(std::string_view chunk, size_t total) {
    size_t sent = 0;
    while (sent < total) {
        const size_t n = std::min(total - sent, chunk.size());
        if (!Send(chunk.substr(0, n)))
            break;
        sent += n;
    }
    return sent;
}

bool ServerConn::Pause(int ms) {
    const long long until = NowMs() + ms;
    while (NowMs() < until) {
        if (stop_)
            return false;
        ::poll(nullptr, 0, std::min<int>(kStepMs, int(until - NowMs()) + 1));
    }
    return true;
}

bool ServerConn::WaitClientClosed(int ms) {
    const long long until = std::min(NowMs() + ms, deadlineMs_);
    char buf[4096];
    while (!stop_ && NowMs() < until && fd_ >= 0) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, kStepMs) <= 0)
            continue;
        if (::recv(fd_, buf, sizeof buf, 0) <= 0)
            return true;
    }
    return false;
}

void ServerConn::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void ServerConn::Reset() {
    if (fd_ < 0)
        return;
    const linger reset{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    Close();
}

LoopbackServer::LoopbackServer() {
    listenFd_ = BindLoopback(port_);
    if (listenFd_ >= 0 && ::listen(listenFd_, 8) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

LoopbackServer::LoopbackServer(std::vector<Handler> handlers) : LoopbackServer() {
    Serve(std::move(handlers));
}

void LoopbackServer::Serve(std::vector<Handler> handlers, int limitMs) {
    deadlineMs_ = NowMs() + limitMs;
    thread_ = std::thread([this, h = std::move(handlers)]() mutable { Run(std::move(h)); });
}

LoopbackServer::~LoopbackServer() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listenFd_ >= 0)
        ::close(listenFd_);
}

void LoopbackServer::Run(std::vector<Handler> handlers) {
    for (Handler& handler : handlers) {
        int fd = -1;
        while (listenFd_ >= 0 && !stop_ && NowMs() < deadlineMs_) {
            pollfd p{listenFd_, POLLIN, 0};
            if (::poll(&p, 1, kStepMs) > 0) {
                fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
                break;
            }
        }
        if (fd < 0)
            break;
        ++accepted_;
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ServerConn conn(fd, stop_, deadlineMs_);
        handler(conn);
    }
    finished_ = true;
}

std::vector<std::string> LoopbackServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackServer::Record(std::string request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(request));
}

bool LoopbackServer::WaitFinished(int ms) {
    const long long until = NowMs() + ms;
    while (!finished_ && NowMs() < until)
        ::poll(nullptr, 0, kStepMs);
    return finished_;
}

LoopbackServer::Handler Reply(LoopbackServer& server, std::string reply) {
    return [&server, reply = std::move(reply)](ServerConn& conn) {
        server.Record(conn.ReadRequest());
        conn.Send(reply);
    };
}

RefusedPort::RefusedPort() {
    fd_ = BindLoopback(port_);
}

RefusedPort::~RefusedPort() {
    if (fd_ >= 0)
        ::close(fd_);
}
