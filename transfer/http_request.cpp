// Building a request of THttpClient: the URL's parts and the header lines.
#include "transfer/http_client.h"

#include "transfer/transfer_errors.h"
#include "transfer/url_coder.h"
#include "transfer/uu_coder.h"

#include <QFile>
#include <QFileInfo>

namespace vdx {

namespace {

constexpr const char* kMethodNames[] = {"GET",    "OPTIONS", "HEAD",   "POST",   "PUT",
                                        "PATCH",  "COPY",    "MOVE",   "DELETE", "LINK",
                                        "UNLINK", "TRACE",   "WRAPPED"};

// Requests that declare a Content-Length and send a body.
bool CarriesBody(CmdType cmd) {
    switch (cmd) {
    case CmdType::Post:
    case CmdType::Put:
    case CmdType::Patch:
    case CmdType::Link:
    case CmdType::UnLink:
    case CmdType::Trace:
    case CmdType::Wrapped:
        return true;
    default:
        return false;
    }
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return out;
}

// Control characters and spaces would split or bend the request line.
void CheckUrlText(std::string_view url) {
    for (const char c : url) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7f)
            throw EHttpError("Invalid character in URL");
    }
}

void CheckHeaderValue(std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw EHttpError("Invalid header value");
}

int ParsePort(std::string_view text) {
    int port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || port > 65535)
            throw EHttpError("Invalid port number");
        port = port * 10 + (c - '0');
    }
    if (text.empty() || port == 0 || port > 65535)
        throw EHttpError("Invalid port number");
    return port;
}

} // namespace

const char* CmdName(CmdType cmd) {
    return kMethodNames[int(cmd)];
}

void THttpClient::SetRequest(CmdType cmd, std::string_view url, std::string_view sendData,
                             std::string_view destination) {
    cmd_ = cmd;
    url_ = url;
    sendData_ = sendData;
    destination_ = destination;
}

void THttpClient::Run(CmdType cmd, std::string_view url, std::string_view sendData,
                      std::string_view destination) {
    SetRequest(cmd, url, sendData, destination);
    Execute();
}

void THttpClient::Get(std::string_view url) {
    Run(CmdType::Get, url, {}, {});
}
void THttpClient::Options(std::string_view url) {
    Run(CmdType::Options, url, {}, {});
}
void THttpClient::Head(std::string_view url) {
    Run(CmdType::Head, url, {}, {});
}
void THttpClient::Put(std::string_view url, std::string_view data) {
    Run(CmdType::Put, url, data, {});
}
void THttpClient::Patch(std::string_view url, std::string_view data) {
    Run(CmdType::Patch, url, data, {});
}
void THttpClient::Copy(std::string_view url, std::string_view destination) {
    Run(CmdType::Copy, url, {}, destination);
}
void THttpClient::Move(std::string_view url, std::string_view destination) {
    Run(CmdType::Move, url, {}, destination);
}
void THttpClient::Delete(std::string_view url) {
    Run(CmdType::Delete, url, {}, {});
}
void THttpClient::Link(std::string_view url, std::string_view destination) {
    Run(CmdType::Link, url, "Send.dat", destination);
}
void THttpClient::UnLink(std::string_view url, std::string_view destination) {
    Run(CmdType::UnLink, url, "Send.dat", destination);
}
void THttpClient::Trace(std::string_view url, std::string_view data) {
    Run(CmdType::Trace, url, data, {});
}
void THttpClient::Wrapped(std::string_view url, std::string_view data) {
    Run(CmdType::Wrapped, url, data, {});
}

void THttpClient::Post(std::string_view url, std::string_view postData) {
    if (OutputFileMode) {
        Run(CmdType::Post, url, postData, {});
        return;
    }
    const std::string encoded = TUrlCoder().Encode(postData);
    Run(CmdType::Post, url, encoded, {});
}

