// Text handling of the transfer library that needs no network: error texts,
// the header line list, form and base64 encoding, and the reply header parser.
#include "transfer/ex_string_list.h"
#include "transfer/reply_header.h"
#include "transfer/sock_errors.h"
#include "transfer/url_coder.h"
#include "transfer/uu_coder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <netdb.h>

using namespace vdx;

TEST(SockErrors, TextsFollowTheClassicTable) {
    EXPECT_EQ(SockErrorText(10061), "10061:Connection refused");
    EXPECT_EQ(SockErrorText(10035), "10035:Operation would block");
    EXPECT_EQ(SockErrorText(11004), "11004:Valid name, no data record of requested type");
    EXPECT_EQ(SockErrorText(10093), "10093:Successful WSAStartup not yet performed");
    EXPECT_EQ(SockErrorText(10072), "Unknown Error No. 10072");
    EXPECT_EQ(SockErrorText(0), "");
}

TEST(SockErrors, ErrnoMapsOntoClassicNumbers) {
    EXPECT_EQ(SockErrorFromErrno(ECONNREFUSED), WSAECONNREFUSED);
    EXPECT_EQ(SockErrorFromErrno(EAGAIN), WSAEWOULDBLOCK);
    EXPECT_EQ(SockErrorFromErrno(EINPROGRESS), WSAEINPROGRESS);
    EXPECT_EQ(SockErrorFromErrno(ECONNRESET), WSAECONNRESET);
    EXPECT_EQ(SockErrorFromErrno(EPIPE), WSAECONNRESET);
    EXPECT_EQ(SockErrorFromErrno(ENOTCONN), WSAENOTCONN);
    EXPECT_EQ(SockErrorFromErrno(0), 0);
    // An errno without counterpart must never pass for "would block" (35 is
    // EDEADLK on Linux) or any other code of the table.
    EXPECT_EQ(SockErrorFromErrno(EDEADLK), kUnmappedErrnoBase + EDEADLK);
    EXPECT_EQ(SockErrorText(SockErrorFromErrno(EIO)).rfind("Unknown Error No. ", 0), 0u);
    EXPECT_EQ(SockErrorFromGai(EAI_NONAME, 0), WSAHOST_NOT_FOUND);
    EXPECT_EQ(SockErrorFromGai(EAI_SYSTEM, ECONNREFUSED), WSAECONNREFUSED);
}

TEST(ExStringList, FindsSetsAndDeletesByNameWithoutRegardToCase) {
    TExStringList list;
    list.Add("GET /a HTTP/1.0");
    list.SetValue("Host", "example");
    list.Add("Accept: one");
    list.Add("Accept: two");
    EXPECT_EQ(list.IndexOfName("host"), 1);
    EXPECT_EQ(list.IndexOfName("ACCEPT"), 2);
    EXPECT_EQ(list.IndexOfName("GET /a HTTP/1.0"), -1) << "a line without colon has no name";
    EXPECT_EQ(list.IndexOfName("Missing"), -1);

    list.SetValue("HOST", "other");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[1], "HOST: other");
    list.SetValue("host", "");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOfName("Host"), -1);
    list.SetValue("Cookie", "");
    EXPECT_EQ(list.Count(), 3);
}

TEST(ExStringList, SortedListFindsNamesByBisection) {
    TExStringList list;
    for (const char* line : {"b-c: 1", "b: 2", "A: 3", "z: 4", "B-A: 5", "m: 6"})
        list.Add(line);
    list.SetSorted(true);
    for (const char* name : {"a", "B", "b-a", "B-C", "M", "z"}) {
        const int index = list.IndexOfName(name);
        ASSERT_GE(index, 0) << name;
        EXPECT_EQ(CompareText(LineName(list[index]), name), 0) << name;
    }
    EXPECT_EQ(list.IndexOfName("c"), -1);
    list.SetValue("c", "7");
    EXPECT_GE(list.IndexOfName("C"), 0);
    EXPECT_EQ(list.IndexOfName("z"), list.Count() - 1);
}

