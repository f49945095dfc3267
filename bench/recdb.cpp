// Loads a generated record database of 100,000 records (about 20 MB) and
// builds its test index, next to the time of merely reading the same file
// into memory, then walks 40,000 questions the way the catalogue does.

#include "bench/record_bytes.h"
#include "recdb/db_rec_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::MsSince;

constexpr int kGroups = 40, kTests = 25, kQuestions = 40; // 40,000 questions
constexpr int kRecords = 100000;
constexpr int kRuns = 7;

// Tests with questions and explanations, then reference pages up to the count.
QByteArray Generate() {
    QByteArray out;
    out.reserve(21 << 20);
    out.append(4, '\0');
    uint32_t n = 0;
    std::string text;
    auto body = [&](size_t size) -> const std::string& {
        text.clear();
        while (text.size() < size)
            text += "Welk getal volgt in de reeks 2, 4, 8, 16? <a href=\"a\">a) 32</a>\r\n";
        text.resize(size);
        return text;
    };
    char code[32];
    for (int g = 0; g < kGroups; ++g) {
        std::snprintf(code, sizeof code, "g%03d", g);
        const std::string group = code;
        bench::PutRecord(out, "Test|" + group + "00000000000", body(120), ++n);
        for (int t = 1; t <= kTests; ++t) {
            std::snprintf(code, sizeof code, "%s%03d", group.c_str(), t);
            const std::string test = code;
            bench::PutRecord(out, "Test|" + test + "00000000", body(400), ++n);
            for (int q = 1; q <= kQuestions; ++q) {
                std::snprintf(code, sizeof code, "%s%03d01001b", test.c_str(), q);
                bench::PutRecord(out, std::string("Test|") + code, body(260), ++n);
                bench::PutRecord(out, std::string("Test|") + code + "|uitleg", body(140), ++n);
            }
        }
    }
    while (n < uint32_t(kRecords)) {
        ++n;
        bench::PutRecord(out, "BkInfo|Pagina " + std::to_string(n), body(200), n);
    }
    qToLittleEndian<qint32>(qint32(n), out.data());
    return out;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("IDbRecs.dat");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(Generate()) < 0)
            return 1;
    }
    const double mb = double(QFile(path).size()) / (1024.0 * 1024.0);

    std::vector<double> readMs, loadMs, indexMs;
    TiDbRecFile db;
    TRecordIndex index;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = f.readAll();
        readMs.push_back(MsSince(start));

        start = Clock::now();
        if (!db.LoadFromFile(path))
            return 1;
        loadMs.push_back(MsSince(start));

        start = Clock::now();
        db.ActivateAll();
        db.BuildTestIndex(index);
        indexMs.push_back(MsSince(start));
        if (bytes.isEmpty())
            return 1;
    }
    const double read = Median(readMs), load = Median(loadMs);
    std::printf("file: %d records, %.1f MB (median of %d runs)\n", db.Count(), mb, kRuns);
    std::printf("plain read:        %8.2f ms  %8.0f MB/s\n", read, mb / read * 1000);
    std::printf("LoadFromFile:      %8.2f ms  %8.0f MB/s  (%.0f%% of plain read speed)\n", load,
                mb / load * 1000, 100.0 * read / load);
    std::printf("BuildTestIndex:    %8.2f ms  (%zu entries)\n", Median(indexMs), index.size());

    // With a gauge, as at start-up behind the intro window: pending events
    // run after every record.
    {
        std::vector<double> gaugeMs;
        int lastPercent = -1;
        for (int run = 0; run < 3; ++run) {
            const auto start = Clock::now();
            if (!db.LoadFromFile(path, [&](int percent) { lastPercent = percent; }))
                return 1;
            gaugeMs.push_back(MsSince(start));
        }
        const double withGauge = Median(gaugeMs);
        std::printf("with gauge:        %8.2f ms  %8.0f MB/s  (gauge ended at %d%%)\n", withGauge,
                    mb / withGauge * 1000, lastPercent);
        db.ActivateAll();
        db.BuildTestIndex(index);
    }

    // The catalogue's walk: every group, test and question, with the entry
    // of each question. The first walk also builds the index's lookups.
    for (int walk = 1; walk <= 2; ++walk) {
        const auto start = Clock::now();
        long questions = 0, points = 0;
        for (int g = 1; g <= index.GroupCount(); ++g) {
            const std::string group = index.GroupCodeAt(g);
            for (int t = 1; t <= index.TestCount(group); ++t) {
                const std::string test = group + index.TestAt(group, t);
                const int count = index.QuestionCount(test);
                for (int q = 1; q <= count; ++q) {
                    const std::string& entry = index.FindEntry(test + index.QuestionAt(test, q));
                    points += StrToIntDef(EntryPoints(entry), 0);
                    ++questions;
                }
            }
        }
        std::printf("catalogue walk %d:  %8.2f ms  (%ld questions, %ld points)\n", walk,
                    MsSince(start), questions, points);
    }
    const bool fastEnough = load <= 4 * read;
    std::printf("load at least a quarter of plain read speed: %s\n", fastEnough ? "yes" : "NO");
    return fastEnough ? 0 : 2;
}
