#pragma once

#include "transfer/host_lookup.h"
#include "transfer/thread_timer.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vdx {

// How ReadLine ended.
enum class TLineEnd {
    LineFeed, // a whole line, terminator included
    Closed,   // the peer closed first; the line holds what came
    TooLong,  // the bound was reached without a line feed
};

// How CaptureBytes ended.
enum class TCaptureEnd {
    Closed,      // the peer closed the connection in an orderly way
    SizeReached, // the given number of bytes arrived
    Stopped,     // the sink asked for no more
};

// One TCP client socket for a single-threaded GUI program: host look-up,
// connect, send and receive, each wait polling the socket in 2 ms steps and
// letting pending Qt events run in between, so that a Cancel button (or the
// time-out timer) can stop it. Failures are raised as ESockError, stops as
// EAbortError.
class TSockClient {
public:
    TSockClient();
    virtual ~TSockClient();
    TSockClient(const TSockClient&) = delete;
    TSockClient& operator=(const TSockClient&) = delete;

    // Published properties.
    std::string Host;
    int Port = 0;
    int TimeOut = 0; // milliseconds for each wait; 0 waits without limit
    int ReportLevel = 0;
    std::string Proxy; // when set, resolved and connected to instead of Host
    int ProxyPort = 0;

    // Events.
    std::function<void()> OnConnect;
    std::function<void()> OnDisconnect;
    std::function<void()> OnConnectionFailed;
    std::function<void(bool& handled)> OnInvalidHost; // handled: retry the look-up once
    std::function<void()> OnHostResolved;
    std::function<void(const std::string& status)> OnStatus;
    std::function<void()> OnPacketRecvd;
    std::function<void()> OnPacketSent;
    std::function<void(int code, const std::string& text)> OnError;

    void Connect();
    void Disconnect();
    void CloseSocket();
    virtual void Abort();
    void Cancel();

    void Write(std::string_view s);
    void Writeln(std::string_view s);
    // len 0 sends the zero-terminated text at p (at most 65,535 bytes).
    void SendBuffer(const char* p, size_t len);
    void SendFile(const std::string& fileName);
    // One line with its terminator; empty when the peer closed first.
    void ReadLn(std::string& s);
    // One line of at most maxLength bytes; see TLineEnd for what s holds.
    TLineEnd ReadLine(std::string& s, size_t maxLength);
    // Receives until the peer closes, size bytes arrived (size >= 0) or sink
    // returns false, handing every packet to sink.
    TCaptureEnd CaptureBytes(int64_t size, const std::function<bool(const char*, size_t)>& sink);
    // Everything until the peer closes, or size bytes when size >= 0.
    void CaptureString(std::string& s, int64_t size);
    // Everything until the peer closes (or size bytes when size >= 0) into a
    // new file, after prefix.
    void CaptureFile(const std::string& fileName, std::string_view prefix = {}, int64_t size = -1);
    void Transaction(std::string_view cmd, std::string& reply);
    bool DataAvailable();

    std::string ErrorText(int code);
    void StatusMessage(int level, const std::string& text);

    int64_t BytesSent() const { return bytesSent_; }
    int64_t BytesRecvd() const { return bytesRecvd_; }
    bool Connected() const { return connected_; }
    bool Canceled() const { return canceled_; }
    bool TimedOut() const { return timedOut_; }
    int LastError() const { return lastError_; }
    int ReplyNumber() const { return replyNumber_; }
    const std::string& StatusText() const { return statusText_; }
    uint32_t RemoteAddress() const { return remoteAddress_; } // network order
    static const std::vector<std::string>& Info();

protected:
    void ResolveHost();
    void TimerOn();
    void TimerOff();
    void TimerFired();
    void CheckError(int tolerated);
    // Records the C library's errno in the classic numbering and returns it.
    int RecordErrno();
    void ProcessMessages();
    // Waits at most one 2 ms step for the socket to become ready for events,
    // then lets pending events run; returns the poll result's events. With
    // events 0 it only sleeps the step.
    short WaitStep(short events);

    bool done_ = false;

private:
    void OpenSocket(bool lingerReset);
    void ResetAfterFailedConnect();
    bool WaitConnected();
    void SendBytes(const char* p, size_t len);
    void SendAll(const char* p, size_t len, bool reportPackets);
    template <typename Sink> TCaptureEnd CaptureLoop(int64_t size, Sink&& sink);

    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    THostLookup lookup_;
    TThreadTimer timer_;
    uint32_t remoteAddress_ = 0;
    int64_t bytesSent_ = 0;
    int64_t bytesRecvd_ = 0;
    int replyNumber_ = 0;
    int lastError_ = 0;
    std::string statusText_;
    std::chrono::steady_clock::time_point lastPump_{};
    bool canceled_ = false;
    bool timedOut_ = false;
    bool succeed_ = false;
    bool connected_ = false;
    bool destroying_ = false;
};

constexpr size_t kSockBufferSize = 65536;

} // namespace vdx
