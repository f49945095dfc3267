#include "tests/users/user_store_fixture.h"

#include "platform/datetime.h"
#include "platform/profile_numbers.h"

#include <QFile>
#include <optional>
#include <unistd.h>

namespace {

using Section = std::vector<std::pair<std::string, std::string>>;

Section DataOf(const QString& file, std::string_view name) {
    return plat::ReadProfileSection(file, DataSection(name));
}

TEST(ProfileNumbers, DecimalHexAndNoNumber) {
    const std::pair<const char*, std::optional<int64_t>> cases[] = {
        {"42", 42},
        {" 7 ", 7},
        {"+3", 3},
        {"-1", -1},
        {"0x1E", 30},
        {"0X1e", 30},
        {"$ff", 255},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483648LL},
        {"2147483648", {}},
        {"$100000000", {}},
        {"", {}},
        {"yes", {}},
        {"12a", {}},
        {"0x", {}},
        {"$", {}},
        {"1 2", {}},
        {"3.5", {}},
        {"--1", {}},
        {"0xG", {}},
        {"99999999999999999999", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseWholeNumber(text), expected) << text;
}

TEST(ProfileNumbers, BytesKeepTheLowEightBitsAndFlagsAnyNonZero) {
    EXPECT_EQ(ProfileByte("300", 7), 44);
    EXPECT_EQ(ProfileByte("256", 7), 0);
    EXPECT_EQ(ProfileByte("-1", 7), 255);
    EXPECT_EQ(ProfileByte("0x101", 7), 1);
    EXPECT_EQ(ProfileByte("abc", 7), 7);
    EXPECT_TRUE(ProfileBool("5", false));
    EXPECT_TRUE(ProfileBool("-1", false));
    EXPECT_TRUE(ProfileBool("0x100", false)); // non-zero even though its low byte is 0
    EXPECT_FALSE(ProfileBool("0", true));
    EXPECT_FALSE(ProfileBool("yes", false));
    EXPECT_TRUE(ProfileBool("true", true)); // no number: the default
}

TEST_F(UserStoreTest, ListKeepsEmptyEntriesSortedWithoutCase) {
    Put("[Users]\r\nCount=3\r\n1=piet\r\n3=Anna\r\n");
    EXPECT_EQ(LoadUserList(File()), (TUserList{"", "Anna", "piet"}));

    Put("[Users]\r\nCount=4\r\n1=bob\r\n2=Carl\r\n3=Anna\r\n4=BOB\r\n");
    EXPECT_EQ(LoadUserList(File()), (TUserList{"Anna", "bob", "BOB", "Carl"}));
}

TEST_F(UserStoreTest, DamagedOrMissingCountGivesAShortList) {
    EXPECT_TRUE(LoadUserList(File()).empty()); // no file at all
    for (const char* count : {"", "x", "-2", "0"}) {
        Put(QByteArray("[Users]\r\n1=Anna\r\nCount=") + count + "\r\n");
        EXPECT_TRUE(LoadUserList(File()).empty()) << count;
    }
    // A huge count must neither hang nor exhaust memory.
    Put("[Users]\r\nCount=2000000000\r\n1=Anna\r\n");
    const TUserList list = LoadUserList(File());
    ASSERT_FALSE(list.empty());
    EXPECT_LE(list.size(), 10000u);
    EXPECT_EQ(list.back(), "Anna");
}

TEST_F(UserStoreTest, UserWithoutDataSectionLoadsClearedValues) {
    Put("[Users]\r\nCount=1\r\n1=Ghost\r\n");
    TUserProfile user;
    user.Pw = "old";
    user.Age = 30;
    user.TimeLimQt = 50;
    user.TimeLimTt = 0;
    user.DirectFB = true;
    LoadUser(File(), "Ghost", user);
    TUserProfile expected;
    expected.Name = "Ghost";
    EXPECT_EQ(user.Name, expected.Name);
    EXPECT_EQ(user.Pw, "");
    EXPECT_EQ(user.Age, 0);
    EXPECT_FALSE(user.DirectFB);
    EXPECT_EQ(user.TimeLimQt, 10);
    EXPECT_EQ(user.TimeLimTt, 10);
}

TEST_F(UserStoreTest, DataValuesAreReadAsNumbersWithDefaults) {
    Put("[Anna.Data]\r\nPw=  geheim \r\nUid=38870500\r\nGender=5\r\nAge=300\r\nHairColor=$3\r\n"
        "EyeColor=0x2\r\nShoeSize=abc\r\nDirectFB=yes\r\nTimeLimQ= 2\r\nTimeLimQt=nee\r\n"
        "TimeLimT=0\r\nTimeLimTt=0x1E\r\n");
    TUserProfile user;
    LoadUser(File(), "Anna", user);
    EXPECT_EQ(user.Pw, "geheim");
    EXPECT_EQ(user.Uid, "38870500");
    EXPECT_TRUE(user.Gender);
    EXPECT_EQ(user.Age, 44);
    EXPECT_EQ(user.HairColor, 3);
    EXPECT_EQ(user.EyeColor, 2);
    EXPECT_EQ(user.ShoeSize, 0);
    EXPECT_FALSE(user.DirectFB);
    EXPECT_TRUE(user.TimeLimQ);
    EXPECT_EQ(user.TimeLimQt, 10);
    EXPECT_FALSE(user.TimeLimT);
    EXPECT_EQ(user.TimeLimTt, 30);
}

TEST_F(UserStoreTest, LongTextsAreCutWhenTheyEnterTheRecord) {
    const std::string longPw(300, 'p');
    Put(QByteArray("[Anna.Data]\r\nPw=") + longPw.c_str() + "\r\n");
    TUserProfile user;
    LoadUser(File(), std::string(300, 'n'), user);
    EXPECT_EQ(user.Name.size(), 255u);
    LoadUser(File(), "Anna", user);
    EXPECT_EQ(user.Pw, std::string(255, 'p'));
}

TEST_F(UserStoreTest, AgeTypedAs256IsSavedAsZero) {
    TUserProfile user;
    user.Name = "Anna";
    user.Age = 20;
    TSettingsValues page = SettingsOfUser(user);
    page.AgeText = "256";
    std::string catalogue = "cached";
    ASSERT_TRUE(SaveUser(File(), page, user, catalogue));
    EXPECT_EQ(user.Age, 0);
    EXPECT_EQ(catalogue, ""); // a new age group needs new IQ figures
    EXPECT_EQ(plat::ReadProfileString(File(), "Anna.Data", "Age"), "0");
    EXPECT_FALSE(AgeIsGiven("256"));

    // Saving the same age again keeps the cached catalogue.
    page.AgeText = "0";
    catalogue = "cached";
    ASSERT_TRUE(SaveUser(File(), page, user, catalogue));
    EXPECT_EQ(catalogue, "cached");
}

TEST_F(UserStoreTest, NameInOtherLetterCaseReachesTheSameSections) {
    TUserProfile user;
    user.Name = "Anna";
    user.Pw = "a1";
    user.Age = 33;
    ASSERT_TRUE(WriteUser(File(), user));
    ASSERT_TRUE(plat::WriteProfileString(File(), "Anna.Answers", "PSY0001001", "A"));

    TUserProfile other;
    LoadUser(File(), "aNNA", other);
    EXPECT_EQ(other.Name, "aNNA");
    EXPECT_EQ(other.Pw, "a1");
    EXPECT_EQ(other.Age, 33);
    other.Age = 34;
    ASSERT_TRUE(WriteUser(File(), other));
    EXPECT_EQ(plat::ReadProfileSections(File()),
              (std::vector<std::string>{"Anna.Data", "Anna.Answers"}));
    EXPECT_EQ(plat::ReadProfileString(File(), "ANNA.DATA", "age"), "34");

    ASSERT_TRUE(EraseUser(File(), "ANNA"));
    EXPECT_TRUE(plat::ReadProfileSections(File()).empty());
}

class UidTest : public UserStoreTest {
protected:
    void TearDown() override {
        plat::SetClock({});
        UserStoreTest::TearDown();
    }
    static void SetMoment(int hour, int minute) {
        const double at = plat::EncodeDateTime({2006, 6, 2, hour, minute, 0, 0});
        plat::SetClock([at] { return at; });
    }
};

TEST_F(UidTest, MadeFromDayAndThousandthsOfTheDay) {
    SetMoment(12, 0);
    EXPECT_EQ(MakeUid(), "38870500");
    SetMoment(0, 1);
    EXPECT_EQ(MakeUid(), "388700");
    SetMoment(23, 59);
    EXPECT_EQ(MakeUid(), "38870999");
}

TEST_F(UidTest, MadeOnceAndKept) {
    SetMoment(12, 0);
    TUserProfile user;
    user.Name = "Anna";
    ASSERT_TRUE(WriteUser(File(), user));
    EXPECT_EQ(user.Uid, "38870500");
    SetMoment(0, 1);
    ASSERT_TRUE(WriteUser(File(), user));
    EXPECT_EQ(user.Uid, "38870500");
    TUserProfile again;
    LoadUser(File(), "Anna", again);
    EXPECT_EQ(again.Uid, "38870500");
    ASSERT_TRUE(WriteUser(File(), again));
    EXPECT_EQ(plat::ReadProfileString(File(), "Anna.Data", "Uid"), "38870500");
}

TEST_F(UidTest, NewSectionsAndKeysAreAppendedInOrder) {
    SetMoment(12, 0);
    Put("[Users]\r\nCount=1\r\n1=Bob\r\n[Bob.Data]\r\nAge=3\r\nPw=x\r\n\r\n"
        "[Bob.Answers]\r\nPSY0001001=A\r\n");
    TUserProfile bob;
    LoadUser(File(), "Bob", bob);
    bob.Age = 4;
    ASSERT_TRUE(WriteUser(File(), bob));
    TUserProfile carl;
    carl.Name = "Carl";
    carl.Pw = "c";
    carl.Gender = true;
    carl.DirectFB = true;
    carl.TimeLimTt = 200;
    ASSERT_TRUE(WriteUser(File(), carl));
    ASSERT_TRUE(SaveUserList(File(), {"Bob", "Carl"}));
    EXPECT_EQ(Get(), "[Users]\r\nCount=2\r\n1=Bob\r\n2=Carl\r\n"
                     "[Bob.Data]\r\nAge=4\r\nPw=x\r\nUid=38870500\r\nGender=0\r\nHairColor=0\r\n"
                     "EyeColor=0\r\nShoeSize=0\r\nDirectFB=0\r\nTimeLimQ=0\r\nTimeLimQt=10\r\n"
                     "TimeLimT=0\r\nTimeLimTt=10\r\n\r\n"
                     "[Bob.Answers]\r\nPSY0001001=A\r\n"
                     "[Carl.Data]\r\nPw=c\r\nUid=38870500\r\nGender=1\r\nAge=0\r\nHairColor=0\r\n"
                     "EyeColor=0\r\nShoeSize=0\r\nDirectFB=1\r\nTimeLimQ=0\r\nTimeLimQt=10\r\n"
                     "TimeLimT=0\r\nTimeLimTt=200\r\n");
}

TEST_F(UserStoreTest, SavedListHoldsExactlyTheEntries) {
    Put("[Users]\r\nCount=5\r\n1=A\r\n2=B\r\nLast=C\r\n3=C\r\n4=D\r\n5=E\r\n[A.Data]\r\nPw=\r\n");
    ASSERT_TRUE(SaveUserList(File(), {"", "B", "d"}));
    EXPECT_EQ(plat::ReadProfileSection(File(), "Users"),
              (Section{{"Count", "3"}, {"1", ""}, {"2", "B"}, {"3", "d"}}));
    EXPECT_EQ(plat::ReadProfileString(File(), "A.Data", "Pw", "gone"), "");
    EXPECT_EQ(LoadUserList(File()), (TUserList{"", "B", "d"}));

    ASSERT_TRUE(SaveUserList(File(), {}));
    EXPECT_EQ(plat::ReadProfileSection(File(), "Users"), (Section{{"Count", "0"}}));
}

TEST_F(UserStoreTest, OddNameReachesItsOwnSectionsOnly) {
    const std::string odd = " Jan]=;x ";
    const std::vector<std::string> names = {odd, "Jan", "Jan]=;x", " Jan", "\"Q\""};
    for (std::size_t i = 0; i < names.size(); ++i) {
        TUserProfile user;
        user.Name = names[i];
        user.Pw = " pw" + std::to_string(i) + " ";
        user.Age = uint8_t(20 + i);
        ASSERT_TRUE(WriteUser(File(), user)) << names[i];
        ASSERT_TRUE(
            plat::WriteProfileString(File(), AnswersSection(names[i]), "K", std::to_string(i)));
    }
    TUserList list = names;
    SortUserList(list);
    ASSERT_TRUE(SaveUserList(File(), list));
    EXPECT_TRUE(Get().startsWith("[ Jan]=;x .Data]\r\nPw=\" pw0 \"\r\n"));
    EXPECT_EQ(LoadUserList(File()), list);

    for (std::size_t i = 0; i < names.size(); ++i) {
        TUserProfile user;
        LoadUser(File(), names[i], user);
        EXPECT_EQ(user.Pw, " pw" + std::to_string(i) + " ") << names[i];
        EXPECT_EQ(user.Age, 20 + i) << names[i];
    }

    ASSERT_TRUE(EraseUser(File(), odd));
    EXPECT_TRUE(DataOf(File(), odd).empty());
    EXPECT_TRUE(plat::ReadProfileSection(File(), AnswersSection(odd)).empty());
    for (std::size_t i = 1; i < names.size(); ++i) {
        TUserProfile user;
        LoadUser(File(), names[i], user);
        EXPECT_EQ(user.Age, 20 + i) << names[i];
        EXPECT_EQ(plat::ReadProfileString(File(), AnswersSection(names[i]), "K"),
                  std::to_string(i));
    }
}

class FailedWriteTest : public UserStoreTest {
protected:
    static constexpr const char* kBefore =
        "[Users]\r\nCount=1\r\n1=Anna\r\n[Anna.Data]\r\nPw=a\r\nAge=20\r\n"
        "[Anna.Answers]\r\nPSY0001001=A\r\n";

