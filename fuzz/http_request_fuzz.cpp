// libFuzzer target for building a request: the URL is split into host, port
// and path and the header lines are made from it and the header values,
// without any network. A URL or value that would bend the request (split a
// line, add a header, leave the request line) must be refused with an
// error, never sent. The form encoding of post data must be reversible and
// the Authorization value must be valid base64 of "user:password".
#include "fuzz/fuzz_support.h"
#include "transfer/http_client.h"
#include "transfer/transfer_errors.h"
#include "transfer/url_coder.h"
#include "transfer/uu_coder.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using fuzz::Check;
using fuzz::SplitAtZero;

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1; // upper case is not what the encoder writes
}

std::string FormDecode(std::string_view encoded) {
    std::string out;
    for (size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%') {
            Check(i + 2 < encoded.size());
            const int hi = HexValue(encoded[i + 1]), lo = HexValue(encoded[i + 2]);
            Check(hi >= 0 && lo >= 0);
            out += char(hi * 16 + lo);
            i += 2;
        } else {
            Check((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
            out += c;
        }
    }
    return out;
}

void CheckCoders(std::string_view data) {
    Check(FormDecode(vdx::TUrlCoder().Encode(data)) == data);

    vdx::TUUCoder mime;
    std::string base64 = mime.Encode(data);
    // Lines of 45 bytes become 60 characters and CR LF.
    for (size_t start = 0; start < base64.size();) {
        const size_t end = base64.find("\r\n", start);
        Check(end != std::string::npos && end - start <= 60);
        start = end + 2;
    }
    std::erase_if(base64, [](char c) { return c == '\r' || c == '\n'; });
    const QByteArray decoded = QByteArray::fromBase64(QByteArray::fromStdString(base64));
    Check(decoded.toStdString() == data);
}

void CheckRequest(const vdx::THttpClient& client, vdx::CmdType cmd, size_t sendSize) {
    const std::vector<std::string>& lines = client.HeaderLines().Lines();
    Check(!lines.empty());
    for (const std::string& line : lines)
        Check(line.find_first_of("\r\n") == std::string::npos);
    Check(client.Port > 0 && client.Port <= 65535);
    Check(!client.Path().empty() && client.Path().front() == '/');
    if (cmd != vdx::CmdType::Wrapped) {
        // Exactly three fields, or the server reads another request line.
        const std::string& first = lines.front();
        const std::string method = vdx::CmdName(cmd);
        Check(first == method + " " + client.Path() + " HTTP/1.0");
        Check(client.Path().find_first_of(" \t") == std::string::npos);
    }
    // The body length is declared once, and right.
    int lengths = 0;
    for (const std::string& line : lines)
        if (line.starts_with("Content-Length: ")) {
            ++lengths;
            Check(line == "Content-Length: " + std::to_string(sendSize));
        }
    Check(lengths <= 1);
    const vdx::THeaderInfo& info = client.HeaderInfo;
    const int auth = client.HeaderLines().IndexOfName("Authorization");
    Check((auth >= 0) == (!info.UserId.empty() && !info.Password.empty()));
    if (auth >= 0) {
        const std::string_view line = lines[size_t(auth)];
        constexpr std::string_view kBasic = "Authorization: Basic ";
        Check(line.starts_with(kBasic));
        const QByteArray credentials = QByteArray::fromBase64(
            QByteArray::fromStdString(std::string(line.substr(kBasic.size()))));
        Check(credentials.toStdString() == info.UserId + ":" + info.Password);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const auto cmd = vdx::CmdType(data[0] % 13);
    const std::vector<std::string_view> parts =
        SplitAtZero(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    const auto part = [&](size_t i) { return i < parts.size() ? parts[i] : std::string_view(); };

    vdx::THttpClient client;
    client.Host = "exchange.invalid";
    client.HeaderInfo.Cookie = part(3);
    client.HeaderInfo.Referer = part(4);
    client.HeaderInfo.UserId = part(5);
    client.HeaderInfo.Password = part(6);
    client.HeaderInfo.LocalProgram = part(7);
    client.SetRequest(cmd, part(0), part(1), part(2));
    try {
        client.ParseURL();
        client.BuildHeader();
        CheckRequest(client, cmd, part(1).size());
    } catch (const vdx::EHttpError&) {
        // Refused: nothing is sent.
    }
    CheckCoders(part(1));
    return 0;
}
