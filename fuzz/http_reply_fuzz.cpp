// libFuzzer target for the socket layer's reading and the HTTP client's
// handling of a reply: the input is what a server sends back, written into
// a loopback connection and closed, and the client reads it the way a
// download does (line by line for the header, then the body). Whatever the
// server sends, the client must not crash or hang, and what it keeps as
// header and body must be the bytes that came, in order, none invented.
//
// The first byte chooses how the reply is read: a GET into a string, a HEAD,
// a GET into a device, or the bare socket's ReadLn and CaptureString.
#include "fuzz/fuzz_support.h"
#include "transfer/http_client.h"

#include <QBuffer>
#include <QCoreApplication>
#include <arpa/inet.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using fuzz::Check;

// A listening loopback socket; the harness plays the server on it.
class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof sa;
        Check(fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0 &&
              ::listen(fd_, 8) == 0 &&
              ::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &len) == 0);
        port_ = ntohs(sa.sin_port);
    }
    int Port() const { return port_; }

    // Takes the connection the client just made, sends the reply and ends
    // the sending side, as a server that closes after its reply does. The
    // request stays unread in the socket.
    int Serve(std::string_view reply) const {
        const int peer = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        Check(peer >= 0);
        // Closing with a reset leaves no TIME_WAIT behind for every input.
        const linger reset{1, 0};
        ::setsockopt(peer, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        size_t sent = 0;
        while (sent < reply.size()) {
            const ssize_t n = ::send(peer, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
            Check(n > 0);
            sent += size_t(n);
        }
        ::shutdown(peer, SHUT_WR);
        return peer;
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

// Closes the server's side once the client is done with it.
struct PeerGuard {
    int fd = -1;
    ~PeerGuard() {
        if (fd >= 0)
            ::close(fd);
    }
};

void Prepare(vdx::TSockClient& client, const Listener& listener, std::string_view reply,
             PeerGuard& peer) {
    client.Host = "127.0.0.1";
    client.Port = listener.Port();
    client.TimeOut = 5000; // a hang is a finding; the input is all there at once
    client.OnConnect = [&listener, reply, &peer] { peer.fd = listener.Serve(reply); };
}

void ReadWithHttp(const Listener& listener, std::string_view reply, int mode) {
    vdx::THttpClient client;
    PeerGuard peer;
    Prepare(client, listener, reply, peer);
    client.MaxRedirects = 0; // a redirect must not lead anywhere but here
    QByteArray deviceBytes;
    QBuffer device(&deviceBytes);
    if (mode == 2) {
        Check(device.open(QIODevice::WriteOnly));
        client.BodyDevice = &device;
    }
    try {
        if (mode == 1)
            client.Head("/zenx/iusers.dat");
        else
            client.Get("/zenx/iusers.dat");
    } catch (const std::runtime_error&) {
        return; // a failed transfer; the exported functions report it
    }
    Check(client.Status() >= 0 && client.Status() <= 999 && client.ContentLength() >= 0);
    const std::string body =
        mode == 2 && client.Body.empty() ? deviceBytes.toStdString() : client.Body;
    // The header as kept, then the body: nothing but what was sent, in order.
    // A chunked body is kept without its framing, so it is only shorter.
    const QByteArray header = QByteArray::fromStdString(client.Header).toLower();
    const bool chunked = header.contains("transfer-encoding") && header.contains("chunked");
    Check(std::string_view(reply).starts_with(client.Header));
    if (chunked)
        Check(body.size() <= reply.size() - client.Header.size());
    else
        Check(std::string_view(reply).starts_with(client.Header + body));
    // A declared length ends a body that the reply carries (not the one of
    // a HEAD, a 1xx, 204 or 304, which have none and are read to the end).
    const int status = client.Status();
    const bool hasBody = mode != 1 && status >= 200 && status != 204 && status != 304;
    // A chunked body ends at its last chunk; a length beside it is ignored.
    if (hasBody && !chunked && client.ContentLength() > 0 && !client.Header.empty())
        Check(int64_t(body.size()) <= client.ContentLength());
}

void ReadWithSocket(const Listener& listener, std::string_view reply, int64_t size) {
    vdx::TSockClient client;
    PeerGuard peer;
    Prepare(client, listener, reply, peer);
    std::string got;
    try {
        client.Connect();
        for (std::string line;;) {
            client.ReadLn(line);
            if (line.empty())
                break;
            Check(line.back() == '\n' && line.find('\n') == line.size() - 1);
            got += line;
            if (line == "\r\n" || line == "\n")
                break;
        }
        std::string rest;
        client.CaptureString(rest, size);
        Check(size < 0 || int64_t(rest.size()) <= size);
        got += rest;
        client.Disconnect();
    } catch (const std::runtime_error&) {
        return;
    }
    Check(std::string_view(reply).starts_with(got));
    // A body read to the end leaves nothing behind.
    if (size < 0 && got.size() < reply.size())
        Check(reply.substr(got.size()).find('\n') == std::string_view::npos &&
              got.size() == reply.rfind('\n') + 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The socket layer lets events run while it waits, and its time-out
    // timer needs an event loop.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Listener listener;
    if (size < 1)
        return 0;
    const std::string_view reply(reinterpret_cast<const char*>(data) + 1, size - 1);
    const int mode = data[0] % 4;
    if (mode < 3)
        ReadWithHttp(listener, reply, mode);
    else
        ReadWithSocket(listener, reply, data[0] < 128 ? -1 : int64_t(data[0] - 128));
    return 0;
}
