#include "transfer/uu_coder.h"

#include <algorithm>

namespace vdx {

namespace {

constexpr size_t kBlock = 45;
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The uuencode alphabet: value plus 32, with '`' standing for 0 instead of a
// space that mail transports may strip.
char UUChar(unsigned v) {
    return v == 0 ? '`' : char(v + 32);
}

void EncodeGroup(const unsigned char* p, size_t n, TUUMethod method, std::string& out) {
    const unsigned v =
        (unsigned(p[0]) << 16) | (n > 1 ? unsigned(p[1]) << 8 : 0u) | (n > 2 ? unsigned(p[2]) : 0u);
    const unsigned sextets[4] = {(v >> 18) & 63, (v >> 12) & 63, (v >> 6) & 63, v & 63};
    for (size_t i = 0; i < 4; ++i) {
        if (method == TUUMethod::uuMime)
            out += i <= n ? kBase64[sextets[i]] : '=';
        else
            out += UUChar(sextets[i]);
    }
}

} // namespace

std::string TUUCoder::Encode(std::string_view input) const {
    std::string out;
    const auto* data = reinterpret_cast<const unsigned char*>(input.data());
    for (size_t start = 0; start < input.size(); start += kBlock) {
        const size_t len = std::min(kBlock, input.size() - start);
        if (Method == TUUMethod::uuCode)
            out += UUChar(unsigned(len));
        for (size_t i = 0; i < len; i += 3)
            EncodeGroup(data + start + i, std::min<size_t>(3, len - i), Method, out);
        out += "\r\n";
    }
    if (Method == TUUMethod::uuCode)
        out += "`\r\n";
    return out;
}

} // namespace vdx
