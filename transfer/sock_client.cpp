#include "transfer/sock_client.h"

#include "transfer/sock_errors.h"
#include "transfer/transfer_errors.h"

#include <QCoreApplication>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vdx {

namespace {

constexpr int kPollStepMs = 2;

// The socket library is "started" once per process and shared by all
// components; the info lines describe it. Single-threaded, so no lock.
int g_instances = 0;
std::vector<std::string>& InfoLines() {
    static std::vector<std::string> lines;
    return lines;
}

void StartSocketLibrary() {
    rlimit files{};
    const long maxSockets = getrlimit(RLIMIT_NOFILE, &files) == 0 ? long(files.rlim_cur) : 1024;
    InfoLines() = {"Version= 1.1",
                   "High Version= 1.1",
                   "Description= Berkeley sockets",
                   "System= Running",
                   "Max Sockets= " + std::to_string(maxSockets),
                   "Max Udp pack size= 65507"};
}

// Connection failures that the classic library reports through its connect
// notification rather than from the connect call itself.
bool IsConnectFailure(int code) {
    return code == WSAECONNREFUSED || code == WSAENETUNREACH || code == WSAEHOSTUNREACH ||
           code == WSAETIMEDOUT || code == WSAECONNRESET;
}

} // namespace

TSockClient::TSockClient() : buffer_(std::make_unique<char[]>(kSockBufferSize)) {
    StatusMessage(8, "Create");
    timer_.SetEnabled(false);
    timer_.SetOnTimer([this] { TimerFired(); });
    StatusMessage(8, "Initializing Winsock");
    if (g_instances++ == 0)
        StartSocketLibrary();
    try {
        OpenSocket(true);
    } catch (...) {
        if (--g_instances == 0)
            InfoLines().clear();
        throw ESockError("Initializaton of windows sockets failed");
    }
}

TSockClient::~TSockClient() {
    // No event may reach an owner that is going away with this component.
    destroying_ = true;
    StatusMessage(8, "Destroy");
    canceled_ = true;
    timer_.SetEnabled(false);
    lookup_.Abandon();
    try {
        CloseSocket();
    } catch (...) {
        // The descriptor is released even when close reports an error.
    }
    if (--g_instances == 0)
        InfoLines().clear();
}

const std::vector<std::string>& TSockClient::Info() {
    return InfoLines();
}

void TSockClient::OpenSocket(bool lingerReset) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd_ < 0) {
        RecordErrno();
        throw ESockError(SockErrorText(lastError_));
    }
    if (lingerReset) {
        // A close resets the connection at once instead of lingering.
        const linger reset{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    }
}

void TSockClient::Connect() {
    StatusMessage(8, "Connecting");
    canceled_ = false;
    if (connected_)
        throw ESockError("Already connected");
    if (fd_ < 0)
        OpenSocket(false);
    bool retried = false;
    for (;;) {
        try {
            ResolveHost();
        } catch (const ESockError&) {
            if (timedOut_ || canceled_)
                throw;
            // Other look-up failures leave no address and are handled below.
        }
        if (remoteAddress_ != 0)
            break;
        if (!retried && OnInvalidHost) {
            retried = true;
            bool handled = false;
            OnInvalidHost(handled);
            if (handled)
                continue;
        }
        throw ESockError("Null Remote Address");
    }
    const int port = Proxy.empty() ? Port : ProxyPort;
    if (port <= 0 || port > 65535)
        throw ESockError("Invalid port " + std::to_string(port));

    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(uint16_t(port));
    sa.sin_addr.s_addr = remoteAddress_;
    done_ = false;
    succeed_ = true;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
        connected_ = true;
    } else {
        const int code = RecordErrno();
        if (IsConnectFailure(code))
            succeed_ = false;
        else if (code != WSAEINPROGRESS && code != WSAEINTR)
            CheckError(WSAEWOULDBLOCK);
    }
    TimerOn();
    const bool ok = WaitConnected();
    TimerOff();
    if (ok) {
        const int one = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (OnConnect)
            OnConnect();
        return;
    }
    ResetAfterFailedConnect();
    if (OnConnectionFailed)
        OnConnectionFailed();
    if (timedOut_)
        throw ESockError("Connection Timed out");
    if (canceled_)
        throw ESockError("Connection Canceled");
    throw ESockError("Connection Failed");
}

