// Sending and receiving of TSockClient. Every loop waits for readiness in
// 2 ms steps instead of retrying "would block" at once, so a slow peer costs
// no processor time, and lets pending events run so that a cancel lands.
#include "transfer/sock_client.h"

#include "transfer/sock_errors.h"
#include "transfer/transfer_errors.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <poll.h>
#include <sys/socket.h>

namespace vdx {

namespace {

// Turns the time-out timer off however the operation ends.
template <typename Off> struct TimerScope {
    Off off;
    ~TimerScope() { off(); }
};
template <typename Off> TimerScope(Off) -> TimerScope<Off>;

bool IsRetry(int code) {
    return code == WSAEWOULDBLOCK || code == WSAEINTR;
}

QString FileNameOf(const std::string& name) {
    return QFile::decodeName(name.c_str());
}

} // namespace

void TSockClient::Write(std::string_view s) {
    StatusMessage(8, "Write");
    SendBytes(s.data(), s.size());
}

void TSockClient::Writeln(std::string_view s) {
    StatusMessage(8, "Writeln");
    std::string line;
    line.reserve(s.size() + 2);
    line.append(s).append("\r\n");
    Write(line);
}

void TSockClient::SendBuffer(const char* p, size_t len) {
    if (len == 0 && p)
        len = strnlen(p, 65535);
    SendBytes(p, len);
}

void TSockClient::SendBytes(const char* p, size_t len) {
    StatusMessage(4, "Sending Buffer");
    if (len == 0)
        return;
    {
        TimerOn();
        TimerScope scope{[this] { TimerOff(); }};
        if (!canceled_)
            SendAll(p, len, false);
    }
    if (canceled_) {
        canceled_ = false;
        throw EAbortError("Socket send aborted");
    }
}

void TSockClient::SendAll(const char* p, size_t len, bool reportPackets) {
    size_t sent = 0;
    while (sent < len && !canceled_) {
        const ssize_t n = ::send(fd_, p + sent, len - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += size_t(n);
            TimerOn(); // the time-out limits each wait, not the whole transfer
            if (reportPackets) {
                bytesSent_ += n;
                if (OnPacketSent)
                    OnPacketSent();
                ProcessMessages();
            }
            continue;
        }
        if (n == 0)
            break;
        if (IsRetry(RecordErrno())) {
            WaitStep(POLLOUT);
            continue;
        }
        CheckError(WSAEWOULDBLOCK);
        break;
    }
}

void TSockClient::SendFile(const std::string& fileName) {
    StatusMessage(8, "SendFile");
    QFile file(FileNameOf(fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError("Cannot open file " + fileName);
    bytesSent_ = 0;
    {
        TimerOn();
        TimerScope scope{[this] { TimerOff(); }};
        while (!canceled_) {
            const qint64 n = file.read(buffer_.get(), qint64(kSockBufferSize));
            if (n < 0)
                throw EFileError("Cannot read file " + fileName);
            // A file that shrank while being sent ends at its real end.
            if (n == 0)
                break;
            SendAll(buffer_.get(), size_t(n), true);
        }
    }
    if (canceled_) {
        canceled_ = false;
        throw EAbortError("Socket send aborted");
    }
}

void TSockClient::ReadLn(std::string& s) {
    if (ReadLine(s, std::string::npos) != TLineEnd::LineFeed)
        s.clear(); // an unfinished last line is no line
}

TLineEnd TSockClient::ReadLine(std::string& s, size_t maxLength) {
    StatusMessage(8, "ReadLn");
    s.clear();
    {
        TimerOn();
        TimerScope scope{[this] { TimerOff(); }};
        while (!canceled_) {
            if (s.size() >= maxLength)
                return TLineEnd::TooLong;
            // Peek first so that no byte after the line feed is consumed.
            const size_t want = std::min(kSockBufferSize, maxLength - s.size());
            const ssize_t n = ::recv(fd_, buffer_.get(), want, MSG_PEEK);
            if (n == 0)
                return TLineEnd::Closed;
            if (n < 0) {
                const int code = RecordErrno();
                if (code == WSAENOTCONN)
                    return TLineEnd::Closed;
                if (IsRetry(code)) {
                    WaitStep(POLLIN);
                    continue;
                }
                CheckError(WSAEWOULDBLOCK);
                return TLineEnd::Closed;
            }
            const void* lf = std::memchr(buffer_.get(), '\n', size_t(n));
            const size_t take =
                lf ? size_t(static_cast<const char*>(lf) - buffer_.get()) + 1 : size_t(n);
            // The peeked bytes are queued, so this takes exactly them.
            const ssize_t got = ::recv(fd_, buffer_.get(), take, 0);
            if (got > 0) {
                s.append(buffer_.get(), size_t(got));
                TimerOn(); // a line that trickles in is progress, not a hang
            }
            if (lf && size_t(got) == take)
                return TLineEnd::LineFeed;
            ProcessMessages();
        }
    }
    canceled_ = false;
    throw EAbortError("Socket readln aborted");
}

template <typename Sink> TCaptureEnd TSockClient::CaptureLoop(int64_t size, Sink&& sink) {
    bytesRecvd_ = 0;
    TimerOn();
    TimerScope scope{[this] { TimerOff(); }};
    while (!canceled_) {
        if (size >= 0 && bytesRecvd_ >= size)
            return TCaptureEnd::SizeReached;
        size_t want = kSockBufferSize;
        if (size >= 0)
            want = size_t(std::min<int64_t>(int64_t(want), size - bytesRecvd_));
        const ssize_t n = ::recv(fd_, buffer_.get(), want, 0);
        if (n == 0)
            return TCaptureEnd::Closed;
        if (n > 0) {
            bytesRecvd_ += n;
            const bool more = sink(buffer_.get(), size_t(n));
            if (OnPacketRecvd)
                OnPacketRecvd();
            if (!more)
                return TCaptureEnd::Stopped;
            TimerOn();
            ProcessMessages();
            continue;
        }
        const int code = RecordErrno();
        if (code == WSAENOTCONN)
            return TCaptureEnd::Closed;
        if (IsRetry(code)) {
            WaitStep(POLLIN);
            continue;
        }
        CheckError(WSAEWOULDBLOCK);
        return TCaptureEnd::Closed;
    }
    return TCaptureEnd::Stopped;
}

TCaptureEnd TSockClient::CaptureBytes(int64_t size,
                                      const std::function<bool(const char*, size_t)>& sink) {
    StatusMessage(8, "Capture String");
    const TCaptureEnd end = CaptureLoop(size, sink);
    if (canceled_) {
        canceled_ = false;
        throw EAbortError("Socket capture aborted");
    }
    return end;
}

void TSockClient::CaptureString(std::string& s, int64_t size) {
    s.clear();
    CaptureBytes(size, [&s](const char* p, size_t n) {
        s.append(p, n);
        return true;
    });
}

void TSockClient::CaptureFile(const std::string& fileName, std::string_view prefix, int64_t size) {
    StatusMessage(8, "CaptureFile");
    QFile file(FileNameOf(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EFileError("Cannot create file " + fileName);
    const auto write = [&](const char* p, size_t n) {
        if (file.write(p, qint64(n)) != qint64(n))
            throw EFileError("Cannot write file " + fileName);
        return true;
    };
    if (!prefix.empty())
        write(prefix.data(), prefix.size());
    CaptureLoop(size, write);
    if (!file.flush())
        throw EFileError("Cannot write file " + fileName);
    if (canceled_) {
        canceled_ = false;
        throw EAbortError("Socket send aborted");
    }
    file.close();
}

void TSockClient::Transaction(std::string_view cmd, std::string& reply) {
    StatusMessage(8, "Transaction");
    replyNumber_ = 0;
    Writeln(cmd);
    ReadLn(reply);
    if (reply.empty())
        return;
    StatusMessage(1, reply);
    int64_t number = 0;
    for (size_t i = 0; i < reply.size() && i < 10 && reply[i] >= '0' && reply[i] <= '9'; ++i)
        number = number * 10 + (reply[i] - '0');
    replyNumber_ = int(std::min<int64_t>(number, std::numeric_limits<int>::max()));
}

bool TSockClient::DataAvailable() {
    StatusMessage(8, "Data Available");
    char c = 0;
    return ::recv(fd_, &c, 1, MSG_PEEK) == 1;
}

} // namespace vdx
