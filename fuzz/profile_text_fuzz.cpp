// libFuzzer target for reading profile (INI) text as it comes in an upload
// or a damaged users.dat: any text parses, every section is listed once,
// and each key a section lists reads back with the value it was listed with.
#include "fuzz/fuzz_support.h"
#include "platform/ansi.h"
#include "platform/profile_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

using fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const plat::TProfileText profile(text);

    std::set<std::string> sections;
    for (const std::string& section : profile.Sections()) {
        Check(section.find('\n') == std::string::npos);
        Check(sections.insert(plat::AnsiUpper(section)).second);
        std::set<std::string> keys;
        for (const auto& [key, value] : profile.Section(section)) {
            Check(!key.empty() && key.find('=') == std::string::npos);
            Check(key.find('\n') == std::string::npos && value.find('\n') == std::string::npos);
            Check(keys.insert(plat::AnsiUpper(key)).second);
            Check(profile.Read(section, key, "\x01missing") == value);
            // Names match without regard to case, in either direction.
            Check(profile.Read(plat::AnsiLower(section), plat::AnsiUpper(key), "\x01missing") ==
                  value);
        }
    }
    // A section the text does not name gives the default.
    if (sections.count("\x02NONE") == 0)
        Check(profile.Read("\x02none", "key", "fallback") == "fallback");
    return 0;
}
