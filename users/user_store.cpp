#include "users/user_store.h"

#include "platform/ansi.h"
#include "platform/datetime.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "platform/profile_numbers.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <functional>
#include <sys/stat.h>
#include <unordered_set>
#include <vector>

namespace {

constexpr std::string_view kUsers = "Users";
constexpr std::string_view kCount = "Count";

// A damaged "Count" could otherwise ask for billions of empty entries.
constexpr int64_t kMaxListEntries = 10000;

// Passwords are stored in plain text: a new store is for its owner only.
bool EditStore(const QString& file, const std::function<bool(plat::TProfileEdit&)>& change) {
    return plat::EditProfile(file, change, plat::TProfileFileMode::Private);
}

std::string ByteText(uint8_t value) {
    return std::to_string(unsigned(value));
}
std::string BoolText(bool value) {
    return value ? "1" : "0";
}

// The keys of a user's data section, in the order they are written.
bool PutUser(plat::TProfileEdit& edit, const TUserProfile& user, const std::string& uid) {
    const std::string section = DataSection(user.Name);
    const std::pair<std::string_view, std::string> keys[] = {
        {"Pw", user.Pw},
        {"Uid", uid},
        {"Gender", BoolText(user.Gender)},
        {"Age", ByteText(user.Age)},
        {"HairColor", ByteText(user.HairColor)},
        {"EyeColor", ByteText(user.EyeColor)},
        {"ShoeSize", ByteText(user.ShoeSize)},
        {"DirectFB", BoolText(user.DirectFB)},
        {"TimeLimQ", BoolText(user.TimeLimQ)},
        {"TimeLimQt", ByteText(user.TimeLimQt)},
        {"TimeLimT", BoolText(user.TimeLimT)},
        {"TimeLimTt", ByteText(user.TimeLimTt)},
    };
    for (const auto& [key, value] : keys)
        if (!edit.Write(section, key, value))
            return false;
    return true;
}

template <typename ReadKey> TUserList ReadList(ReadKey read) {
    TUserList list;
    const auto count = ParseWholeNumber(read(kCount)).value_or(0);
    const int64_t n = std::clamp<int64_t>(count, 0, kMaxListEntries);
    list.reserve(std::size_t(n));
    for (int64_t i = 1; i <= n; ++i)
        list.push_back(CutShortString(read(std::to_string(i))));
    SortUserList(list);
    return list;
}

TUserList ListIn(const plat::TProfileEdit& edit) {
    return ReadList([&](std::string_view key) { return edit.Read(kUsers, key); });
}

// "Users" as if written anew: "Count", then "1" to "N", and nothing else.
// Keys already there keep their place in the file.
bool PutList(plat::TProfileEdit& edit, const TUserList& list) {
    if (!edit.Write(kUsers, kCount, std::to_string(list.size())))
        return false;
    std::unordered_set<std::string> wanted = {"COUNT"};
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!edit.Write(kUsers, std::to_string(i + 1), list[i]))
            return false;
        wanted.insert(std::to_string(i + 1));
    }
    for (const auto& [key, value] : edit.Section(kUsers))
        if (!wanted.count(plat::AnsiUpper(key)))
            edit.DeleteKey(kUsers, key);
    return true;
}

void EraseSections(plat::TProfileEdit& edit, std::string_view name) {
    edit.EraseSection(AnswersSection(name));
    edit.EraseSection(HistorySection(name));
    edit.EraseSection(DataSection(name));
}

} // namespace

QString UsersFile() {
    return plat::ResolvePath("User\\users.dat");
}

QString WriteErrorText(const QString& file) {
    return QStringLiteral("Unable to write to ") + file;
}

std::string DataSection(std::string_view name) {
    return std::string(name) + ".Data";
}
std::string AnswersSection(std::string_view name) {
    return std::string(name) + ".Answers";
}
std::string HistorySection(std::string_view name) {
    return std::string(name) + ".History";
}

TUserList LoadUserList(const QString& file) {
    return ReadList(
        [&](std::string_view key) { return plat::ReadProfileString(file, kUsers, key); });
}

bool SaveUserList(const QString& file, const TUserList& list) {
    return EditStore(file, [&](plat::TProfileEdit& edit) { return PutList(edit, list); });
}

