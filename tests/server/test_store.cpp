#include "tests/server/store_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>
#include <thread>

using namespace storetest;
using ::testing::HasSubstr;

namespace {

class StoreTest : public ::testing::TestWithParam<TBackend> {
protected:
    void SetUp() override {
        db_ = std::make_unique<TStoreDatabase>(GetParam());
        if (!db_->SkipReason().empty())
            GTEST_SKIP() << db_->SkipReason();
        store_ = db_->Open();
    }

    std::unique_ptr<TStoreDatabase> db_;
    std::unique_ptr<TExchangeStore> store_;
};

// h1: a woman of 15, right on q1 ("a") and wrong on q2 ("b").
TParticipant Girl() {
    return Participant("h1", true, 15, {Answer("q1", "a", true), Answer("q2", "b", false)});
}

TCounterTable GirlCounts() {
    TCounterTable t;
    SetCell(t, "q1", TGroup::Women, 1, 1);
    SetCell(t, "q1", TGroup::Age14to16, 1, 1);
    SetCell(t, "q2", TGroup::Women, 1, 0);
    SetCell(t, "q2", TGroup::Age14to16, 1, 0);
    t["q1"].Choices = {{"a", 1}};
    t["q2"].Choices = {{"b", 1}};
    return t;
}

TEST_P(StoreTest, NewParticipantsMoveTheCounters) {
    // h2: a man without an age, wrong on q1 with "c".
    store_->ReplaceParticipants({Girl(), Participant("h2", false, 0, {Answer("q1", "c", false)})});

    TCounterTable expected = GirlCounts();
    SetCell(expected, "q1", TGroup::Men, 1, 0);
    expected["q1"].Choices["c"] = 1;
    EXPECT_EQ(store_->ReadCounters(), expected);
    EXPECT_EQ(store_->Recount(), expected);
    EXPECT_EQ(store_->ParticipantCount(), 2);
    EXPECT_EQ(store_->AnswerCount(), 3);
    EXPECT_TRUE(store_->ReadParticipant("nobody").Hash.empty());
}

TEST_P(StoreTest, ReuploadReplacesAndNeverCountsTwice) {
    const int64_t start = store_->Generation();
    store_->ReplaceParticipants({Girl()});
    const int64_t afterFirst = store_->Generation();
    store_->ReplaceParticipants({Girl()});
    EXPECT_EQ(store_->ReadCounters(), GirlCounts());
    // The same data again is still a commit.
    EXPECT_GT(afterFirst, start);
    EXPECT_GT(store_->Generation(), afterFirst);
    EXPECT_EQ(store_->AnswerCount(), 2);

    // Now only q2, right with "x": q1 counts nobody and is left out.
    store_->ReplaceParticipants({Participant("h1", true, 15, {Answer("q2", "x", true)})});
    TCounterTable expected;
    SetCell(expected, "q2", TGroup::Women, 1, 1);
    SetCell(expected, "q2", TGroup::Age14to16, 1, 1);
    expected["q2"].Choices = {{"x", 1}};
    EXPECT_EQ(store_->ReadCounters(), expected);
    EXPECT_EQ(store_->ParticipantCount(), 1);
    EXPECT_EQ(store_->AnswerCount(), 1);
}

TEST_P(StoreTest, ChangedGenderOrAgeMovesBetweenGroups) {
    const TParticipant other = Participant("h2", true, 40, {Answer("q1", "b", false)});
    store_->ReplaceParticipants({Participant("h1", true, 15, {Answer("q1", "a", true)}), other});
    store_->ReplaceParticipants({Participant("h1", false, 25, {Answer("q1", "a", true)})});

    TCounterTable expected;
    SetCell(expected, "q1", TGroup::Men, 1, 1);
    SetCell(expected, "q1", TGroup::Age22to30, 1, 1);
    SetCell(expected, "q1", TGroup::Women, 1, 0);
    SetCell(expected, "q1", TGroup::AgeOver30, 1, 0);
    expected["q1"].Choices = {{"a", 1}, {"b", 1}};
    EXPECT_EQ(store_->ReadCounters(), expected);

    // Under 14 there is no age group.
    store_->ReplaceParticipants({Participant("h1", false, 10, {Answer("q1", "a", true)})});
    SetCell(expected, "q1", TGroup::Age22to30, 0, 0);
    EXPECT_EQ(store_->ReadCounters(), expected);
    const TParticipant stored = store_->ReadParticipant("h1");
    EXPECT_FALSE(stored.Female);
    EXPECT_EQ(stored.Age, 10);
}

TEST_P(StoreTest, LastOfOneHashInOneUploadWins) {
    store_->ReplaceParticipants({Girl(), Participant("h1", false, 25, {Answer("q2", "b", false)})});

    TCounterTable expected;
    SetCell(expected, "q2", TGroup::Men, 1, 0);
    SetCell(expected, "q2", TGroup::Age22to30, 1, 0);
    expected["q2"].Choices = {{"b", 1}};
    EXPECT_EQ(store_->ReadCounters(), expected);
    EXPECT_EQ(store_->ParticipantCount(), 1);
    EXPECT_EQ(store_->ReadParticipant("h1").Answers.size(), 1u);
}

TEST_P(StoreTest, FailedUploadChangesNothing) {
    store_->ReplaceParticipants({Girl()});
    const int64_t generation = store_->Generation();

    // Sorted by hash the broken participant comes last, after h1 was
    // replaced and h2 added within the transaction.
    const TParticipant broken =
        Participant("h9", true, 20, {Answer("q1", "a", true), Answer("q1", "b", false)});
    EXPECT_THROW(store_->ReplaceParticipants(
                     {broken, Participant("h1", false, 40, {Answer("q1", "c", false)}),
                      Participant("h2", false, 20, {Answer("q2", "d", true)})}),
                 TStoreError);

    EXPECT_EQ(store_->ReadCounters(), GirlCounts());
    EXPECT_EQ(store_->Generation(), generation);
    EXPECT_EQ(store_->ParticipantCount(), 1);
    EXPECT_EQ(store_->AnswerCount(), 2);
    EXPECT_EQ(store_->ReadParticipant("h1").Age, 15);
    EXPECT_TRUE(store_->ReadParticipant("h2").Hash.empty());

    // The store is still usable after the failure.
    store_->ReplaceParticipants({Participant("h2", false, 20, {Answer("q2", "d", true)})});
    EXPECT_EQ(store_->ParticipantCount(), 2);
}

TEST_P(StoreTest, FirstSecretFingerprintIsKept) {
    EXPECT_EQ(store_->ClaimSecretFingerprint("aaaa"), "aaaa");
    EXPECT_EQ(store_->ClaimSecretFingerprint("bbbb"), "aaaa");
    EXPECT_EQ(db_->Open()->ClaimSecretFingerprint("cccc"), "aaaa");
}

TEST_P(StoreTest, TwoServersSeeEachOthersChanges) {
    const auto other = db_->Open();
    store_->ReplaceParticipants({Girl()});
    EXPECT_EQ(other->ReadCounters(), GirlCounts());
    EXPECT_EQ(other->ReadParticipant("h1").Answers.size(), 2u);

    other->ReplaceParticipants({Participant("h1", true, 15, {Answer("q2", "x", true)})});
    const TParticipant seen = store_->ReadParticipant("h1");
    ASSERT_EQ(seen.Answers.size(), 1u);
    EXPECT_EQ(seen.Answers[0].Answer, "x");
    EXPECT_EQ(store_->Generation(), other->Generation());
    EXPECT_EQ(store_->ReadCounters(), other->Recount());
}

TEST_P(StoreTest, RecountComesFromTheAnswersAlone) {
    store_->ReplaceParticipants({Girl(), Participant("h2", false, 19, {Answer("q1", "a", false)}),
                                 Participant("h3", true, 0, {Answer("q2", "", false)})});
    store_->ReplaceParticipants({Participant("h2", true, 19, {Answer("q1", "zz!", true)})});
    store_->ReplaceParticipants({Participant("h3", true, 0, {})});

    TCounterTable expected = GirlCounts();
    SetCell(expected, "q1", TGroup::Women, 2, 2);
    SetCell(expected, "q1", TGroup::Age17to21, 1, 1);
    expected["q1"].Choices["?"] = 1;
    EXPECT_EQ(store_->ReadCounters(), expected);
    EXPECT_EQ(store_->Recount(), expected);

    // Damaged counters do not mislead a recount.
    db_->DamageCounters();
    EXPECT_NE(store_->ReadCounters(), expected);
    EXPECT_EQ(store_->Recount(), expected);
}

TEST_P(StoreTest, BytesAreKeptAsGiven) {
    // Windows-1252 text, bytes that are no character at all, and the
    // characters that quoting and array syntax care about.
    const std::string odd = "\"{a,b}\" \\ NULL \x81\xe9";
    const TParticipant p =
        Participant("h\xe9", true, 33,
                    {Answer("q\xe9", odd, false, 1LL << 40, 45123.678901234),
                     Answer("Q", "", true, 0, 0), Answer("q\x81", "NULL", false, -5, -1.25)});
    store_->ReplaceParticipants({p});

    const TParticipant stored = store_->ReadParticipant("h\xe9");
    EXPECT_EQ(stored.Hash, "h\xe9");
    ASSERT_EQ(stored.Answers.size(), 3u);
    // In byte order: "Q" < "q\x81" < "q\xe9".
    EXPECT_EQ(stored.Answers[0].QuestionKey, "Q");
    EXPECT_EQ(stored.Answers[0].Answer, "");
    EXPECT_TRUE(stored.Answers[0].Right);
    EXPECT_EQ(stored.Answers[1].QuestionKey, "q\x81");
    EXPECT_EQ(stored.Answers[1].Ms, -5);
    EXPECT_EQ(stored.Answers[1].Date, -1.25);
    EXPECT_EQ(stored.Answers[2].QuestionKey, "q\xe9");
    EXPECT_EQ(stored.Answers[2].Answer, odd);
    EXPECT_EQ(stored.Answers[2].Ms, 1LL << 40);
    EXPECT_EQ(stored.Answers[2].Date, 45123.678901234);

    const TCounterTable counters = store_->ReadCounters();
    ASSERT_TRUE(counters.count("q\xe9"));
    EXPECT_EQ(counters.at("q\xe9").Choices, (std::map<std::string, int64_t>{{"?", 1}}));
    EXPECT_EQ(counters.at("Q").Choices, (std::map<std::string, int64_t>{{"-", 1}}));
    EXPECT_EQ(counters, store_->Recount());
}

TEST_P(StoreTest, NewerSchemaIsRefused) {
    store_.reset();
    db_->Exec("UPDATE meta SET value = '2' WHERE key = 'schema_version'");
    try {
        db_->Open();
        FAIL() << "a store opened a database of a newer schema";
    } catch (const TStoreError& e) {
        EXPECT_THAT(e.what(), HasSubstr("schema version 2"));
    }
}

// Two servers, four threads, uploads of overlapping participants in every
// order: the kept counters must end exactly where a recount does.
TEST_P(StoreTest, ConcurrentUploadsKeepCountersExact) {
    constexpr int kThreads = 4, kUploads = 50;
    const auto other = db_->Open();
    const int64_t start = store_->Generation();
    const std::vector<std::string> hashes = {"h0", "h1", "h2", "h3", "h4", "h5", "h6", "h7"};
    const int ages[] = {0, 15, 19, 25, 40};
    const char* const choices[] = {"a", "b", "c", "", "?x"};

    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            std::mt19937 random(unsigned(t + 1));
            TExchangeStore& store = t % 2 ? *other : *store_;
            for (int u = 0; u < kUploads; ++u) {
                std::vector<TParticipant> upload;
                for (int k = 0; k < 3; ++k) {
                    TParticipant p = Participant(hashes[random() % hashes.size()], random() % 2,
                                                 ages[random() % 5], {});
                    for (int q = 0; q < 6; ++q)
                        if (random() % 3)
                            p.Answers.push_back(Answer("q" + std::to_string(q),
                                                       choices[random() % 5], random() % 2));
                    upload.push_back(std::move(p));
                }
                try {
                    store.ReplaceParticipants(upload);
                } catch (const TStoreError& e) {
                    ++failures;
                    ADD_FAILURE() << e.what();
                }
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    ASSERT_EQ(failures, 0);

    const TCounterTable counters = store_->ReadCounters();
    EXPECT_EQ(counters, other->Recount());
    EXPECT_GE(store_->Generation(), start + kThreads * kUploads);
    // Every stored participant is counted once, in one gender group.
    std::map<std::string, int64_t> answered;
    for (const std::string& hash : hashes)
        for (const TStoredAnswer& a : store_->ReadParticipant(hash).Answers)
            ++answered[a.QuestionKey];
    for (const auto& [key, n] : answered) {
        const auto& groups = counters.at(key).Groups;
        EXPECT_EQ(groups[std::size_t(TGroup::Women)].N + groups[std::size_t(TGroup::Men)].N, n)
            << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreTest, ::testing::Values(TBackend::Sqlite, TBackend::Postgres),
                         [](const ::testing::TestParamInfo<TBackend>& info) {
                             return info.param == TBackend::Sqlite ? "Sqlite" : "Postgres";
                         });

TEST(PostgresStore, UnreachableDatabaseIsAStoreError) {
    try {
        OpenPostgresStore("host=/nonexistent/zenx port=5999 connect_timeout=2");
        FAIL() << "opened a database that is not there";
    } catch (const TStoreError& e) {
        EXPECT_THAT(e.what(), HasSubstr("/nonexistent/zenx"));
    }
}

TEST(PostgresStore, BrokenConnectionsAreReplaced) {
    TStoreDatabase db(TBackend::Postgres);
    if (!db.SkipReason().empty())
        GTEST_SKIP() << db.SkipReason();
    const auto store = db.Open();
    store->ReplaceParticipants({Girl()});
    db.KillConnections(); // as when the server restarts
    store->ReplaceParticipants({Participant("h2", false, 0, {Answer("q1", "c", false)})});
    EXPECT_EQ(store->ParticipantCount(), 2);
}

} // namespace
