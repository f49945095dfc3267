#pragma once

#include <string>
#include <string_view>

namespace vdx {

enum class TUUMethod { uuMime, uuCode };

// Encodes bytes in lines of 45 input bytes each ended by CR LF: standard
// base64 with uuMime, the classic uuencode alphabet with a length character
// per line and a closing line with uuCode.
class TUUCoder {
public:
    TUUMethod Method = TUUMethod::uuMime;

    std::string Encode(std::string_view input) const;
};

} // namespace vdx