void THttpClient::ParseURL() {
    if (url_.empty())
        throw EHttpError("Empty URL");
    CheckUrlText(url_);
    if (Port == 0)
        Port = 80;
    const size_t colon = url_.find(':');
    const size_t slash = url_.find('/');
    // Only a colon before the first slash can end a scheme ("http:") or a
    // host ("host:8080"); one in the path or query is data.
    const bool leadingColon = colon != std::string::npos && colon < slash;
    const bool authority =
        url_.starts_with("//") || (leadingColon && url_.compare(colon, 3, "://") == 0);

    std::string path;
    if (authority) {
        const size_t third = url_.find('/', url_.find("//") + 2);
        if (third != std::string::npos)
            path = url_.substr(third);
    } else if (slash != std::string::npos) {
        path = url_.substr(slash);
    }

    if (leadingColon) {
        const std::string scheme = Lower(std::string_view(url_).substr(0, colon));
        if (scheme == "https")
            throw EHttpError("HTTP Secure Socket is not supported");
        Port = scheme == "gopher" ? 70 : scheme == "ftp" ? 21 : 80;
    }

    std::string hostPart;
    if (authority) {
        const size_t start = url_.find("//") + 2;
        hostPart = url_.substr(start, url_.find('/', start) - start);
    } else if (!url_.starts_with('/')) {
        hostPart = url_.substr(0, slash);
    }
    const size_t portColon = hostPart.find(':');
    if (portColon != std::string::npos) {
        Port = ParsePort(std::string_view(hostPart).substr(portColon + 1));
        hostPart.erase(portColon);
    }
    if (!hostPart.empty())
        Host = hostPart;

    if (path.empty()) {
        path = "/";
        url_ += '/';
    }
    path_ = path;
}

void THttpClient::BuildHeader() {
    for (const std::string* value :
         {&HeaderInfo.LocalMailAddress, &HeaderInfo.LocalProgram, &HeaderInfo.Cookie,
          &HeaderInfo.Referer, &HeaderInfo.UserId, &HeaderInfo.Password, &destination_})
        CheckHeaderValue(*value);
    TExStringList& lines = headerLines_;
    lines.Clear();
    if (cmd_ != CmdType::Wrapped)
        lines.Add(std::string(CmdName(cmd_)) + " " + (Proxy.empty() ? path_ : url_) + " HTTP/1.0");
    if (!Proxy.empty())
        lines.Add("Proxy-Connection: Keep-Alive");
    lines.SetValue("Host", Host);
    lines.Add("Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff");
    lines.Add("Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript");
    lines.SetValue("User-Agent", HeaderInfo.LocalProgram);
    lines.SetValue("From", HeaderInfo.LocalMailAddress);
    lines.SetValue("Cookie", HeaderInfo.Cookie);
    lines.SetValue("Referer", HeaderInfo.Referer);
    if (!HeaderInfo.UserId.empty() && !HeaderInfo.Password.empty()) {
        std::string encoded = TUUCoder().Encode(HeaderInfo.UserId + ":" + HeaderInfo.Password);
        // The coder ends every 45-byte block with CR LF; the header needs one line.
        std::erase_if(encoded, [](char c) { return c == '\r' || c == '\n'; });
        lines.SetValue("Authorization", "Basic " + encoded);
    }
    lines.Add("Content-type: application/x-www-form-urlencoded");
    if (cmd_ == CmdType::Copy || cmd_ == CmdType::Move)
        lines.Add("URI-header: " + destination_);
    if (cmd_ == CmdType::Link || cmd_ == CmdType::UnLink)
        lines.Add("Link: " + destination_);
    if (CarriesBody(cmd_)) {
        int64_t size = int64_t(sendData_.size());
        if (OutputFileMode) {
            const QFileInfo info(QFile::decodeName(sendData_.c_str()));
            if (!info.isFile())
                throw EFileError("Cannot open file " + sendData_);
            size = info.size();
        }
        lines.Add("Content-Length: " + std::to_string(size));
    }
}

bool THttpClient::ExpectsBody() const {
    return cmd_ != CmdType::Head && status_ != 204 && status_ != 304 &&
           !(status_ >= 100 && status_ < 200);
}

bool THttpClient::SendsBody() const {
    return CarriesBody(cmd_);
}

} // namespace vdx
