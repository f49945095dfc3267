#include "tests/users/user_store_fixture.h"

#include "platform/ansi.h"
#include "users/settings_values.h"

#include <QFile>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// A writer process adds, saves and removes users and writes answers without
// pause and is killed at random moments. It logs each change before it
// starts ("B ...") and once the store confirmed it ("D"). After every kill
// the store must hold exactly the confirmed changes, plus perhaps the one in
// flight, whole.
namespace {

struct UserState {
    int age = 0;
    int minutes = 10;
    std::map<std::string, std::string> answers;
    bool operator==(const UserState&) const = default;
};
using StoreModel = std::map<std::string, UserState>;

struct Op {
    char kind = 0; // A(dd), S(ave), R(emove), W(rite answer)
    std::string name, key, value;
    int age = 0, minutes = 0;
};

std::string Encode(const Op& op) {
    std::ostringstream out;
    out << op.kind << ' ' << op.name << ' ' << op.age << ' ' << op.minutes << ' '
        << (op.key.empty() ? "-" : op.key) << ' ' << (op.value.empty() ? "-" : op.value);
    return out.str();
}

Op Decode(const std::string& line) {
    Op op;
    std::istringstream in(line);
    in >> op.kind >> op.name >> op.age >> op.minutes >> op.key >> op.value;
    return op;
}

void Apply(StoreModel& model, const Op& op) {
    switch (op.kind) {
    case 'A':
    case 'S':
        model[op.name].age = op.age;
        model[op.name].minutes = op.minutes;
        break;
    case 'R':
        model.erase(op.name);
        break;
    case 'W':
        model[op.name].answers[op.key] = op.value;
        break;
    }
}

TUserProfile Profile(const std::string& name, int age, int minutes) {
    TUserProfile user;
    user.Name = name;
    user.Pw = "pw" + name;
    user.Age = uint8_t(age);
    user.TimeLimTt = uint8_t(minutes);
    return user;
}

bool Perform(const QString& file, const Op& op) {
    switch (op.kind) {
    case 'A': {
        TUserProfile user = Profile(op.name, 0, 10);
        std::string catalogue;
        const TSettingsValues page = SettingsOfUser(Profile(op.name, op.age, op.minutes));
        return StoreNewUser(file, page, user, catalogue) == TAddUserResult::Added;
    }
    case 'S': {
        TUserProfile user;
        LoadUser(file, op.name, user);
        user.Age = uint8_t(op.age);
        user.TimeLimTt = uint8_t(op.minutes);
        return WriteUser(file, user);
    }
    case 'R':
        return RemoveStoredUser(file, op.name);
    case 'W':
        return plat::WriteProfileString(file, AnswersSection(op.name), op.key, op.value);
    }
    return false;
}

// The writer: runs until it is killed.
[[noreturn]] void Writer(const QString& file, const std::string& log, unsigned seed, int round) {
    const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    std::mt19937 random(seed);
    TUserList names = LoadUserList(file);
    for (int n = 0;; ++n) {
        Op op;
        const int pick = int(random() % 10);
        if (names.size() < 3 || pick == 0) {
            op.kind = 'A';
            op.name = "U" + std::to_string(round) + "x" + std::to_string(n);
        } else {
            op.name = names[random() % names.size()];
            op.kind = pick == 1 ? 'R' : pick < 5 ? 'S' : 'W';
        }
        op.age = int(random() % 90) + 10;
        op.minutes = int(random() % 200) + 1;
        if (op.kind == 'W') {
            op.key = "PSY" + std::to_string(random() % 20);
            op.value = "r" + std::to_string(round) + "n" + std::to_string(n);
        }
        const std::string begin = "B " + Encode(op) + "\n";
        if (::write(fd, begin.data(), begin.size()) != ssize_t(begin.size()) || !Perform(file, op))
            ::_exit(3);
        if (::write(fd, "D\n", 2) != 2)
            ::_exit(3);
        if (op.kind == 'A')
            InsertUserEntry(names, op.name);
        if (op.kind == 'R')
            std::erase(names, op.name);
    }
}

// What the store holds, read the way the program reads it, or a text that
// says why it is damaged.
std::string ReadStore(const QString& file, StoreModel& out) {
    plat::ClearProfileCache();
    out.clear();
    const TUserList list = LoadUserList(file);
    const std::string count = plat::ReadProfileString(file, "Users", "Count");
    if (plat::ReadProfileSection(file, "Users").size() != list.size() + 1 ||
        count != std::to_string(list.size()))
        return "the list's keys do not match its count " + count;
    for (const std::string& name : list) {
        if (name.empty() || out.count(name))
            return "empty or duplicate list entry '" + name + "'";
        TUserProfile user;
        LoadUser(file, name, user);
        if (user.Pw != "pw" + name || user.Uid.empty() ||
            plat::ReadProfileSection(file, DataSection(name)).size() != 12)
            return "incomplete record of " + name;
        UserState& state = out[name];
        state.age = user.Age;
        state.minutes = user.TimeLimTt;
        for (const auto& [key, value] : plat::ReadProfileSection(file, AnswersSection(name)))
            state.answers[key] = value;
    }
    for (const std::string& section : plat::ReadProfileSections(file)) {
        const std::size_t dot = section.rfind('.');
        if (section != "Users" && (dot == std::string::npos || !out.count(section.substr(0, dot))))
            return "section of a user who is not listed: " + section;
    }
    return {};
}

std::vector<std::string> LogLines(const std::string& log) {
    std::vector<std::string> lines;
    QFile f(QString::fromStdString(log));
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& line : f.readAll().split('\n'))
            if (!line.isEmpty())
                lines.push_back(line.toStdString());
    return lines;
}