    // Fails the n-th replace of the file from now on (1 = the first).
    static void FailWriteNumber(int n) {
        auto count = std::make_shared<int>(0);
        plat::detail::SetProfileWriteHook([count, n](plat::detail::ProfileWriteStage stage) {
            return stage != plat::detail::ProfileWriteStage::Synced || ++*count != n;
        });
    }
};

// Every change of the store is one replace of the file; when that replace
// fails, nothing of the change reaches the file.
TEST_F(FailedWriteTest, EachChangeIsOneReplaceAndAFailedOneLeavesTheFileAsItWas) {
    int replaces = 0;
    plat::detail::SetProfileWriteHook([&](plat::detail::ProfileWriteStage stage) {
        replaces += stage == plat::detail::ProfileWriteStage::Synced;
        return true;
    });
    Put(kBefore);
    TUserProfile user;
    LoadUser(File(), "Anna", user);
    user.Pw = "new";
    user.Age = 21;
    user.TimeLimTt = 99;
    EXPECT_TRUE(WriteUser(File(), user));
    EXPECT_EQ(replaces, 1);
    TUserProfile bob;
    bob.Name = "Bob";
    std::string catalogue = "x";
    EXPECT_EQ(StoreNewUser(File(), SettingsOfUser(bob), bob, catalogue), TAddUserResult::Added);
    EXPECT_EQ(replaces, 2);
    EXPECT_TRUE(RemoveStoredUser(File(), "Bob"));
    EXPECT_EQ(replaces, 3);
    plat::detail::SetProfileWriteHook({});

    const std::function<bool()> changes[] = {
        [&] { return WriteUser(File(), user); },
        [&] {
            return SaveUserList(File(), {"Anna", "Bob", "Carl"});
        },
        [&] { return EraseUser(File(), "Anna"); },
        [&] { return RemoveStoredUser(File(), "Anna"); },
        [&] {
            TUserProfile carl;
            carl.Name = "Carl";
            std::string text = "kept";
            const auto result = StoreNewUser(File(), SettingsOfUser(carl), carl, text);
            EXPECT_TRUE(carl.Uid.empty());
            EXPECT_EQ(text, "kept");
            return result == TAddUserResult::Added;
        },
    };
    user.Age = 44;
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        Put(kBefore);
        FailWriteNumber(1);
        EXPECT_FALSE(changes[i]()) << i;
        plat::detail::SetProfileWriteHook({});
        EXPECT_EQ(Get().toStdString(), kBefore) << i;
        EXPECT_EQ(user.Age, 44);
        EXPECT_EQ(user.TimeLimTt, 99);
    }
}

