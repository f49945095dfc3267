// libFuzzer target for writing profile (INI) files. The input holds, split
// at zero bytes, a file's old content and then section, key and value
// triples. Each triple is written with WriteProfileString; afterwards (read
// again from disk) every written key gives its last value, and every key of
// the old content that was not written keeps its value: a write may lose
// nothing and must store any text it accepts so that it reads back.
#include "fuzz/fuzz_support.h"
#include "platform/ansi.h"
#include "platform/profile_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using fuzz::Check;
using fuzz::SplitAtZero;

std::string_view TrimKey(std::string_view key) {
    constexpr std::string_view kBlanks = " \t\r\v\f";
    const size_t first = key.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return key.substr(first, key.find_last_not_of(kBlanks) - first + 1);
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Text that fits on one key line under its section's header; no argument
// may hold a line break.
bool Storable(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view k = TrimKey(key);
    return !k.empty() && k.front() != '[' && k.front() != ';' &&
           k.find('=') == std::string_view::npos && !HasLineBreak(section) && !HasLineBreak(key) &&
           !HasLineBreak(value);
}

QString ScratchFile() {
    // Every write is flushed to disk; a memory file system keeps that cheap.
    static const QString base = QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath();
    static QTemporaryDir dir(base + "/zenx-profile-fuzz-XXXXXX");
    Check(dir.isValid());
    return dir.filePath("users.dat");
}

struct Entry {
    std::string section, key, value;
};
using Folded = std::pair<std::string, std::string>;

Folded Fold(std::string_view section, std::string_view key) {
    return {plat::AnsiUpper(section), plat::AnsiUpper(TrimKey(key))};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string_view> parts =
        SplitAtZero(std::string_view(reinterpret_cast<const char*>(data), size));
    const QString file = ScratchFile();
    {
        QFile out(file);
        Check(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Check(out.write(parts[0].data(), qint64(parts[0].size())) == qint64(parts[0].size()));
    }
    // The cache tells files apart by identity, which a rewrite within the
    // same clock tick can repeat; this file was not written through it.
    plat::ClearProfileCache();

    std::map<Folded, Entry> old;
    const plat::TProfileText before(parts[0]);
    for (const std::string& section : before.Sections())
        for (const auto& [key, value] : before.Section(section))
            old.emplace(Fold(section, key), Entry{section, key, value});

    std::map<Folded, Entry> written;
    for (size_t i = 1; i + 2 < parts.size() && i < 3 * 16; i += 3) {
        const std::string_view section = parts[i], key = parts[i + 1], value = parts[i + 2];
        const bool ok = plat::WriteProfileString(file, section, key, value);
        Check(ok == Storable(section, key, value));
        if (!ok)
            continue;
        Check(plat::ReadProfileString(file, section, key, "\x01missing") == value);
        written[Fold(section, key)] =
            Entry{std::string(section), std::string(key), std::string(value)};
    }

    plat::ClearProfileCache();
    for (const auto& [folded, e] : written)
        Check(plat::ReadProfileString(file, e.section, e.key, "\x01missing") == e.value);
    for (const auto& [folded, e] : old)
        if (!written.count(folded))
            Check(plat::ReadProfileString(file, e.section, e.key, "\x01missing") == e.value);
    return 0;
}
