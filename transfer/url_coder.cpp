#include "transfer/url_coder.h"

namespace vdx {

namespace {

bool StaysAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

std::string TUrlCoder::Encode(std::string_view input) const {
    static constexpr char kHex[] = "0123456789abcdef";
    try {
        std::string out;
        out.reserve(input.size() * 3);
        for (const char ch : input) {
            const auto c = static_cast<unsigned char>(ch);
            if (c == ' ') {
                out += '+';
            } else if (StaysAsIs(c)) {
                out += ch;
            } else {
                out += '%';
                out += kHex[c >> 4];
                out += kHex[c & 15];
            }
        }
        return out;
    } catch (...) {
        if (OnError)
            OnError("Error during encode");
        return std::string(input);
    }
}

} // namespace vdx
