#include "exam/stored_answers.h"

#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "users/user_store.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
