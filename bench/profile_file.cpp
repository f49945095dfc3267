// Reads and writes keys of a users.dat-sized profile file through the cached
// routines and compares them with a reader that parses the whole file for
// every key, the way the routines would cost without a cache.

#include "platform/profile_file.h"
#include "platform/ansi.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSections = 2100;
constexpr int kKeysPerSection = 20;
constexpr size_t kCachedReads = 40000;
constexpr size_t kBaselineReads = 200;
constexpr size_t kWrites = 100;

struct Entry {
    std::string section, key, value;
};

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Sections like the user store's: a name with a suffix, a password, a date
// and a row of stored answers per test.
std::string Generate(std::vector<Entry>& entries) {
    std::mt19937 rng(1234);
    std::string text;
    for (int s = 0; s < kSections; ++s) {
        const std::string section = "User" + std::to_string(s) + " Jansen.Data";
        text += "[" + section + "]\r\n";
        for (int k = 0; k < kKeysPerSection; ++k) {
            std::string key = k == 0 ? "Password" : k == 1 ? "Started" : "Test" + std::to_string(k);
            std::string value;
            while (value.size() < 100)
                value += std::to_string(rng() % 1000) + ';';
            text += key + "=" + value + "\r\n";
            entries.push_back({section, std::move(key), std::move(value)});
        }
        text += "\r\n";
    }
    return text;
}

std::string_view Trim(std::string_view s) {
    const size_t a = s.find_first_not_of(" \t\r");
    return a == std::string_view::npos ? std::string_view()
                                       : s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// The uncached way: read the whole file and scan it line by line.
std::string NaiveRead(const std::string& path, std::string_view section, std::string_view key) {
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bool inSection = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos)
            nl = text.size();
        const std::string_view line(text.data() + pos, nl - pos);
        pos = nl + 1;
        const std::string_view t = Trim(line);
        if (!t.empty() && t.front() == '[') {
            const size_t close = t.rfind(']');
            inSection = close != std::string_view::npos &&
                        plat::AnsiSameText(t.substr(1, close - 1), section);
        } else if (inSection && !t.empty() && t.front() != ';') {
            const size_t eq = t.find('=');
            if (eq != std::string_view::npos && plat::AnsiSameText(Trim(t.substr(0, eq)), key))
                return std::string(Trim(t.substr(eq + 1)));
        }
    }
    return {};
}

} // namespace

int main() {
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString file = dir.filePath("users.dat");
    std::vector<Entry> entries;
    const std::string text = Generate(entries);
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(text.data(), qint64(text.size())) < 0)
            return 1;
    }
    std::printf("file: %.2f MB, %d sections, %zu keys\n", double(text.size()) / 1e6, kSections,
                entries.size());
    {
        const plat::TProfileText parsed(text);
        std::printf("parsed copy: %.2f MB (%.2f x the file)\n", double(parsed.Footprint()) / 1e6,
                    double(parsed.Footprint()) / double(text.size()));
    }

    std::vector<Entry> order = entries;
    std::shuffle(order.begin(), order.end(), std::mt19937(99));
    order.resize(kCachedReads);
    size_t wrong = 0;

    plat::ClearProfileCache();
    auto start = Clock::now();
    wrong += plat::ReadProfileString(file, order[0].section, order[0].key) != order[0].value;
    const double firstMs = MsSince(start);
    for (size_t i = 1; i < order.size(); ++i)
        wrong += plat::ReadProfileString(file, order[i].section, order[i].key) != order[i].value;
    const double cachedMs = MsSince(start);
    const double cachedUs = cachedMs * 1000 / double(order.size());
    std::printf("cached: %zu reads in %.1f ms (%.2f us/read; first read with parse %.1f ms, "
                "then %.2f us/read)\n",
                order.size(), cachedMs, cachedUs, firstMs,
                (cachedMs - firstMs) * 1000 / double(order.size() - 1));

    const std::string path = QFile::encodeName(file).toStdString();
    start = Clock::now();
    for (size_t i = 0; i < kBaselineReads; ++i) {
        const Entry& e = entries[i * entries.size() / kBaselineReads];
        wrong += NaiveRead(path, plat::AnsiUpper(e.section), e.key) != e.value;
    }
    const double baseMs = MsSince(start);
    const double baseUs = baseMs * 1000 / double(kBaselineReads);
    std::printf("baseline: %zu reads in %.1f ms (%.1f us/read; %zu reads would take %.1f s)\n",
                kBaselineReads, baseMs, baseUs, kCachedReads, baseUs * double(kCachedReads) / 1e6);
    const double ratio = baseUs / cachedUs;
    std::printf("ratio: %.0f x (baseline per read / cached per read, parse included)\n", ratio);

    start = Clock::now();
    for (size_t i = 0; i < kWrites; ++i) {
        const Entry& e = entries[(i * 7919) % entries.size()];
        wrong += !plat::WriteProfileString(file, e.section, e.key, "changed" + std::to_string(i));
    }
    const double writeMs = MsSince(start);
    std::printf("writes: %zu in %.1f ms (%.2f ms/write, each an fsynced replace of the file)\n",
                kWrites, writeMs, writeMs / double(kWrites));
    plat::ClearProfileCache();
    for (size_t i = 0; i < kWrites; ++i) {
        const Entry& e = entries[(i * 7919) % entries.size()];
        wrong += plat::ReadProfileString(file, e.section, e.key) != "changed" + std::to_string(i);
    }

    if (wrong) {
        std::printf("FAILED: %zu wrong results\n", wrong);
        return 1;
    }
    if (ratio < 100) {
        std::printf("FAILED: the cache is less than 100 x faster\n");
        return 1;
    }
    return 0;
}
