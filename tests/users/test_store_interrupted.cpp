#include "tests/users/user_store_fixture.h"

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// A save that dies part-way (power cut, killed program) leaves each key with
// its old or its new value; these tests kill a child process that saves.
namespace {

using plat::detail::ProfileWriteStage;

// Runs `save` in a child process that dies at the `n`-th file replace, after
// the new file is complete but before it takes the old one's place.
void SaveAndDieAtWrite(int n, const std::function<void()>& save) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        int count = 0;
        plat::detail::SetProfileWriteHook([&](ProfileWriteStage stage) {
            if (stage == ProfileWriteStage::Synced && ++count == n)
                ::_exit(0);
            return true;
        });
        save();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    plat::ClearProfileCache();
}

struct ListChange {
    TUserList before, after;
};

TEST_F(UserStoreTest, InterruptedListSaveNeverDropsAKeptUser) {
    const ListChange changes[] = {
        {{"Bob", "Carl"}, {"Anna", "Bob", "Carl"}},  // insert first
        {{"Anna", "Carl"}, {"Anna", "Bob", "Carl"}}, // insert in the middle
        {{"Anna", "Bob"}, {"Anna", "Bob", "Carl"}},  // insert last
        {{"Anna", "Bob", "Carl"}, {"Bob", "Carl"}},  // remove first
        {{"Anna", "Bob", "Carl"}, {"Anna", "Carl"}}, // remove in the middle
        {{}, {"Anna"}},
        {{"Anna"}, {}},
    };
    for (const ListChange& change : changes) {
        for (int n = 1; n <= 6; ++n) {
            Put("");
            ASSERT_TRUE(SaveUserList(File(), change.before));
            SaveAndDieAtWrite(n, [&] { SaveUserList(File(), change.after); });
            const TUserList loaded = LoadUserList(File());
            for (const std::string& name : change.before)
                if (FindUserEntry(change.after, name) >= 0) {
                    EXPECT_GE(FindUserEntry(loaded, name), 0)
                        << name << " lost when dying at write " << n;
                }
        }
    }
}

// Two states the child saves in turn; after any kill every key must hold the
// value of one of them.
struct StoreState {
    TUserList list;
    std::string annaPw;
    uint8_t annaAge;
};

const StoreState kStateA{{"Anna", "Bob"}, "a", 20};
const StoreState kStateB{{"Anna", "Bob", "Carl"}, "b", 30};

void SaveState(const QString& file, const StoreState& state) {
    SaveUserList(file, state.list);
    TUserProfile anna;
    anna.Name = "Anna";
    anna.Uid = "1";
    anna.Pw = state.annaPw;
    anna.Age = state.annaAge;
    WriteUser(file, anna);
}

bool OneOf(const std::string& value, std::initializer_list<const char*> allowed) {
    for (const char* a : allowed)
        if (value == a)
            return true;
    return false;
}

TEST_F(UserStoreTest, KilledWhileSavingLeavesOldOrNewValues) {
    SaveState(File(), kStateA);
    std::mt19937 random(20060602);
    std::uniform_int_distribution<int> delayUs(0, 15000);
    for (int round = 0; round < 200; ++round) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (;;) {
                SaveState(File(), kStateB);
                SaveState(File(), kStateA);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        plat::ClearProfileCache();

        auto users = [&](const char* key) {
            return plat::ReadProfileString(File(), "Users", key, "-");
        };
        auto anna = [&](const char* key) {
            return plat::ReadProfileString(File(), "Anna.Data", key, "-");
        };
        ASSERT_TRUE(OneOf(users("Count"), {"2", "3"})) << round;
        ASSERT_EQ(users("1"), "Anna") << round;
        ASSERT_EQ(users("2"), "Bob") << round;
        ASSERT_TRUE(OneOf(users("3"), {"-", "Carl"})) << round;
        ASSERT_TRUE(OneOf(anna("Pw"), {"a", "b"})) << round;
        ASSERT_TRUE(OneOf(anna("Age"), {"20", "30"})) << round;
        ASSERT_EQ(anna("Uid"), "1") << round;
        ASSERT_EQ(anna("TimeLimTt"), "10") << round;
        const TUserList list = LoadUserList(File());
        ASSERT_GE(FindUserEntry(list, "Anna"), 0);
        ASSERT_GE(FindUserEntry(list, "Bob"), 0);
    }
}

} // namespace