TEST(UrlCoder, EncodesFormData) {
    EXPECT_EQ(TUrlCoder().Encode("Jan de Vries & co=1"), "Jan+de+Vries+%26+co%3d1");
    EXPECT_EQ(TUrlCoder().Encode(std::string("\xe9\n-_.~", 6)), "%e9%0a%2d%5f%2e%7e");
    EXPECT_EQ(TUrlCoder().Encode(std::string("a\0b", 3)), "a%00b");
    EXPECT_EQ(TUrlCoder().Encode(""), "");
}

TEST(UUCoder, MimeLinesOf45BytesWithPadding) {
    const TUUCoder mime;
    EXPECT_EQ(mime.Encode("Aladdin:open sesame"), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==\r\n");
    EXPECT_EQ(mime.Encode("ab"), "YWI=\r\n");
    EXPECT_EQ(mime.Encode(""), "");
    const std::string text(46, 'x');
    const std::string encoded = mime.Encode(text);
    const size_t firstEnd = encoded.find("\r\n");
    EXPECT_EQ(firstEnd, 60u) << "45 bytes make one line of 60 characters";
    EXPECT_EQ(encoded.substr(firstEnd + 2), "eA==\r\n");
}

TEST(UUCoder, UuencodeHasLengthCharactersAndAClosingLine) {
    TUUCoder coder;
    coder.Method = TUUMethod::uuCode;
    EXPECT_EQ(coder.Encode("Cat"), "#0V%T\r\n`\r\n");
    EXPECT_EQ(coder.Encode(std::string(3, '\0')), "#````\r\n`\r\n");
}

TEST(ReplyHeader, StatusLineAndFields) {
    TReplyHeaderParser p;
    ASSERT_TRUE(p.StatusLine("HTTP/1.0 404 Not Found\r\n"));
    EXPECT_EQ(p.Status(), 404);
    EXPECT_TRUE(p.Field("Content-Length:  1234\r\n")) << "two spaces before the digits";
    EXPECT_EQ(p.ContentLength(), 1234);
    EXPECT_TRUE(p.Field("content-length:77abc\n"));
    EXPECT_EQ(p.ContentLength(), 77);
    EXPECT_TRUE(p.Field("LOCATION: http://h/x?a=b:c\r\n"));
    EXPECT_EQ(p.Location(), "http://h/x?a=b:c");
    EXPECT_TRUE(p.Field("Set-Cookie: id=7; path=/\r\n"));
    EXPECT_EQ(p.SetCookie(), "id=7; path=/");
    EXPECT_TRUE(p.Field("X-Other: 1\r\n"));
    EXPECT_TRUE(p.Field("no colon at all\r\n"));
    EXPECT_FALSE(p.Field("\r\n"));
    EXPECT_FALSE(p.Field("\n"));
}

TEST(ReplyHeader, OddStatusLinesAndLengths) {
    EXPECT_EQ(ParseStatusNumber("HTTP/1.0 OK\r\n"), 0);
    EXPECT_EQ(ParseStatusNumber("HTTP/1.0\r\n"), 0);
    EXPECT_EQ(ParseStatusNumber("HTTP/1.1   200   OK"), 200);
    EXPECT_EQ(ParseStatusNumber("HTTP/1.0 -5 X"), 0);
    EXPECT_EQ(ParseStatusNumber("HTTP/1.0 99999999999999999999 X"), 999);
    TReplyHeaderParser p;
    EXPECT_FALSE(p.StatusLine("[Stats]\r\n")) << "no status line: the reply is all body";
    EXPECT_FALSE(p.StatusLine("HTT"));
    EXPECT_EQ(p.Status(), 0);
    EXPECT_TRUE(p.StatusLine("http/1.0 200 OK\n"));
    p.Field("Content-Length: 99999999999999999999999999999\r\n");
    EXPECT_GT(p.ContentLength(), 0) << "a huge length saturates instead of overflowing";
    p.Field("Content-Length: none\r\n");
    EXPECT_EQ(p.ContentLength(), 0);
}