TEST_F(UserStoreTest, KilledWriterLosesNoConfirmedChangeAndLeavesNoHalfChange) {
    const std::string log = (dir_.Path() + "writes.log").toStdString();
    StoreModel model;
    for (const char* name : {"Anna", "Bob", "Carl"}) {
        ASSERT_TRUE(Perform(File(), Op{'A', name, {}, {}, 30, 10}));
        Apply(model, Op{'A', name, {}, {}, 30, 10});
    }
    std::mt19937 random(20061207);
    std::uniform_int_distribution<int> delayUs(2000, 40000);
    constexpr int kKills = 220;
    int inFlight = 0, inFlightApplied = 0, confirmed = 0, tempsLeft = 0;
    for (int round = 0; round < kKills; ++round) {
        ::unlink(log.c_str());
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            Writer(File(), log, unsigned(random()), round);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself in round " << round;

        std::optional<Op> pending;
        for (const std::string& line : LogLines(log)) {
            if (line == "D") {
                ASSERT_TRUE(pending.has_value());
                Apply(model, *pending);
                pending.reset();
                ++confirmed;
            } else {
                pending = Decode(line.substr(2));
            }
        }
        StoreModel found;
        const std::string damage = ReadStore(File(), found);
        ASSERT_EQ(damage, "") << "round " << round;
        if (pending) {
            ++inFlight;
            StoreModel with = model;
            Apply(with, *pending);
            if (found == with && !(found == model)) {
                model = with;
                ++inFlightApplied;
            }
        }
        ASSERT_TRUE(found == model)
            << "round " << round << ": the store differs from the "
            << "confirmed changes (in flight: " << (pending ? Encode(*pending) : "nothing") << ")";

        // What the next start does: temporary files of the dead writer go.
        tempsLeft += plat::RemoveStaleProfileTemps(File());
        const QStringList left =
            QDir(dir_.Path() + "User").entryList({".users.dat.~*"}, QDir::Files | QDir::Hidden);
        ASSERT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    }
    EXPECT_GT(confirmed, 0);
    EXPECT_GT(inFlight, 0);
    std::printf("%d kills, %d confirmed changes, %d killed mid-change (%d of them complete), "
                "%d temporary files removed at the next start\n",
                kKills, confirmed, inFlight, inFlightApplied, tempsLeft);
}