void LoadUser(const QString& file, std::string_view name, TUserProfile& user) {
    ClearUser(user);
    user.Name = CutShortString(name);
    const std::string section = DataSection(user.Name);
    auto text = [&](std::string_view key) { return plat::ReadProfileString(file, section, key); };
    user.Pw = CutShortString(text("Pw"));
    user.Uid = CutShortString(text("Uid"));
    user.Gender = ProfileBool(text("Gender"), user.Gender);
    user.Age = ProfileByte(text("Age"), user.Age);
    user.HairColor = ProfileByte(text("HairColor"), user.HairColor);
    user.EyeColor = ProfileByte(text("EyeColor"), user.EyeColor);
    user.ShoeSize = ProfileByte(text("ShoeSize"), user.ShoeSize);
    user.DirectFB = ProfileBool(text("DirectFB"), user.DirectFB);
    user.TimeLimQ = ProfileBool(text("TimeLimQ"), user.TimeLimQ);
    user.TimeLimQt = ProfileByte(text("TimeLimQt"), user.TimeLimQt);
    user.TimeLimT = ProfileBool(text("TimeLimT"), user.TimeLimT);
    user.TimeLimTt = ProfileByte(text("TimeLimTt"), user.TimeLimTt);
}

bool WriteUser(const QString& file, TUserProfile& user) {
    const std::string uid = user.Uid.empty() ? MakeUid() : user.Uid;
    if (!EditStore(file, [&](plat::TProfileEdit& edit) { return PutUser(edit, user, uid); }))
        return false;
    user.Uid = uid;
    return true;
}

bool SaveUser(const QString& file, const TSettingsValues& page, TUserProfile& user,
              std::string& catalogueText) {
    if (TakeSettings(page, user))
        catalogueText.clear();
    return WriteUser(file, user);
}

bool EraseUser(const QString& file, std::string_view name) {
    return EditStore(file, [&](plat::TProfileEdit& edit) {
        EraseSections(edit, name);
        return true;
    });
}

TAddUserResult StoreNewUser(const QString& file, const TSettingsValues& page, TUserProfile& user,
                            std::string& catalogueText) {
    TUserProfile added = user;
    const bool ageChanged = TakeSettings(page, added);
    const std::string uid = added.Uid.empty() ? MakeUid() : added.Uid;
    bool taken = false;
    const bool stored = EditStore(file, [&](plat::TProfileEdit& edit) {
        // The list on disk, not the one shown: another copy of the program
        // may have added or removed users since it was read.
        TUserList list = ListIn(edit);
        if (FindUserEntry(list, added.Name) >= 0) {
            taken = true;
            return false;
        }
        InsertUserEntry(list, added.Name);
        return PutList(edit, list) && PutUser(edit, added, uid);
    });
    if (taken)
        return TAddUserResult::NameTaken;
    if (!stored)
        return TAddUserResult::WriteFailed;
    added.Uid = uid;
    user = added;
    if (ageChanged)
        catalogueText.clear();
    return TAddUserResult::Added;
}

bool RemoveStoredUser(const QString& file, std::string_view name) {
    return EditStore(file, [&](plat::TProfileEdit& edit) {
        EraseSections(edit, name);
        TUserList list = ListIn(edit);
        // Sections are found without regard to case, so every entry that
        // leads to them goes too.
        std::erase_if(list,
                      [&](const std::string& entry) { return plat::AnsiSameText(entry, name); });
        return PutList(edit, list);
    });
}

QString PrepareUserStore() {
    const QString file = UsersFile();
    const QByteArray dir = QFile::encodeName(plat::ResolvePath("User\\"));
    // Created for its owner only; an existing folder keeps its mode, which
    // accounts sharing one installation may rely on.
    if (::mkdir(dir.constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    plat::RemoveStaleProfileTemps(file);
    plat::RemoveStaleProfileTemps(plat::ResolvePath("User\\iusers.dat"));
    return file;
}

std::string MakeUid() {
    const double first = plat::Now();
    const double days = std::trunc(first);
    const double second = plat::Now();
    const double fraction = std::fabs(second - std::trunc(second));
    const int thousandths = std::clamp(int(fraction * 1000), 0, 999);
    return std::to_string(int64_t(days)) + std::to_string(thousandths);
}
