// Uploads in, statistics out, on a real SQLite store, with percentages worked
// out by hand.
#include "server/participant_hash.h"
#include "server/statistics_text.h"
#include "tests/server/server_fixture.h"

#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

using namespace servertest;

namespace {

// Anna (woman, 34), Bea (woman, 15), Cor (man, 20), Dirk (man, age never given).
std::vector<User> FourUsers() {
    return {
        {"Anna", "4711", 1, 34, {{kQ1, Value("c")}, {kQ2, Value("a")}, {kQ3, Value("a")}}},
        {"Bea", "4712", 1, 15, {{kQ1, Value("b")}, {kQ2, Value("ab")}}},
        {"Cor", "4713", 0, 20, {{kQ1, Value("c")}, {kQ3, "<46000,500><0>"}}},
        {"Dirk", "4714", 0, 0, {{kQ1, Value("c")}}},
    };
}

const std::string kFourUsersStatistics = "[Women.Answers]\r\n"
                                         "reek001001=50\r\nreek001002=50\r\nreek001003=100\r\n\r\n"
                                         "[Men.Answers]\r\n"
                                         "reek001001=100\r\nreek001003=0\r\n\r\n"
                                         "[Age 14-16.Answers]\r\n"
                                         "reek001001=0\r\nreek001002=100\r\n\r\n"
                                         "[Age 17-21.Answers]\r\n"
                                         "reek001001=100\r\nreek001003=0\r\n\r\n"
                                         "[Age 22-30.Answers]\r\n\r\n"
                                         "[Age >30.Answers]\r\n"
                                         "reek001001=100\r\nreek001002=0\r\nreek001003=100\r\n\r\n"
                                         "[Counts]\r\n"
                                         "reek001001=4\r\nreek001002=2\r\nreek001003=2\r\n\r\n"
                                         "[Choices]\r\n"
                                         "reek001001=b=25;c=75\r\n"
                                         "reek001002=a=50;ab=50\r\n"
                                         "reek001003=-=50;a=50\r\n";

QByteArray AllFilesOf(const QString& dir) {
    QByteArray bytes;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            bytes += f.readAll();
    }
    return bytes;
}

// A store that refuses every upload, as an unreachable database does.
class RefusingStore : public TExchangeStore {
public:
    explicit RefusingStore(TExchangeStore& real) : real_(real) {}
    void ReplaceParticipants(const std::vector<TParticipant>&) override {
        throw TStoreError("database went away");
    }
    TCounterTable ReadCounters() override { throw TStoreError("database went away"); }
    TCounterTable Recount() override { return real_.Recount(); }
    int64_t Generation() override { throw TStoreError("database went away"); }
    int64_t ParticipantCount() override { return real_.ParticipantCount(); }
    int64_t AnswerCount() override { return real_.AnswerCount(); }
    TParticipant ReadParticipant(const std::string& h) override { return real_.ReadParticipant(h); }
    std::string ClaimSecretFingerprint(const std::string& f) override {
        return real_.ClaimSecretFingerprint(f);
    }

private:
    TExchangeStore& real_;
};

} // namespace

TEST(ExchangeService, FourParticipantsGiveTheHandComputedFile) {
    Exchange x;
    const TServiceReply reply = x.Upload(FourUsers());
    EXPECT_EQ(reply.Status, 200) << reply.Body;
    EXPECT_EQ(x.Statistics(), kFourUsersStatistics);
    EXPECT_EQ(x.store->ReadCounters(), x.store->Recount());
}

TEST(ExchangeService, UploadingAgainReplacesAndNeverCountsTwice) {
    Exchange x;
    ASSERT_EQ(x.Upload(FourUsers()).Status, 200);
    ASSERT_EQ(x.Upload(FourUsers()).Status, 200);
    // Anna alone, in a file of her own, changes nothing either.
    ASSERT_EQ(x.Upload({FourUsers()[0]}).Status, 200);
    EXPECT_EQ(x.Statistics(), kFourUsersStatistics);
    EXPECT_EQ(x.store->ParticipantCount(), 4);
    EXPECT_EQ(x.store->AnswerCount(), 8);
}

