// Builds the test catalogue for one user over a database of 40,000 questions
// and a users.dat of about 5 MB (100 users with their answers), next to a
// baseline that reads the user file again for every answer, as the classic
// profile routines do. The baseline is timed on a sample of questions and
// scaled to all of them: every read costs the same whole-file parse.

#include "exam/catalogue.h"
#include "bench/record_bytes.h"
#include "exam/content_model.h"
#include "exam/iq_score.h"
#include "exam/stored_answers.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "recdb/db_rec_file.h"
#include "recdb/record_index.h"

#include <QCoreApplication>
#include <QDir>
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
constexpr int kUsers = 100;
constexpr int kMeasuredUser = 50;
constexpr int kBaselineSample = 100; // questions the baseline actually reads
constexpr int kRuns = 5;
constexpr double kRequiredRatio = 50;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string Code(const char* format, int a) {
    char code[16];
    std::snprintf(code, sizeof code, format, a);
    return code;
}

// Groups "g000".."g039", each with 25 tests of 40 questions worth 1 to 3
// points whose answer is "b".
QByteArray GenerateDatabase() {
    QByteArray out(4, '\0');
    uint32_t n = 0;
    const std::string body = "Welk getal volgt in de reeks 2, 4, 8, 16? <a href=\"b\">32</a>";
    for (int g = 0; g < kGroups; ++g) {
        const std::string group = Code("g%03d", g);
        bench::PutRecord(out, "Test|" + group + "00000000000", "Groep " + group, ++n);
        for (int t = 1; t <= kTests; ++t) {
            const std::string test = group + Code("%03d", t);
            bench::PutRecord(out, "Test|" + test + "00000000", "Test " + test, ++n);
            for (int q = 1; q <= kQuestions; ++q) {
                const std::string key = test + Code("%03d", q) + Code("%03d", 1 + q % 3) + "01b";
                bench::PutRecord(out, "Test|" + key, body, ++n);
            }
        }
    }
    qToLittleEndian<qint32>(qint32(n), out.data());
    return out;
}

// 100 users, each with a data section and answers to about 1,750 questions
// spread over the groups: some right, some wrong, some timed out.
QByteArray GenerateUsers() {
    QByteArray out;
    out.reserve(6 << 20);
    out += "[Users]\r\nCount=" + QByteArray::number(kUsers) + "\r\n";
    for (int u = 1; u <= kUsers; ++u)
        out += "User" + QByteArray::number(u) + "=Deelnemer" + QByteArray::number(u) + "\r\n";
    for (int u = 1; u <= kUsers; ++u) {
        const QByteArray name = "Deelnemer" + QByteArray::number(u);
        out += "[" + name + ".Data]\r\nPw=geheim\r\nAge=" + QByteArray::number(14 + u % 50) +
               "\r\nDirectFB=1\r\n";
        out += "[" + name + ".Answers]\r\n";
        int written = 0;
        for (int g = 0; g < kGroups && written < 1750; ++g) {
            for (int t = 1 + (u + g) % 3; t <= kTests && written < 1750; t += 3) {
                for (int q = 1; q <= kQuestions; q += 1 + (u + t) % 2) {
                    const char* answer = (q + u) % 5 == 0 ? "a" : (q + u) % 7 == 0 ? "" : "b";
                    out += QByteArray::fromStdString(Code("g%03d", g) + Code("%03d", t) +
                                                     Code("%03d", q)) +
                           "=" + answer + "<38870," + QByteArray::number((q * 37 + u) % 1000) +
                           "><" + QByteArray::number(1000 + q * 250 + u) + ">\r\n";
                    ++written;
                }
            }
        }
    }
    return out;
}

