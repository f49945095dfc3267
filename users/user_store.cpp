#include "users/user_store.h"

#include "platform/ansi.h"
#include "platform/datetime.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "platform/profile_numbers.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace {

constexpr std::string_view kUsers = "Users";
constexpr std::string_view kCount = "Count";

// A damaged "Count" could otherwise ask for billions of empty entries.
constexpr int64_t kMaxListEntries = 10000;

// The bytes of the store before a run of key writes. Each write is atomic on
// its own; when one of a run is refused, the earlier ones are undone by
// putting the old bytes back, again by an atomic replace.
class TStoreSnapshot {
public:
    explicit TStoreSnapshot(const QString& file) : file_(file) {
        QFile f(file);
        existed_ = f.exists();
        if (existed_ && f.open(QIODevice::ReadOnly)) {
            bytes_ = f.readAll();
            readable_ = true;
        }
    }

    void Restore() const {
        QFile current(file_);
        if (!existed_) {
            if (current.exists())
                current.remove();
            return;
        }
        // Unreadable before means nothing could have been written.
        if (!readable_ || (current.open(QIODevice::ReadOnly) && current.readAll() == bytes_))
            return;
        current.close();
        QSaveFile out(file_);
        out.setDirectWriteFallback(false);
        if (out.open(QIODevice::WriteOnly) && out.write(bytes_) == bytes_.size())
            out.commit();
        else
            out.cancelWriting();
    }

private:
    QString file_;
    QByteArray bytes_;
    bool existed_ = false;
    bool readable_ = false;
};

std::string ByteText(uint8_t value) {
    return std::to_string(unsigned(value));
}
std::string BoolText(bool value) {
    return value ? "1" : "0";
}

// The keys of a user's data section, in the order they are written.
bool WriteDataKeys(const QString& file, const std::string& section, const TUserProfile& user) {
    const std::pair<std::string_view, std::string> keys[] = {
        {"Gender", BoolText(user.Gender)},       {"Age", ByteText(user.Age)},
        {"HairColor", ByteText(user.HairColor)}, {"EyeColor", ByteText(user.EyeColor)},
        {"ShoeSize", ByteText(user.ShoeSize)},   {"DirectFB", BoolText(user.DirectFB)},
        {"TimeLimQ", BoolText(user.TimeLimQ)},   {"TimeLimQt", ByteText(user.TimeLimQt)},
        {"TimeLimT", BoolText(user.TimeLimT)},   {"TimeLimTt", ByteText(user.TimeLimTt)},
    };
    for (const auto& [key, value] : keys)
        if (!plat::WriteProfileString(file, section, key, value))
            return false;
    return true;
}

bool WriteListKeys(const QString& file, const TUserList& list) {
    const auto n = int64_t(list.size());
    const std::string countText = plat::ReadProfileString(file, kUsers, kCount, "-");
    const auto oldCount = ParseWholeNumber(countText).value_or(0);
    // A new list gets its count line first, as readers of the file expect.
    if (countText == "-" && !plat::WriteProfileString(file, kUsers, kCount, "0"))
        return false;
    auto writeEntry = [&](int64_t i) {
        return plat::WriteProfileString(file, kUsers, std::to_string(i), list[std::size_t(i - 1)]);
    };
    // Entries move up when one is inserted and down when one is removed.
    // Each entry is copied before its old place is overwritten, the count
    // grows only after the new keys exist and shrinks only after the entries
    // moved down, so an interrupted save never drops another user from the
    // list; at worst one shows twice.
    if (n >= oldCount) {
        for (int64_t i = std::max<int64_t>(oldCount, 0) + 1; i <= n; ++i)
            if (!writeEntry(i))
                return false;
        if (!plat::WriteProfileString(file, kUsers, kCount, std::to_string(n)))
            return false;
        for (int64_t i = std::min(n, oldCount); i >= 1; --i)
            if (!writeEntry(i))
                return false;
    } else {
        for (int64_t i = 1; i <= n; ++i)
            if (!writeEntry(i))
                return false;
        if (!plat::WriteProfileString(file, kUsers, kCount, std::to_string(n)))
            return false;
    }
    // Whatever else the section holds (entries past the count, stray keys)
    // goes, as if the section had been written anew.
    std::unordered_set<std::string> wanted = {"COUNT"};
    for (int64_t i = 1; i <= n; ++i)
        wanted.insert(std::to_string(i));
    for (const auto& [key, value] : plat::ReadProfileSection(file, kUsers))
        if (!wanted.count(plat::AnsiUpper(key)) && !plat::DeleteProfileKey(file, kUsers, key))
            return false;
    return true;
}

bool EraseSections(const QString& file, std::string_view name) {
    return plat::EraseProfileSection(file, AnswersSection(name)) &&
           plat::EraseProfileSection(file, DataSection(name));
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

TUserList LoadUserList(const QString& file) {
    TUserList list;
    const auto count = ParseWholeNumber(plat::ReadProfileString(file, kUsers, kCount)).value_or(0);
    const int64_t n = std::clamp<int64_t>(count, 0, kMaxListEntries);
    list.reserve(std::size_t(n));
    for (int64_t i = 1; i <= n; ++i)
        list.push_back(CutShortString(plat::ReadProfileString(file, kUsers, std::to_string(i))));
    SortUserList(list);
    return list;
}

bool SaveUserList(const QString& file, const TUserList& list) {
    const TStoreSnapshot before(file);
    if (WriteListKeys(file, list))
        return true;
    before.Restore();
    return false;
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
    const TStoreSnapshot before(file);
    const std::string section = DataSection(user.Name);
    bool ok = plat::WriteProfileString(file, section, "Pw", user.Pw);
    if (ok && user.Uid.empty())
        user.Uid = MakeUid();
    ok = ok && plat::WriteProfileString(file, section, "Uid", user.Uid) &&
         WriteDataKeys(file, section, user);
    if (!ok)
        before.Restore();
    return ok;
}

bool SaveUser(const QString& file, const TSettingsValues& page, TUserProfile& user,
              std::string& catalogueText) {
    if (TakeSettings(page, user))
        catalogueText.clear();
    return WriteUser(file, user);
}

bool EraseUser(const QString& file, std::string_view name) {
    const TStoreSnapshot before(file);
    if (EraseSections(file, name))
        return true;
    before.Restore();
    return false;
}

bool StoreNewUser(const QString& file, const TUserList& list, const TSettingsValues& page,
                  TUserProfile& user, std::string& catalogueText) {
    const TStoreSnapshot before(file);
    if (SaveUserList(file, list) && SaveUser(file, page, user, catalogueText))
        return true;
    before.Restore();
    return false;
}

bool RemoveStoredUser(const QString& file, std::string_view name, const TUserList& listWithout) {
    const TStoreSnapshot before(file);
    if (EraseSections(file, name) && WriteListKeys(file, listWithout))
        return true;
    before.Restore();
    return false;
}

std::string MakeUid() {
    const double first = plat::Now();
    const double days = std::trunc(first);
    const double second = plat::Now();
    const double fraction = std::fabs(second - std::trunc(second));
    const int thousandths = std::clamp(int(fraction * 1000), 0, 999);
    return std::to_string(int64_t(days)) + std::to_string(thousandths);
}