// Two copies of the program add users at the same time, each from the list
// it read at its start: neither may drop the other's users.
TEST_F(UserStoreTest, CopiesAddingUsersAtOnceKeepEachOthersUsers) {
    constexpr int kCopies = 2;
    constexpr int kUsersEach = 25;
    std::vector<pid_t> children;
    for (int c = 0; c < kCopies; ++c) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int u = 0; u < kUsersEach; ++u)
                ok &= Perform(
                    File(),
                    Op{'A', "C" + std::to_string(c) + "u" + std::to_string(u), {}, {}, 20, 5});
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    StoreModel found;
    ASSERT_EQ(ReadStore(File(), found), "");
    EXPECT_EQ(found.size(), std::size_t(kCopies * kUsersEach));
}

TEST_F(UserStoreTest, AddAndRemoveMergeWithTheListOnDisk) {
    // An unsorted list on disk, with a user this copy never saw.
    Put("[Users]\r\nCount=2\r\n1=Zoe\r\n2=Bob\r\n");
    TUserProfile anna = Profile("Anna", 0, 10);
    std::string catalogue;
    ASSERT_EQ(StoreNewUser(File(), SettingsOfUser(anna), anna, catalogue), TAddUserResult::Added);
    EXPECT_EQ(LoadUserList(File()), (TUserList{"Anna", "Bob", "Zoe"}));

    // The name is on disk in other letter case: nothing is written over.
    TUserProfile other = Profile("BOB", 0, 10);
    other.Pw = "other";
    const QByteArray before = Get();
    EXPECT_EQ(StoreNewUser(File(), SettingsOfUser(other), other, catalogue),
              TAddUserResult::NameTaken);
    EXPECT_EQ(Get(), before);
    EXPECT_TRUE(other.Uid.empty());

    ASSERT_TRUE(RemoveStoredUser(File(), "zoe"));
    EXPECT_EQ(LoadUserList(File()), (TUserList{"Anna", "Bob"}));
    EXPECT_EQ(plat::ReadProfileString(File(), "Users", "3", "-"), "-");
}

TEST_F(UserStoreTest, StoreAndItsFolderAreMadeForTheirOwnerOnly) {
    ASSERT_TRUE(QDir(dir_.Path() + "User").removeRecursively());
    const mode_t oldMask = ::umask(022);
    const QString file = PrepareUserStore();
    TUserProfile anna = Profile("Anna", 0, 10);
    std::string catalogue;
    const auto added = StoreNewUser(file, SettingsOfUser(anna), anna, catalogue);
    ::umask(oldMask);
    ASSERT_EQ(file, File());
    ASSERT_EQ(added, TAddUserResult::Added);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(dir_.Path() + "User"), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(QFile::encodeName(File()), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // What a killed copy left while saving or downloading goes at the next
    // start; the files of a running copy stay.
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
    const QString gone = QString::number(dead);
    const QString live = QString::number(::getpid());
    for (const QString& name :
         {".users.dat.~" + gone + "-3", ".iusers.dat.~" + gone + "-aB3xYz",
          ".iusers.dat.~" + gone + "-aB3xYz.Q1w2E3", ".iusers.dat.~" + live + "-kEePme"})
        dir_.Write("User/" + name, "partial");
    PrepareUserStore();
    EXPECT_EQ(QDir(dir_.Path() + "User").entryList({".*.~*"}, QDir::Files | QDir::Hidden),
              QStringList{".iusers.dat.~" + live + "-kEePme"});

    // A folder shared on purpose keeps its mode.
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.Path() + "User"), 0770), 0);
    PrepareUserStore();
    ASSERT_EQ(::stat(QFile::encodeName(dir_.Path() + "User"), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0770u);
}

} // namespace
