#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vdx {

// Reads the lines of an HTTP reply header, each with its terminator, as they
// arrive from the server: the status, the content length, the redirect
// target and the cookie. Knows nothing of sockets, so that it can be fed any
// bytes.
class TReplyHeaderParser {
public:
    void Reset();
    // The reply's first line. False when it is no status line (no "HTTP/"):
    // such a reply has no header and the line belongs to the body.
    bool StatusLine(std::string_view line);
    // A further header line; false for the blank line that ends the header.
    bool Field(std::string_view line);

    int Status() const { return status_; }
    int64_t ContentLength() const { return contentLength_; }
    // A Content-Length field with digits was read.
    bool ContentLengthGiven() const { return lengthGiven_; }
    // Two Content-Length fields that disagree: the body's end is unknown.
    bool LengthConflict() const { return lengthConflict_; }
    // The body is sent in chunks ("Transfer-Encoding: chunked").
    bool Chunked() const { return chunked_; }
    // A transfer coding other than chunked, which the client cannot undo.
    bool UnknownCoding() const { return unknownCoding_; }
    const std::string& Location() const { return location_; }
    const std::string& SetCookie() const { return setCookie_; }

private:
    int status_ = 0;
    int64_t contentLength_ = 0;
    bool lengthGiven_ = false;
    bool lengthConflict_ = false;
    bool chunked_ = false;
    bool unknownCoding_ = false;
    std::string location_;
    std::string setCookie_;
};

// The line without its CR LF or LF.
std::string_view StripLineEnd(std::string_view line);
// The status number of a status line: its second field when that is a
// number, else 0. Numbers beyond three digits count as 999, an error.
int ParseStatusNumber(std::string_view line);

} // namespace vdx
