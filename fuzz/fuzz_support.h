#pragma once

// Helpers the fuzz targets share.
#include <cstdlib>
#include <string_view>
#include <vector>

namespace fuzz {

// A broken invariant is a finding: stop where libFuzzer sees it.
inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The input cut at its zero bytes, for targets that take several texts.
inline std::vector<std::string_view> SplitAtZero(std::string_view input) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t zero = input.find('\0');
        parts.push_back(input.substr(0, zero));
        if (zero == std::string_view::npos)
            return parts;
        input.remove_prefix(zero + 1);
    }
}

} // namespace fuzz
