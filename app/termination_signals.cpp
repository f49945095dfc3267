#include "app/termination_signals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};

volatile sig_atomic_t gWriteFd = -1;
std::array<struct sigaction, kSignals.size()> gPrevious{};

void OnSignal(int number) {
    const int saved = errno;
    const int fd = gWriteFd;
    if (fd >= 0) {
        const char byte = char(number);
        // Non-blocking: with the pair full, the request is already pending.
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject* parent) : QObject(parent) {
    if (gWriteFd >= 0)
        return; // another object already has them
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds_) != 0) {
        fds_[0] = fds_[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(fds_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TTerminationSignals::Drain);
    gWriteFd = fds_[1];

    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    installed_ = true;
    for (size_t i = 0; i < kSignals.size(); ++i)
        if (::sigaction(kSignals[i], &action, &gPrevious[i]) != 0)
            installed_ = false;
}

TTerminationSignals::~TTerminationSignals() {
    if (fds_[1] < 0)
        return;
    for (size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &gPrevious[i], nullptr);
    gWriteFd = -1;
    delete notifier_;
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void TTerminationSignals::Drain() {
    char bytes[16];
    ssize_t n;
    while ((n = ::read(fds_[0], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            emit Received(int(static_cast<unsigned char>(bytes[i])));
}
