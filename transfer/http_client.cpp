// Running a request of THttpClient: connect, send, read the reply, follow
// redirects.
#include "transfer/http_client.h"

#include "transfer/chunk_decoder.h"
#include "transfer/location_resolver.h"
#include "transfer/reply_limits.h"
#include "transfer/transfer_errors.h"

#include <QFile>
#include <QIODevice>
#include <algorithm>
#include <memory>
#include <optional>

namespace vdx {

void THttpClient::Abort() {
    done_ = true;
    TSockClient::Abort();
}

void THttpClient::Execute() {
    for (int redirects = 0;; ++redirects) {
        ParseURL();
        BuildHeader();
        if (OnAboutToSend)
            OnAboutToSend();
        Connect();
        replyComplete_ = false;
        bodyLength_ = 0;
        // Once connected, whatever the server does wrong is a failed request,
        // not an invalid one; only a cancel and local file errors go on up.
        std::optional<std::string> broken;
        try {
            SendRequest();
            status_ = 0;
            ReadHeader();
            ReceiveBody();
        } catch (const EReplyError& e) {
            broken = e.what();
        } catch (const ESockError& e) {
            broken = e.what();
        } catch (const EAbortError& e) {
            if (!TimedOut()) {
                DisconnectQuietly();
                throw;
            }
            broken = "Timed Out";
        } catch (...) {
            DisconnectQuietly();
            throw;
        }
        if (broken) {
            StatusMessage(8, *broken);
            DisconnectQuietly();
            replyComplete_ = false;
            Fail();
            return;
        }

        const bool redirect = replyComplete_ && status_ >= 300 && status_ <= 302;
        if (replyEmpty_) {
            // A server that closed without a byte sent nothing worth keeping.
            StatusMessage(8, "Empty Reply");
            Fail();
        } else if (!replyComplete_) {
            StatusMessage(8, "Reply Incomplete");
            Fail();
        } else if (status_ <= 298) {
            if (OnSuccess)
                OnSuccess(cmd_);
            StatusMessage(2, "Transaction Completed");
        } else if (redirect && !location_.empty()) {
            FollowLocation();
        } else if (status_ >= 400) {
            Fail();
        }
        Disconnect();
        if (!replyComplete_)
            return;

        if (status_ >= 300 && status_ <= 398) {
            bool handled = false;
            if (!setCookie_.empty())
                HeaderInfo.Cookie = setCookie_;
            if (OnRedirect)
                OnRedirect(handled);
            if (handled)
                return;
        }
        if (status_ == 401 && OnAuthenticationNeeded)
            OnAuthenticationNeeded();
        // Other 3xx replies and a redirect without a target end the request;
        // only 300 to 302 with a Location are followed, and only so often.
        if (!redirect || location_.empty())
            return;
        if (redirects >= MaxRedirects) {
            StatusMessage(8, "Too Many Redirects");
            Fail();
            return;
        }
    }
}

void THttpClient::FollowLocation() {
    // A relative target names a place on the server just asked, port and
    // all; the next ParseURL takes host and port from the full URL.
    url_ = ResolveLocation(Host, Port, path_, location_);
}

void THttpClient::SendRequest() {
    // One write for the whole header keeps it in as few packets as possible.
    std::string head;
    for (const std::string& line : headerLines_.Lines())
        head.append(line).append("\r\n");
    head.append("\r\n");
    Write(head);
    if (!SendsBody())
        return;
    if (OutputFileMode)
        SendFile(sendData_);
    else
        Write(sendData_);
}

void THttpClient::ReadHeader() {
    contentLength_ = 0;
    setCookie_.clear();
    location_.clear();
    parser_.Reset();
    bodyPrefix_.clear();
    replyEmpty_ = false;
    headerComplete_ = false;
    std::unique_ptr<QFile> file;
    if (OutputFileMode) {
        file = std::make_unique<QFile>(QFile::decodeName(Header.c_str()));
        if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw EFileError("Cannot create file " + Header);
    } else {
        Header.clear();
    }
    size_t headerSize = 0;
    const auto keep = [&](const std::string& line) {
        headerSize += line.size();
        if (headerSize > kMaxHeaderSize)
            throw EReplyError("Reply header too large");
        if (!file)
            Header += line;
        else if (file->write(line.data(), qint64(line.size())) != qint64(line.size()))
            throw EFileError("Cannot write file " + Header);
    };

    std::string line;
    TLineEnd end = ReadLine(line, kMaxHeaderLine);
    if (line.empty()) {
        replyEmpty_ = true;
    } else if (!parser_.StatusLine(line)) {
        // No status line: the server sent only a body, which starts here
        // (a first line beyond the bound is simply the body's first bytes).
        bodyPrefix_ = line;
        headerComplete_ = true;
    } else {
        if (end == TLineEnd::TooLong)
            throw EReplyError("Reply header line too long");
        keep(line);
        while (end == TLineEnd::LineFeed) {
            end = ReadLine(line, kMaxHeaderLine);
            if (end == TLineEnd::TooLong)
                throw EReplyError("Reply header line too long");
            // A header cut inside a line, or before its blank line, is cut.
            if (end != TLineEnd::LineFeed)
                break;
            keep(line);
            if (!parser_.Field(line)) {
                headerComplete_ = true;
                break;
            }
        }
    }
    status_ = parser_.Status();
    contentLength_ = parser_.ContentLength();
    location_ = parser_.Location();
    setCookie_ = parser_.SetCookie();
    if (file && !file->flush())
        throw EFileError("Cannot write file " + Header);
}

void THttpClient::ReceiveBody() {
    if (!InputFileMode)
        Body.clear(); // else it names the file
    if (replyEmpty_ || !headerComplete_)
        return;
    if (parser_.UnknownCoding())
        throw EReplyError("Unsupported transfer coding");
    const bool chunked = parser_.Chunked() && ExpectsBody();
    if (parser_.LengthConflict() && !chunked)
        throw EReplyError("Conflicting Content-Length");
    // Only a successful reply's body is used; of the others a little is
    // kept to look at and the rest is never read.
    const bool used = status_ <= 298;
    const int64_t cap = used ? kMaxBodySize : int64_t(kMaxUnusedBody);

    int64_t limit = -1; // -1: until the server closes
    if (!ExpectsBody())
        limit = 0;
    else if (!chunked && parser_.ContentLengthGiven())
        limit = contentLength_;
    if (used && limit > cap)
        throw EReplyError("Reply body too large");

    std::unique_ptr<QFile> file;
    QIODevice* device = nullptr;
    if (InputFileMode) {
        file = std::make_unique<QFile>(QFile::decodeName(Body.c_str()));
        if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw EFileError("Cannot create file " + Body);
        device = file.get();
    } else if (BodyDevice && used) {
        device = BodyDevice;
    } else if (limit > 0) {
        // Growing the string step by step would copy a large body several
        // times over; a declared length lets it be allotted once.
        Body.reserve(size_t(std::min(limit, cap)));
    }

    // Returns whether more of the body is wanted.
    const auto store = [&](const char* p, size_t n) {
        const int64_t take = std::min(int64_t(n), cap - bodyLength_);
        if (used && take < int64_t(n))
            throw EReplyError("Reply body too large");
        if (!device)
            Body.append(p, size_t(take));
        else if (device->write(p, take) != take)
            throw EFileError("Cannot write file " + (InputFileMode ? Body : std::string("body")));
        bodyLength_ += take;
        return used || bodyLength_ < cap;
    };

    if (!bodyPrefix_.empty())
        store(bodyPrefix_.data(), bodyPrefix_.size());
    bool complete = false;
    if (chunked) {
        TChunkDecoder decoder;
        bool more = true;
        const TChunkDecoder::Sink sink = [&](const char* p, size_t n) { more = store(p, n); };
        CaptureBytes(-1, [&](const char* p, size_t n) {
            // Framing may cost bytes too, but not without end.
            if (BytesRecvd() > 2 * kMaxBodySize)
                throw EReplyError("Reply body too large");
            decoder.Feed(p, n, sink);
            return more && !decoder.Finished();
        });
        complete = decoder.Finished();
    } else if (limit == 0) {
        complete = true;
    } else {
        const TCaptureEnd end = CaptureBytes(limit, store);
        complete = limit > 0 ? BytesRecvd() == limit : end == TCaptureEnd::Closed;
    }
    if (auto* out = qobject_cast<QFileDevice*>(device); out && !out->flush())
        throw EFileError("Cannot write file " + (InputFileMode ? Body : std::string("body")));
    // What is kept of an unused body need not be whole.
    replyComplete_ = complete || !used;
}

void THttpClient::Fail() {
    if (OnFailure)
        OnFailure(cmd_);
}

void THttpClient::DisconnectQuietly() {
    try {
        Disconnect();
    } catch (...) {
        // The error being raised already tells what went wrong.
    }
}

} // namespace vdx
