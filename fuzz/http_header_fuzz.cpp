// libFuzzer target for the HTTP reply header parser. The input is cut into
// lines the way the socket layer's ReadLn delivers them (each with its line
// feed; an unfinished last line never arrives) and fed as a reply header.
// Any input must be parsed without crashing and give sane values.
#include "transfer/reply_header.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    vdx::TReplyHeaderParser parser;
    bool first = true;
    while (!rest.empty()) {
        const size_t lf = rest.find('\n');
        if (lf == std::string_view::npos)
            break;
        const std::string_view line = rest.substr(0, lf + 1);
        rest.remove_prefix(lf + 1);
        if (first) {
            first = false;
            if (!parser.StatusLine(line))
                break;
        } else if (!parser.Field(line)) {
            break;
        }
    }
    if (parser.Status() < 0 || parser.Status() > 999 || parser.ContentLength() < 0)
        std::abort();
    // Values come from single lines: no line feed may reach a redirect or a
    // cookie that is sent back.
    if (parser.Location().find('\n') != std::string::npos ||
        parser.SetCookie().find('\n') != std::string::npos || parser.Location().size() > size ||
        parser.SetCookie().size() > size)
        std::abort();
    return 0;
}