// The catalogue's walk with the stored value of each question read from the
// file itself, no parse kept between reads. Stops after `limit` reads and
// returns the points earned so that the work cannot be skipped.
int64_t BaselineWalk(const TTestContent& content, const std::string& user, int limit) {
    int64_t earned = 0;
    int reads = 0;
    for (int g = 1; g <= content.GroupCount(); ++g) {
        const std::string group = content.GroupCodeAt(g);
        for (int t = 1; t <= content.TestCount(group); ++t) {
            const std::string test = TestKey(group, content.TestAt(group, t));
            for (int q = 1; q <= content.QuestionCount(test); ++q) {
                if (reads++ == limit)
                    return earned;
                const TQuestionInfo info = content.Question(test, q);
                plat::ClearProfileCache(); // the file is read again for this answer
                if (AnswerPart(ReadAnswer(user, info.Key)) == info.Answer)
                    earned += info.Points;
            }
        }
    }
    return earned;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    plat::SetProgramDir(dir.path());
    QDir(dir.path()).mkpath(QStringLiteral("User"));
    QDir(dir.path()).mkpath(QStringLiteral("D"));
    {
        QFile users(dir.filePath(QStringLiteral("User/users.dat")));
        if (!users.open(QIODevice::WriteOnly) || users.write(GenerateUsers()) < 0)
            return 1;
        QFile norms(dir.filePath(QStringLiteral("D/iq.dat")));
        if (!norms.open(QIODevice::WriteOnly))
            return 1;
        for (const char* section : {"14-16", "17-21", "22-30", ">30"}) {
            norms.write(QByteArray("[") + section + "]\r\n");
            for (int raw = 0; raw <= 164; ++raw)
                norms.write(QByteArray::number(raw) + "=" + QByteArray::number(55 + raw / 2) +
                            "\r\n");
        }
    }
    const double usersMb =
        double(QFile(dir.filePath(QStringLiteral("User/users.dat"))).size()) / (1024.0 * 1024.0);

    TiDbRecFile db;
    TRecordIndex index;
    if (!db.LoadFromBytes(GenerateDatabase()))
        return 1;
    db.ActivateAll();
    db.BuildTestIndex(index);
    TTestContent content(db, index);
    int questions = 0;
    for (int g = 1; g <= content.GroupCount(); ++g)
        for (int t = 1; t <= content.TestCount(content.GroupCodeAt(g)); ++t)
            questions += content.QuestionCount(
                TestKey(content.GroupCodeAt(g), content.TestAt(content.GroupCodeAt(g), t)));

    TUserProfile user;
    user.Name = "Deelnemer" + std::to_string(kMeasuredUser);
    user.Age = 30;

    // The catalogue as the Test page builds it: an empty cache, nothing of
    // either file parsed beforehand.
    std::vector<double> catalogueMs;
    std::string text;
    for (int run = 0; run < kRuns; ++run) {
        plat::ClearProfileCache();
        std::string cache;
        const auto start = Clock::now();
        text = EnsureCatalogue(cache, content, user);
        catalogueMs.push_back(MsSince(start));
    }
    const double catalogue = Median(catalogueMs);
    const TAnswerSnapshot answers = TAnswerSnapshot::Load(user.Name);

    const auto start = Clock::now();
    const int64_t sampleEarned = BaselineWalk(content, user.Name, kBaselineSample);
    const double sampleMs = MsSince(start);
    const double baseline = sampleMs * double(questions) / kBaselineSample;
    const double ratio = baseline / catalogue;

    std::printf("database: %d questions; users.dat: %.1f MB, %d users, %zu answers of %s\n",
                questions, usersMb, kUsers, answers.size(), user.Name.c_str());
    std::printf("catalogue (one read of users.dat): %10.1f ms  (median of %d, %zu characters)\n",
                catalogue, kRuns, text.size());
    std::printf("baseline (users.dat read per answer): %7.1f ms  (%d reads took %.1f ms, %.2f ms "
                "each; points %lld)\n",
                baseline, kBaselineSample, sampleMs, sampleMs / kBaselineSample,
                static_cast<long long>(sampleEarned));
    std::printf("ratio: %.0fx (required at least %.0fx): %s\n", ratio, kRequiredRatio,
                ratio >= kRequiredRatio ? "yes" : "NO");
    return ratio >= kRequiredRatio ? 0 : 2;
}