bool TSockClient::WaitConnected() {
    while (succeed_ && !connected_ && !timedOut_ && !canceled_) {
        const short ready = WaitStep(POLLOUT);
        if (!(ready & (POLLOUT | POLLERR | POLLHUP)))
            continue;
        int err = 0;
        socklen_t len = sizeof err;
        if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
            err = errno;
        if (err == 0) {
            connected_ = true;
        } else {
            lastError_ = SockErrorFromErrno(err);
            succeed_ = false;
        }
    }
    return connected_ && succeed_ && !timedOut_ && !canceled_;
}

// A connect that did not complete leaves the socket unusable for another
// attempt, so it is replaced quietly.
void TSockClient::ResetAfterFailedConnect() {
    connected_ = false;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    OpenSocket(false);
}

void TSockClient::ResolveHost() {
    StatusMessage(8, "Resolve Host");
    const std::string& name = Proxy.empty() ? Host : Proxy;
    uint32_t address = 0;
    if (ParseDottedAddress(name, address)) {
        remoteAddress_ = address;
        return;
    }
    remoteAddress_ = 0;
    TimerOn();
    done_ = false;
    if (lookup_.Start(name)) {
        while (!done_ && !timedOut_ && !canceled_) {
            if (lookup_.Poll() != THostLookup::State::Running)
                break;
            WaitStep(0);
        }
    }
    TimerOff();
    const THostLookup::State state = lookup_.Poll();
    if (state == THostLookup::State::Running)
        lookup_.Abandon();
    if (timedOut_)
        throw ESockError("Host Lookup Timed Out");
    if (canceled_)
        throw ESockError("Host Lookup Canceled");
    if (state == THostLookup::State::Resolved) {
        remoteAddress_ = lookup_.Address();
        if (OnHostResolved)
            OnHostResolved();
        return;
    }
    lastError_ = lookup_.Error();
    throw ESockError("Host Lookup Failed");
}

void TSockClient::Disconnect() {
    StatusMessage(8, "Disconnecting");
    CloseSocket();
}

void TSockClient::CloseSocket() {
    StatusMessage(4, "Request Close Socket");
    connected_ = false;
    if (fd_ < 0)
        return;
    const int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0) {
        // Linux releases the descriptor even when close reports an error.
        RecordErrno();
        if (!destroying_)
            OpenSocket(false);
        CheckError(WSAEWOULDBLOCK);
        return;
    }
    if (destroying_)
        return;
    if (OnDisconnect)
        OnDisconnect();
    OpenSocket(false);
}

void TSockClient::Abort() {
    StatusMessage(8, "Abort");
    Cancel();
}

void TSockClient::Cancel() {
    StatusMessage(8, "Canceling");
    canceled_ = true;
}

void TSockClient::TimerOn() {
    StatusMessage(8, "Timer On");
    timedOut_ = false;
    timer_.SetInterval(TimeOut);
    timer_.SetEnabled(true);
}

void TSockClient::TimerOff() {
    StatusMessage(8, "Timer Off");
    timer_.SetEnabled(false);
}

void TSockClient::TimerFired() {
    StatusMessage(8, "Timer Triggered");
    TimerOff();
    timedOut_ = true;
    done_ = true;
    Abort();
}

int TSockClient::RecordErrno() {
    lastError_ = SockErrorFromErrno(errno);
    return lastError_;
}

void TSockClient::CheckError(int tolerated) {
    const int code = lastError_;
    if (code == tolerated || code <= 10000)
        return;
    const std::string text = ErrorText(code);
    if (OnError)
        OnError(code, text);
    throw ESockError(text);
}

std::string TSockClient::ErrorText(int code) {
    StatusMessage(8, "Looking Up Error Message" + statusText_);
    return SockErrorText(code);
}

void TSockClient::StatusMessage(int level, const std::string& text) {
    if (ReportLevel < level)
        return;
    statusText_ = text;
    if (destroying_ || !OnStatus)
        return;
    try {
        OnStatus(text);
    } catch (...) {
        // A status handler's failure is not the transfer's.
    }
}

void TSockClient::ProcessMessages() {
    // A fast transfer calls this for every buffer; letting events run once
    // per poll step keeps the dialog as responsive at a fraction of the cost.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < std::chrono::milliseconds(kPollStepMs))
        return;
    lastPump_ = now;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

short TSockClient::WaitStep(short events) {
    pollfd entry{fd_, events, 0};
    if (events != 0 && fd_ >= 0)
        ::poll(&entry, 1, kPollStepMs);
    else
        ::poll(nullptr, 0, kPollStepMs);
    ProcessMessages();
    return entry.revents;
}

} // namespace vdx