TEST(ExchangeService, AParticipantWhoChangesGenderAndAgeMovesBetweenGroups) {
    Exchange x;
    ASSERT_EQ(x.Upload(FourUsers()).Status, 200);
    User anna = FourUsers()[0];
    anna.Gender = 0;
    anna.Age = 25;
    anna.Answers.pop_back(); // and her answer to question 3 is gone
    ASSERT_EQ(x.Upload({anna}).Status, 200);
    const std::string text = x.Statistics();
    // Women on question 1: only Bea, wrong; men: Anna, Cor and Dirk, right.
    EXPECT_NE(text.find("[Women.Answers]\r\nreek001001=0\r\nreek001002=100\r\n\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[Men.Answers]\r\nreek001001=100\r\nreek001002=0\r\nreek001003=0\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[Age 22-30.Answers]\r\nreek001001=100\r\nreek001002=0\r\n\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[Age >30.Answers]\r\n\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("reek001003=1\r\n"), std::string::npos) << "only Cor answered it now";
    EXPECT_EQ(x.store->ReadCounters(), x.store->Recount());
}

TEST(ExchangeService, FiguresOfSmallGroupsAreLeftOut) {
    Exchange x(/*minGroup=*/2);
    ASSERT_EQ(x.Upload(FourUsers()).Status, 200);
    // Question 3 was answered by one woman and one man: no group figure.
    EXPECT_EQ(x.Statistics(), "[Women.Answers]\r\nreek001001=50\r\nreek001002=50\r\n\r\n"
                              "[Men.Answers]\r\nreek001001=100\r\n\r\n"
                              "[Age 14-16.Answers]\r\n\r\n"
                              "[Age 17-21.Answers]\r\n\r\n"
                              "[Age 22-30.Answers]\r\n\r\n"
                              "[Age >30.Answers]\r\n\r\n"
                              "[Counts]\r\n"
                              "reek001001=4\r\nreek001002=2\r\nreek001003=2\r\n\r\n"
                              "[Choices]\r\n"
                              "reek001001=b=25;c=75\r\nreek001002=a=50;ab=50\r\n"
                              "reek001003=-=50;a=50\r\n");
}

TEST(ExchangeService, PercentagesRoundHalfUp) {
    EXPECT_EQ(Percentage(2, 3), 67);
    EXPECT_EQ(Percentage(1, 3), 33);
    EXPECT_EQ(Percentage(1, 8), 13);
    EXPECT_EQ(Percentage(0, 7), 0);
    EXPECT_EQ(Percentage(7, 7), 100);
}

TEST(ExchangeService, KeepsNoNamePasswordOrUnknownQuestion) {
    Exchange x;
    User anna = FourUsers()[0];
    anna.Name = "Annabel Zonnebloem";
    anna.Pw = "wachtwoord-geheim";
    anna.Answers[1].second = Value("TypedSecretText");
    anna.Answers.push_back({"onbekend01", Value("c")});
    anna.Answers.push_back({"REEK001003", Value("b")}); // the first spelling of a key counts
    ASSERT_EQ(x.Upload({anna}).Status, 200);

    const TParticipant stored =
        x.store->ReadParticipant(ParticipantHash(Secret(), "4711", "Annabel Zonnebloem"));
    ASSERT_FALSE(stored.Hash.empty());
    EXPECT_TRUE(stored.Female);
    EXPECT_EQ(stored.Age, 34);
    ASSERT_EQ(stored.Answers.size(), 3u);
    EXPECT_EQ(stored.Answers[0].QuestionKey, kQ1);
    EXPECT_EQ(stored.Answers[0].Answer, "c");
    EXPECT_TRUE(stored.Answers[0].Right);
    EXPECT_EQ(stored.Answers[0].Ms, 5000);
    EXPECT_DOUBLE_EQ(stored.Answers[0].Date, 46000.5);
    EXPECT_EQ(stored.Answers[1].Answer, "TypedSecretText");
    EXPECT_FALSE(stored.Answers[1].Right);
    EXPECT_EQ(stored.Answers[2].Answer, "a");

    const QByteArray files = AllFilesOf(x.data.path());
    EXPECT_FALSE(files.contains("Annabel")) << "names never reach the disk";
    EXPECT_FALSE(files.contains("wachtwoord")) << "passwords never reach the disk";
    EXPECT_FALSE(files.contains("onbekend01"));
    // Typed text is kept as the answer but never sent out.
    const std::string text = x.Statistics();
    EXPECT_EQ(text.find("TypedSecretText"), std::string::npos);
    EXPECT_NE(text.find("reek001002=?=100\r\n"), std::string::npos) << text;
}

TEST(ExchangeService, SameNameWithAnotherUidIsAnotherParticipant) {
    Exchange x;
    User a = FourUsers()[0];
    User b = a;
    b.Uid = "9999";
    ASSERT_EQ(x.Upload({a}).Status, 200);
    ASSERT_EQ(x.Upload({b}).Status, 200);
    EXPECT_EQ(x.store->ParticipantCount(), 2);
    // Uid "12" with name "3x" is not Uid "123" with name "x".
    EXPECT_NE(ParticipantHash(Secret(), "12", "3x"), ParticipantHash(Secret(), "123", "x"));
}

TEST(ExchangeService, FiftyUsersInOneFile) {
    Exchange x;
    std::vector<User> users;
    for (int i = 0; i < 50; ++i)
        users.push_back({"Deelnemer " + std::to_string(i),
                         std::to_string(1000 + i),
                         i % 2,
                         17,
                         {{kQ1, Value(i % 5 == 0 ? "c" : "d")}}});
    const TServiceReply reply = x.Upload(users);
    EXPECT_EQ(reply.Status, 200);
    EXPECT_EQ(x.store->ParticipantCount(), 50);
    const std::string text = x.Statistics();
    // 10 of 50 right; every fifth is i = 0, 5, 10, ...: 5 women (odd) and 5 men.
    EXPECT_NE(text.find("[Age 17-21.Answers]\r\nreek001001=20\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Counts]\r\nreek001001=50\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("reek001001=c=20;d=80\r\n"), std::string::npos) << text;
}

TEST(ExchangeService, BodiesWithoutUsersAreRefusedAndChangeNothing) {
    Exchange x;
    ASSERT_EQ(x.Upload(FourUsers()).Status, 200);
    const int64_t generation = x.store->Generation();
    std::string garbage(5000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 131 + 7) % 251);
    for (const std::string& body : {std::string(), std::string("\xEF\xBB\xBF"),
                                    std::string("[Users]\r\nCount=0\r\n"), garbage}) {
        const TServiceReply reply = x.service->Upload(body);
        EXPECT_EQ(reply.Status, 400);
    }
    EXPECT_EQ(x.store->Generation(), generation);
    EXPECT_EQ(x.Statistics(), kFourUsersStatistics);
}

TEST(ExchangeService, AStoreFailureIs503AndTheLastStatisticsStayAvailable) {
    Exchange x;
    ASSERT_EQ(x.Upload(FourUsers()).Status, 200);
    ASSERT_EQ(x.Statistics(), kFourUsersStatistics);

    RefusingStore refusing(*x.store);
    TExchangeService failing(refusing, TAnswerKey::FromContentDir(x.content.Path()), Secret(),
                             TExchangeOptions{1, std::chrono::milliseconds(0)});
    EXPECT_EQ(failing.Statistics(), nullptr) << "nothing built yet and the store is away";
    EXPECT_EQ(failing.Upload(UsersFile(FourUsers())).Status, 503);
    EXPECT_EQ(x.store->ParticipantCount(), 4);

    // A service that has built the file once keeps serving it.
    TExchangeService cached(*x.store, TAnswerKey::FromContentDir(x.content.Path()), Secret(),
                            TExchangeOptions{1, std::chrono::milliseconds(0)});
    ASSERT_NE(cached.Statistics(), nullptr);
    EXPECT_EQ(*cached.Statistics(), kFourUsersStatistics);
}

TEST(ExchangeService, StatisticsAreRebuiltAtMostOncePerInterval) {
    Exchange x;
    TExchangeService slow(*x.store, TAnswerKey::FromContentDir(x.content.Path()), Secret(),
                          TExchangeOptions{1, std::chrono::hours(1)});
    const auto first = slow.Statistics();
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(slow.Upload(UsersFile(FourUsers())).Status, 200);
    EXPECT_EQ(slow.Statistics(), first) << "within the interval the built copy is served";
    EXPECT_EQ(x.Statistics(), kFourUsersStatistics) << "a service without interval sees it at once";
}

TEST(ExchangeService, TheSecretIsMadeOnceAndKeptPrivate) {
    QTemporaryDir dir;
    const QString data = dir.path() + "/exchange-data";
    const auto made = LoadOrCreateSecret(data);
    ASSERT_TRUE(made.has_value());
    EXPECT_EQ(made->size(), 32);
    EXPECT_EQ(LoadOrCreateSecret(data), made);
    const auto perms = QFile::permissions(data + "/secret");
    EXPECT_TRUE(perms.testFlag(QFileDevice::ReadOwner));
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                          QFileDevice::ReadOther | QFileDevice::WriteOther));
    QFile damaged(data + "/secret");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not hex at all");
    damaged.close();
    std::string error;
    EXPECT_FALSE(LoadOrCreateSecret(data, &error).has_value());
    EXPECT_NE(error.find("holds no secret"), std::string::npos) << error;
}
