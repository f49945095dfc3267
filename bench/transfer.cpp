// Downloads a 64 MiB file from a loopback server, once through the transfer
// library's GetFile (dialog, socket layer and all) and once with curl, and
// compares their throughput and processor time. The server runs on its own
// thread, so only the client side is measured: this thread's time for
// GetFile, the child's time for curl. GetFile also makes its file durable
// before renaming it over the old one; curl does not.

#include "transfer/veldux.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr size_t kSize = 64u << 20;
constexpr int kRounds = 5;

using Clock = std::chrono::steady_clock;

double CpuMs(int who) {
    rusage u{};
    getrusage(who, &u);
    return u.ru_utime.tv_sec * 1e3 + u.ru_utime.tv_usec / 1e3 + u.ru_stime.tv_sec * 1e3 +
           u.ru_stime.tv_usec / 1e3;
}

// Serves the same reply to every connection until stopped.
class Server {
public:
    explicit Server(const std::string& body) {
        reply_ = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n";
        reply_ += body;
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof sa;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
            ::listen(fd_, 4) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &len))
            return;
        port_ = ntohs(sa.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~Server() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Port() const { return port_; }

private:
    void Run() {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            const int c = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                continue;
            std::string request;
            char buf[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(c, buf, sizeof buf, 0);
                if (n <= 0)
                    break;
                request.append(buf, size_t(n));
            }
            for (size_t sent = 0; sent < reply_.size();) {
                const ssize_t n =
                    ::send(c, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += size_t(n);
            }
            ::close(c);
        }
    }

    int fd_ = -1;
    int port_ = 0;
    std::string reply_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

struct Result {
    double wallMs = 1e300;
    double cpuMs = 1e300;
    bool ok = true;
};

bool SameFile(const QString& name, const std::string& body) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) && f.size() == qint64(body.size()) &&
           f.readAll() == QByteArray::fromRawData(body.data(), qsizetype(body.size()));
}

void Keep(Result& best, double wall, double cpu, bool ok) {
    best.wallMs = std::min(best.wallMs, wall);
    best.cpuMs = std::min(best.cpuMs, cpu);
    best.ok = best.ok && ok;
}

bool RunCurl(const std::string& url, const std::string& out) {
    std::vector<std::string> args = {"curl", "-s", "-f", "-o", out, url};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Print(const char* name, const Result& r) {
    std::printf("%-8s %8.1f ms %9.1f MB/s %8.1f ms CPU %s\n", name, r.wallMs,
                double(kSize) / 1e6 / (r.wallMs / 1e3), r.cpuMs, r.ok ? "" : "(WRONG DATA)");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::string body(kSize, '\0');
    uint32_t x = 12345;
    for (char& c : body)
        c = char((x = x * 1103515245u + 12345u) >> 24);
    Server server(body);
    QTemporaryDir dir;
    if (!server.Port() || !dir.isValid())
        return 1;
    const std::string base = "127.0.0.1:" + std::to_string(server.Port()) + "/zenx";
    const QString ours = dir.filePath("User/iusers.dat");
    const QString theirs = dir.filePath("curl.dat");
    const QByteArray oursName = QFile::encodeName(ours);

    if (!OpenVdxDlg())
        return 1;
    Result lib, curl;
    bool haveCurl = true;
    for (int round = 0; round < kRounds; ++round) {
        // Neither run may pay for writing the other's file to disk.
        ::sync();
        auto start = Clock::now();
        double cpu = CpuMs(RUSAGE_THREAD);
        const int32_t code = GetFile(base.c_str(), "iusers.dat", oursName.constData());
        const double libWall =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        Keep(lib, libWall, CpuMs(RUSAGE_THREAD) - cpu,
             code == VELDUX_SUCCEEDED && SameFile(ours, body));

        ::sync();
        start = Clock::now();
        cpu = CpuMs(RUSAGE_CHILDREN);
        haveCurl =
            RunCurl("http://" + base + "/iusers.dat", QFile::encodeName(theirs).toStdString());
        if (!haveCurl)
            break;
        const double curlWall =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        Keep(curl, curlWall, CpuMs(RUSAGE_CHILDREN) - cpu, SameFile(theirs, body));
    }
    CloseVdxDlg();

    std::printf("64 MiB over loopback, best of %d rounds (wall, throughput, client CPU):\n",
                kRounds);
    Print("GetFile", lib);
    if (!haveCurl) {
        std::printf("curl could not be run; install it (scripts/packages.txt)\n");
        return lib.ok ? 0 : 1;
    }
    Print("curl", curl);
    const double speed = curl.wallMs / lib.wallMs;
    const double cpu = lib.cpuMs / curl.cpuMs;
    std::printf("GetFile/curl: %.0f %% of the throughput, %.2f x the CPU time "
                "(aim: at least 80 %%, at most 2 x)\n",
                speed * 100, cpu);
    return lib.ok && curl.ok && speed >= 0.8 && cpu <= 2.0 ? 0 : 1;
}
