// Running a request of THttpClient: connect, send, read the reply, follow
// redirects.
#include "transfer/http_client.h"

#include "transfer/transfer_errors.h"

#include <QFile>
#include <QIODevice>
#include <algorithm>
#include <memory>

namespace vdx {

namespace {

constexpr int64_t kMaxReservedBody = int64_t(256) << 20;

} // namespace

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
        try {
            SendRequest();
            status_ = 0;
            ReadHeader();
            ReceiveBody();
        } catch (...) {
            DisconnectQuietly();
            throw;
        }

        const bool redirect = !replyEmpty_ && status_ >= 300 && status_ <= 302;
        if (replyEmpty_) {
            // A server that closed without a byte sent nothing worth keeping.
            StatusMessage(8, "Empty Reply");
            Fail();
        } else if (status_ <= 298) {
            if (BodyComplete()) {
                if (OnSuccess)
                    OnSuccess(cmd_);
                StatusMessage(2, "Transaction Completed");
            } else {
                StatusMessage(8, "Reply Incomplete");
                Fail();
            }
        } else if (redirect && !location_.empty()) {
            url_ = location_;
        } else if (status_ >= 400) {
            Fail();
        }
        Disconnect();

        if (status_ >= 300 && status_ <= 398) {
            bool handled = false;
            if (!setCookie_.empty())
                HeaderInfo.Cookie = setCookie_;
            if (OnRedirect)
                OnRedirect(handled);
            if (handled)
                return;
            if (url_.find('/') == std::string::npos)
                url_ = "http://" + Host + "/" + url_;
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
    std::unique_ptr<QFile> file;
    if (OutputFileMode) {
        file = std::make_unique<QFile>(QFile::decodeName(Header.c_str()));
        if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw EFileError("Cannot create file " + Header);
    } else {
        Header.clear();
    }
    const auto keep = [&](const std::string& line) {
        if (!file)
            Header += line;
        else if (file->write(line.data(), qint64(line.size())) != qint64(line.size()))
            throw EFileError("Cannot write file " + Header);
    };

    std::string line;
    ReadLn(line);
    if (line.empty()) {
        replyEmpty_ = true;
    } else if (!parser_.StatusLine(line)) {
        // No status line: the server sent only a body, which starts here.
        bodyPrefix_ = line;
    } else {
        keep(line);
        for (;;) {
            ReadLn(line);
            if (line.empty())
                break;
            keep(line);
            if (!parser_.Field(line))
                break;
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
    // A declared length ends the body, so a server that keeps the connection
    // open after it cannot hold the request up.
    const int64_t limit = ExpectsBody() && contentLength_ > 0 ? contentLength_ : -1;
    if (InputFileMode) {
        CaptureFile(Body, bodyPrefix_, limit);
        return;
    }
    if (BodyDevice && !replyEmpty_ && status_ <= 298) {
        Body.clear();
        CaptureDevice(*BodyDevice, bodyPrefix_, limit);
        return;
    }
    // Growing the string step by step would copy a large body several
    // times over; a declared length lets it be allotted once. A server's
    // claim is only trusted up to a sane size.
    Body.clear();
    if (limit > 0)
        Body.reserve(size_t(std::min<int64_t>(limit, kMaxReservedBody)));
    CaptureString(Body, limit);
    if (!bodyPrefix_.empty())
        Body.insert(0, bodyPrefix_);
}

bool THttpClient::BodyComplete() const {
    return !ExpectsBody() || contentLength_ <= 0 || BytesRecvd() >= contentLength_;
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
