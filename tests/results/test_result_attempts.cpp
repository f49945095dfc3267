// Collecting a user's finished attempts from the current answers and the
// history of tests taken again.
#include "exam/iq_score.h"
#include "exam/stored_answers.h"
#include "platform/profile_file.h"
#include "results/result_attempts.h"
#include "tests/results/results_fixture.h"
#include "users/user_store.h"

#include <gtest/gtest.h>

using enginetest::Engine;
using resultstest::kContent;

namespace {

struct Summary {
    std::string test;
    int attempt;
    double finished;
    int right;
    int64_t ms;
    std::string iq;
    bool operator==(const Summary&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Summary& s) {
    return out << s.test << "/" << s.attempt << " at " << s.finished << " " << s.right << " right "
               << s.ms << " ms IQ=" << s.iq;
}

std::vector<Summary> Summaries(const std::vector<TResultAttempt>& attempts) {
    std::vector<Summary> out;
    for (const TResultAttempt& a : attempts)
        out.push_back({a.TestKey, a.Attempt, a.Finished, a.Right, a.TotalMs, a.IQ});
    return out;
}

} // namespace

TEST(ResultAttempts, FinishedAttemptsInFinishOrderWithHistoryAndDamagedValues) {
    Engine e(kContent);
    const TAnswerSnapshot current({
        {"getl001001", "a<38872,250><4000>"},
        {"getl001002", "x<38872,500><6000>"}, // finished last
        {"getl002001", "c<38871,000><1500>"}, // all right: above the norms
        {"figu001001", "a<38869,000><1000>"}, // figu001 is not finished
    });
    const TProfileValues history = {
        {"getl001001.1", "b<38870,100><1000>"},
        {"getl001002.1", "b<38870,200><3000>"},
        {"getl002001.2", "damaged"},       // no date: counts as day 0
        {"figu001001.1", "a<38860,0><1>"}, // half an attempt is none
        {"getl001001", "a<38800,0><1>"},   // no attempt number
        {"getl001001.x", "a<38800,0><1>"},
        {"getl001002.0", "b<38800,0><1>"},
        {".3", "a<38800,0><1>"},
    };
    const std::vector<TResultAttempt> attempts = CollectAttempts(e.content, current, history, 45);
    EXPECT_EQ(Summaries(attempts), (std::vector<Summary>{
                                       {"getl002", 2, 0, 0, 0, "n.b."},
                                       {"getl001", 1, 38870.2, 1, 4000, "1100"},
                                       {"getl002", 0, 38871.0, 1, 1500, ">155"},
                                       {"getl001", 0, 38872.5, 1, 10000, "1100"},
                                   }));
    ASSERT_EQ(attempts.size(), 4u);
    EXPECT_EQ(attempts[1].GroupTitle, "Getallen");
    EXPECT_EQ(attempts[1].TestTitle, "Reeksen");
    EXPECT_EQ(attempts[1].GroupNo, 1);
    EXPECT_EQ(attempts[1].TestNo, 1);
    EXPECT_EQ(attempts[2].TestNo, 2);
    EXPECT_EQ(attempts[1].Questions, 2);
    EXPECT_TRUE(attempts[1].Earlier());
    EXPECT_FALSE(attempts[3].Earlier());
}

TEST(ResultAttempts, TheAgeChoosesTheNormsAndTiesKeepTheCatalogueOrder) {
    Engine e(kContent);
    const TAnswerSnapshot current({
        {"figu001001", "a<38870,500><1>"},
        {"figu001002", "b<38870,500><1>"},
        {"getl002001", "c<38870,500><1>"},
    });
    const auto young = CollectAttempts(e.content, current, {}, 15);
    ASSERT_EQ(young.size(), 2u);
    EXPECT_EQ(young[0].TestKey, "getl002"); // same moment: catalogue order
    EXPECT_EQ(young[1].TestKey, "figu001");
    EXPECT_EQ(young[1].IQ, "2100"); // 14-16 norms
    EXPECT_EQ(young[1].GroupNo, 2);
    EXPECT_TRUE(CollectAttempts(e.content, {}, {}, 45).empty());
}

TEST(ResultAttempts, LoadedFromTheUserFileAnswersAndHistoryOfThatUserOnly) {
    Engine e(kContent);
    e.Store("Piet", "getl002001", "c<38871,0><1500>");
    e.Store("Anna", "getl001001", "a<38871,0><1500>");
    e.Store("Anna", "getl001002", "b<38871,0><1500>");
    ASSERT_TRUE(plat::WriteProfileString(e.UsersFile(), HistorySection("piet"), "getl002001.1",
                                         "x<38870,0><500>"));
    const auto attempts = LoadAttempts(e.content, "Piet", 45);
    ASSERT_EQ(attempts.size(), 2u);
    EXPECT_EQ(attempts[0].Attempt, 1);
    EXPECT_EQ(attempts[0].IQ, "n.b.");
    EXPECT_EQ(attempts[1].Attempt, 0);
    EXPECT_EQ(attempts[1].IQ, ">155");
    EXPECT_TRUE(LoadAttempts(e.content, "", 45).empty());
    EXPECT_TRUE(LoadAttempts(e.content, "Nobody", 45).empty());
}

TEST(ResultAttempts, ArchivingMovesOneTestsAnswersInOneReplaceUnderNewAttemptNumbers) {
    Engine e(kContent);
    e.Store("Piet", "getl001001", "a<38871,0><1500>");
    e.Store("Piet", "getl001002", "b<38871,0><1500>");
    e.Store("Piet", "getl002001", "c<38871,0><1500>");
    ASSERT_TRUE(
        plat::WriteProfileString(e.UsersFile(), "Piet.History", "getl001001.4", "x<1,0><1>"));
    ASSERT_TRUE(
        plat::WriteProfileString(e.UsersFile(), "Piet.History", "getl002001.9", "x<1,0><1>"));

    int replaces = 0;
    plat::detail::SetProfileWriteHook([&](plat::detail::ProfileWriteStage stage) {
        replaces += stage == plat::detail::ProfileWriteStage::Synced;
        return true;
    });
    EXPECT_EQ(ArchiveTestAnswers("Piet", "GETL001"), 5);
    EXPECT_EQ(replaces, 1);
    EXPECT_EQ(ArchiveTestAnswers("Piet", "getl001"), 0) << "nothing left to move";
    EXPECT_EQ(replaces, 1);
    plat::detail::SetProfileWriteHook({});

    EXPECT_EQ(e.Stored("Piet", "getl001001"), "");
    EXPECT_EQ(e.Stored("Piet", "getl002001"), "c<38871,0><1500>");
    EXPECT_EQ(plat::ReadProfileString(e.UsersFile(), "Piet.History", "getl001001.5"),
              "a<38871,0><1500>");
    EXPECT_EQ(plat::ReadProfileString(e.UsersFile(), "Piet.History", "getl001002.5"),
              "b<38871,0><1500>");
    // Scoring reads the answers only.
    EXPECT_EQ(ScoreTest(e.content, "getl001", TAnswerSnapshot::Load("Piet")).Answered, 0);

    // A refused write leaves the file as it was.
    e.Store("Piet", "getl001001", "a<38872,0><1>");
    const QByteArray before = e.dir.Read("User/users.dat");
    plat::detail::SetProfileWriteHook([](plat::detail::ProfileWriteStage) { return false; });
    EXPECT_EQ(ArchiveTestAnswers("Piet", "getl001"), -1);
    plat::detail::SetProfileWriteHook({});
    plat::ClearProfileCache();
    EXPECT_EQ(e.dir.Read("User/users.dat"), before);
    EXPECT_EQ(ArchiveTestAnswers("", "getl001"), 0);
}