TEST_F(FailedWriteTest, ReadOnlyFileOrMissingFolderIsReported) {
    Put(kBefore);
    TUserProfile user;
    LoadUser(File(), "Anna", user);
    user.Age = 50;
    if (::geteuid() != 0) { // the super-user may write read-only files
        QFile::setPermissions(File(), QFile::ReadOwner | QFile::ReadGroup);
        EXPECT_FALSE(WriteUser(File(), user));
        EXPECT_FALSE(SaveUserList(File(), {"Bob"}));
        EXPECT_EQ(Get().toStdString(), kBefore);
        EXPECT_EQ(user.Age, 50);
        QFile::setPermissions(File(), QFile::ReadOwner | QFile::WriteOwner);
    }

    const QString elsewhere = dir_.Path() + "Missing/users.dat";
    EXPECT_FALSE(WriteUser(elsewhere, user));
    EXPECT_FALSE(QFile::exists(elsewhere));
    EXPECT_EQ(WriteErrorText(elsewhere), "Unable to write to " + elsewhere);
}

} // namespace

TEST_F(UserStoreTest, RemovingAUserTakesTheHistoryOfRetakenTestsAlong) {
    Put("[Users]\r\nCount=2\r\n1=Anna\r\n2=Bob\r\n[Anna.Data]\r\nPw=a\r\n"
        "[Anna.Answers]\r\nPSY0001001=A\r\n[anna.history]\r\nPSY0001001.1=B\r\n"
        "[Bob.History]\r\nPSY0001001.1=C\r\n");
    ASSERT_TRUE(RemoveStoredUser(File(), "ANNA"));
    EXPECT_EQ(plat::ReadProfileSections(File()),
              (std::vector<std::string>{"Users", "Bob.History"}));
    EXPECT_EQ(LoadUserList(File()), (TUserList{"Bob"}));
    EXPECT_EQ(HistorySection("Bob"), "Bob.History");
}
