#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vdx {

// Form encoding of post data: a space becomes '+', ASCII letters and digits
// stay, every other byte becomes '%' and two lower-case hexadecimal digits.
class TUrlCoder {
public:
    std::function<void(const std::string& message)> OnError;

    // The encoded text; on failure OnError hears "Error during encode" and
    // the text comes back unencoded.
    std::string Encode(std::string_view input) const;
};

} // namespace vdx
