#include "server/upload_parser.h"

#include "platform/ansi.h"
#include "platform/profile_file.h"
#include "platform/profile_numbers.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr std::size_t kMaxShortString = 255;
// The program caps a damaged "Count" the same way.
constexpr int64_t kMaxListedUsers = 10000;

constexpr std::string_view kDataSuffix = ".Data";
constexpr std::string_view kAnswersSuffix = ".Answers";

// A name needs one character from "!" to "}"; others cannot be logged on.
bool IsValidName(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 33 && u <= 125;
    });
}

bool EndsWithFolded(std::string_view text, std::string_view suffix) {
    return text.size() > suffix.size() &&
           plat::AnsiUpper(text.substr(text.size() - suffix.size())) == plat::AnsiUpper(suffix);
}

class TUserCollector {
public:
    void Offer(std::string_view name) {
        name = name.substr(0, kMaxShortString);
        if (!IsValidName(name) || !seen_.insert(plat::AnsiUpper(name)).second)
            return;
        names_.emplace_back(name);
    }
    const std::vector<std::string>& Names() const { return names_; }

private:
    std::vector<std::string> names_;
    std::unordered_set<std::string> seen_;
};

TUploadedUser ReadUser(const plat::TProfileText& text, const std::string& name) {
    TUploadedUser user;
    user.Name = name;
    const std::string data = name + std::string(kDataSuffix);
    user.Uid = text.Read(data, "Uid").substr(0, kMaxShortString);
    user.Female = ProfileBool(text.Read(data, "Gender"), false);
    user.Age = ProfileByte(text.Read(data, "Age"), 0);
    for (auto& [key, value] : text.Section(name + std::string(kAnswersSuffix)))
        if (!value.empty()) // a key without a value is no answer
            user.Answers.emplace_back(std::move(key), std::move(value));
    return user;
}

} // namespace

std::string NormalizedLines(std::string_view body) {
    if (body.substr(0, 3) == "\xEF\xBB\xBF")
        body.remove_prefix(3);
    std::string out;
    out.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\r') {
            out += body[i];
            continue;
        }
        out += '\n';
        if (i + 1 < body.size() && body[i + 1] == '\n')
            ++i;
    }
    return out;
}

std::vector<TUploadedUser> ParseUpload(std::string_view body) {
    const plat::TProfileText text(NormalizedLines(body));
    TUserCollector users;
    const int64_t count = std::clamp<int64_t>(
        ParseWholeNumber(text.Read("Users", "Count")).value_or(0), 0, kMaxListedUsers);
    for (int64_t i = 1; i <= count; ++i)
        users.Offer(text.Read("Users", std::to_string(i)));
    for (const std::string& section : text.Sections()) {
        if (EndsWithFolded(section, kDataSuffix))
            users.Offer(std::string_view(section).substr(0, section.size() - kDataSuffix.size()));
        else if (EndsWithFolded(section, kAnswersSuffix))
            users.Offer(
                std::string_view(section).substr(0, section.size() - kAnswersSuffix.size()));
    }
    std::vector<TUploadedUser> result;
    result.reserve(users.Names().size());
    for (const std::string& name : users.Names())
        result.push_back(ReadUser(text, name));
    return result;
}
