#include "exam/stored_answers.h"

#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "users/user_store.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr double kMsPerDay = 86400000.0;

std::string FoldKey(std::string_view key) {
    const std::size_t first = key.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = key.find_last_not_of(kBlanks);
    return plat::AnsiUpper(key.substr(first, last - first + 1));
}

const std::string kNone;

} // namespace

QString UsersFilePath() {
    return plat::ResolvePath("User\\users.dat");
}

std::string ReadAnswer(std::string_view userName, std::string_view questionKey) {
    if (userName.empty() || questionKey.empty())
        return {};
    return plat::ReadProfileString(UsersFilePath(), AnswersSection(userName), questionKey);
}

bool WriteAnswer(std::string_view userName, std::string_view questionKey, std::string_view value) {
    // Without a user the section would be ".Answers", shared by nobody.
    if (userName.empty())
        return false;
    const QString file = plat::ForceDirectories("User\\users.dat");
    if (file.isEmpty())
        return false;
    return plat::EditProfile(
        file,
        [&](plat::TProfileEdit& edit) {
            return edit.Write(AnswersSection(userName), questionKey, value);
        },
        plat::TProfileFileMode::Private);
}

bool SplitHistoryKey(std::string_view key, std::string& questionKey, int& attempt) {
    const std::size_t dot = key.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return false;
    const std::string_view number = key.substr(dot + 1);
    int n = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (error != std::errc() || end != number.data() + number.size() || n < 1)
        return false;
    questionKey = std::string(key.substr(0, dot));
    attempt = n;
    return true;
}

int ArchiveTestAnswers(std::string_view userName, std::string_view testKey) {
    if (userName.empty() || testKey.empty())
        return 0;
    const QString file = plat::ForceDirectories("User\\users.dat");
    if (file.isEmpty())
        return -1;
    const std::string prefix = FoldKey(testKey);
    auto ofTest = [&](std::string_view key) { return FoldKey(key).rfind(prefix, 0) == 0; };
    int attempt = 0;
    const bool written = plat::EditProfile(
        file,
        [&](plat::TProfileEdit& edit) {
            const std::string answers = AnswersSection(userName);
            const std::string history = HistorySection(userName);
            std::vector<std::pair<std::string, std::string>> moving;
            for (auto& entry : edit.Section(answers))
                if (ofTest(entry.first))
                    moving.push_back(std::move(entry));
            if (moving.empty())
                return false; // nothing to write
            int highest = 0;
            for (const auto& [key, value] : edit.Section(history)) {
                std::string question;
                int n = 0;
                if (SplitHistoryKey(key, question, n) && ofTest(question))
                    highest = std::max(highest, n);
            }
            attempt = highest + 1;
            const std::string suffix = "." + std::to_string(attempt);
            for (const auto& [key, value] : moving) {
                if (!edit.Write(history, key + suffix, value))
                    return false;
                edit.DeleteKey(answers, key);
            }
            return true;
        },
        plat::TProfileFileMode::Private);
    if (written)
        return attempt;
    return attempt == 0 ? 0 : -1;
}

double AnswerTime(std::string_view value) {
    return double(AnswerMs(value)) / kMsPerDay;
}

int64_t ElapsedMs(double from, double to) {
    // Day numbers near today carry about a microsecond of rounding; counting
    // in tenths of a millisecond first keeps whole seconds whole.
    const long double tenths = (static_cast<long double>(to) - from) * 864000000.0L;
    if (!(tenths > 0))
        return 0; // negative, zero or NaN
    if (tenths > 9.0e18L)
        return std::numeric_limits<int64_t>::max() / 10;
    return int64_t(std::roundl(tenths)) / 10;
}

std::string AnswerValue(std::string_view answer, double now, int64_t elapsedMs) {
    std::string text(answer.substr(0, kMaxAnswerLength));
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    if (!std::isfinite(now) || now < 0)
        now = 0;
    const double day = std::floor(now);
    const int fraction = std::min(999, int((now - day) * 1000));
    return text + '<' + std::to_string(int64_t(day)) + ',' + std::to_string(fraction) + "><" +
           std::to_string(std::max<int64_t>(0, elapsedMs)) + '>';
}

TAnswerSnapshot::TAnswerSnapshot(const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [key, value] : values)
        values_.try_emplace(FoldKey(key), value); // the first of a repeated key counts
}

TAnswerSnapshot TAnswerSnapshot::Load(std::string_view userName) {
    if (userName.empty())
        return {};
    return TAnswerSnapshot(plat::ReadProfileSection(UsersFilePath(), AnswersSection(userName)));
}

const std::string& TAnswerSnapshot::Value(std::string_view questionKey) const {
    const auto it = values_.find(FoldKey(questionKey));
    return it == values_.end() ? kNone : it->second;
}
