#include "transfer/reply_header.h"

#include "transfer/ex_string_list.h"

namespace vdx {

namespace {

constexpr int kStatusCeiling = 999;
// Lengths beyond this are nonsense; stopping here keeps the sum in range.
constexpr int64_t kLengthCeiling = int64_t(1) << 50;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The n-th (0-based) run of non-blank characters.
std::string_view NthField(std::string_view s, int n) {
    size_t pos = 0;
    for (int i = 0;; ++i) {
        while (pos < s.size() && IsBlank(s[pos]))
            ++pos;
        size_t end = pos;
        while (end < s.size() && !IsBlank(s[end]))
            ++end;
        if (pos == end)
            return {};
        if (i == n)
            return s.substr(pos, end - pos);
        pos = end;
    }
}

} // namespace

std::string_view StripLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

int ParseStatusNumber(std::string_view line) {
    const std::string_view field = NthField(StripLineEnd(line), 1);
    if (field.empty())
        return 0;
    int value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
        if (value > kStatusCeiling)
            value = kStatusCeiling;
    }
    return value;
}

void TReplyHeaderParser::Reset() {
    *this = TReplyHeaderParser();
}

bool TReplyHeaderParser::StatusLine(std::string_view line) {
    if (line.size() < 5 || CompareText(line.substr(0, 5), "HTTP/") != 0)
        return false;
    status_ = ParseStatusNumber(line);
    return true;
}

bool TReplyHeaderParser::Field(std::string_view line) {
    const std::string_view text = StripLineEnd(line);
    if (text.empty())
        return false;
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return true;
    const std::string_view name = TrimBlanks(text.substr(0, colon));
    const std::string_view value = TrimBlanks(text.substr(colon + 1));
    if (CompareText(name, "Set-Cookie") == 0) {
        setCookie_ = value;
    } else if (CompareText(name, "Location") == 0) {
        location_ = value;
    } else if (CompareText(name, "Content-Length") == 0) {
        int64_t length = 0;
        size_t digits = 0;
        for (; digits < value.size() && value[digits] >= '0' && value[digits] <= '9'; ++digits) {
            if (length < kLengthCeiling)
                length = length * 10 + (value[digits] - '0');
        }
        if (digits > 0) {
            if (lengthGiven_ && length != contentLength_)
                lengthConflict_ = true;
            lengthGiven_ = true;
        }
        contentLength_ = length;
    } else if (CompareText(name, "Transfer-Encoding") == 0) {
        // Codings are listed in the order they were applied; only a plain
        // "chunked" (or "identity", which changes nothing) can be undone.
        if (CompareText(value, "chunked") == 0)
            chunked_ = true;
        else if (CompareText(value, "identity") != 0)
            unknownCoding_ = true;
    }
    return true;
}

} // namespace vdx
