// Request building of the HTTP client: how URLs split into host, port and
// path, and the exact header lines of each kind of request.
#include "transfer/http_client.h"
#include "transfer/transfer_errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vdx;

namespace {

struct Parsed {
    std::string host;
    int port;
    std::string path;
    std::string url;
};

Parsed Parse(THttpClient& http, const std::string& url) {
    http.SetRequest(CmdType::Get, url);
    http.ParseURL();
    return {http.Host, http.Port, http.Path(), http.Url()};
}

} // namespace

TEST(ParseURL, SplitsHostPortAndPath) {
    THttpClient http;
    Parsed p = Parse(http, "exchange.example/zenx/iusers.dat");
    EXPECT_EQ(p.host, "exchange.example");
    EXPECT_EQ(p.port, 80);
    EXPECT_EQ(p.path, "/zenx/iusers.dat");

    p = Parse(http, "exchange.example:8080/zenx/zenxws.dll?action=zenxdata");
    EXPECT_EQ(p.host, "exchange.example");
    EXPECT_EQ(p.port, 8080);
    EXPECT_EQ(p.path, "/zenx/zenxws.dll?action=zenxdata");

    p = Parse(http, "http://Other.Example:81/a/b");
    EXPECT_EQ(p.host, "Other.Example");
    EXPECT_EQ(p.port, 81);
    EXPECT_EQ(p.path, "/a/b");

    p = Parse(http, "HTTP://third.example");
    EXPECT_EQ(p.host, "third.example");
    EXPECT_EQ(p.port, 80) << "the scheme resets the port";
    EXPECT_EQ(p.path, "/");
    EXPECT_EQ(p.url, "HTTP://third.example/");

    p = Parse(http, "ftp://files.example/x");
    EXPECT_EQ(p.port, 21);
    p = Parse(http, "gopher://g.example/");
    EXPECT_EQ(p.port, 70);
}

TEST(ParseURL, RelativeUrlsKeepHostAndPort) {
    THttpClient http;
    Parse(http, "127.0.0.1:8080/zenx");
    Parsed p = Parse(http, "/elsewhere?q=a:b//c");
    EXPECT_EQ(p.host, "127.0.0.1");
    EXPECT_EQ(p.port, 8080) << "a colon in the query is no port";
    EXPECT_EQ(p.path, "/elsewhere?q=a:b//c");

    p = Parse(http, "host.example/a//b");
    EXPECT_EQ(p.host, "host.example") << "a double slash in the path is no authority";
    EXPECT_EQ(p.path, "/a//b");
}

TEST(ParseURL, RefusesWhatCannotBeRequested) {
    THttpClient http;
    http.SetRequest(CmdType::Get, "");
    EXPECT_THROW(http.ParseURL(), EHttpError);
    for (const char* url :
         {"https://secure.example/x", "HTTPS://secure.example", "h:x/y", "h:/y", "h:0/y",
          "h:65536/y", "h:99999999999999999999/y", "h/a b", "h/a\r\nX-Injected: 1"}) {
        http.SetRequest(CmdType::Get, url);
        EXPECT_THROW(http.ParseURL(), EHttpError) << url;
    }
    http.SetRequest(CmdType::Get, "https://secure.example/x");
    try {
        http.ParseURL();
    } catch (const EHttpError& e) {
        EXPECT_STREQ(e.what(), "HTTP Secure Socket is not supported");
    }
}

TEST(BuildHeader, DownloadRequestLines) {
    THttpClient http;
    http.SetRequest(CmdType::Get, "exchange.example:8080/zenx/iusers.dat");
    http.ParseURL();
    http.BuildHeader();
    const std::vector<std::string> expected = {
        "GET /zenx/iusers.dat HTTP/1.0",
        "Host: exchange.example",
        "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff",
        "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript",
        "Content-type: application/x-www-form-urlencoded",
    };
    EXPECT_EQ(http.HeaderLines().Lines(), expected);
}

TEST(BuildHeader, OptionalLinesProxyAndCredentials) {
    THttpClient http;
    http.Proxy = "proxy.example";
    http.HeaderInfo.LocalProgram = "Zernox";
    http.HeaderInfo.Referer = "r";
    // Longer than one 45-byte block of the encoder: still one header line.
    http.HeaderInfo.UserId = std::string(40, 'u');
    http.HeaderInfo.Password = "secret";
    http.SetRequest(CmdType::Move, "h.example/a", {}, "/b");
    http.ParseURL();
    http.BuildHeader();
    const auto& lines = http.HeaderLines().Lines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "MOVE h.example/a HTTP/1.0");
    EXPECT_EQ(lines[1], "Proxy-Connection: Keep-Alive");
    EXPECT_EQ(lines[2], "Host: h.example");
    EXPECT_EQ(lines[5], "User-Agent: Zernox");
    EXPECT_EQ(lines[6], "Referer: r");
    EXPECT_EQ(lines[7].rfind("Authorization: Basic dXV1", 0), 0u);
    EXPECT_EQ(lines[7].find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(lines[8], "Content-type: application/x-www-form-urlencoded");
    EXPECT_EQ(lines[9], "URI-header: /b");

    http.HeaderInfo.Cookie = "a\r\nX: y";
    EXPECT_THROW(http.BuildHeader(), EHttpError);
}

TEST(BuildHeader, ContentLengthOfStringAndFile) {
    THttpClient http;
    http.SetRequest(CmdType::Put, "h/x", "12345");
    http.ParseURL();
    http.BuildHeader();
    EXPECT_EQ(http.HeaderLines().Lines().back(), "Content-Length: 5");

    QTemporaryDir dir;
    QFile file(dir.filePath("users.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(70000, 'x'));
    file.close();
    http.OutputFileMode = true;
    http.SetRequest(CmdType::Post, "h/x", QFile::encodeName(file.fileName()).toStdString());
    http.BuildHeader();
    EXPECT_EQ(http.HeaderLines().Lines().back(), "Content-Length: 70000");
    EXPECT_EQ(http.HeaderLines().Lines().front(), "POST /x HTTP/1.0");

    http.SetRequest(CmdType::Post, "h/x", QFile::encodeName(dir.filePath("gone")).toStdString());
    EXPECT_ANY_THROW(http.BuildHeader());

    http.OutputFileMode = false;
    http.SetRequest(CmdType::Wrapped, "h/x", "ab");
    http.BuildHeader();
    EXPECT_EQ(http.HeaderLines()[0], "Host: h") << "a wrapped request has no request line";
}
