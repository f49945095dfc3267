#include "exam/iq_score.h"
#include "exam/stored_answers.h"
#include "platform/datetime.h"
#include "tests/exam/test_engine_fixture.h"

#include <gtest/gtest.h>
#include <limits>

using enginetest::Engine;
using enginetest::Records;

namespace {

const double kSecond = 1.0 / 86400;

// 2 June 2006 at 12:00 is day 38870 and half of it.
double Noon() {
    return plat::EncodeDateTime({2006, 6, 2, 12, 0, 0, 0});
}

} // namespace

TEST(StoredAnswers, ValueOfChoicesAandCAfterTwelveSeconds) {
    const double shown = Noon() - 12 * kSecond;
    const double lastTick = Noon();
    EXPECT_EQ(AnswerValue("ac", Noon(), ElapsedMs(shown, lastTick)), "ac<38870,500><12000>");
    // Day numbers are not exact: whole seconds must stay whole all day long.
    for (double start = 38870.0; start < 38871.0; start += 0.37 * kSecond)
        ASSERT_EQ(ElapsedMs(start, start + 12 * kSecond), 12000) << std::fixed << start;
    EXPECT_EQ(ElapsedMs(lastTick, shown), 0); // a clock going back
    EXPECT_EQ(AnswerValue("", 38870.0009, 0), "<38870,0><0>");
    EXPECT_EQ(AnswerValue("b", 38870.9999999, 5), "b<38870,999><5>");
}

TEST(StoredAnswers, AnswerValueKeepsOneLineAndAShortAnswer) {
    EXPECT_EQ(AnswerValue("a\r\nb", 1.0, 1), "a  b<1,0><1>");
    const std::string value = AnswerValue(std::string(300, 'x'), 1.0, 1);
    EXPECT_EQ(AnswerPart(value), std::string(255, 'x'));
}

TEST(StoredAnswers, AnswerPartAndAnswerTime) {
    EXPECT_EQ(AnswerPart("ab<38870,500><12000>"), "ab");
    EXPECT_EQ(AnswerPart("<38870,500><0>"), "");
    EXPECT_EQ(AnswerPart("ab"), ""); // no "<": counts as empty

    EXPECT_DOUBLE_EQ(AnswerTime("ac<38870,500><12000>"), 12000.0 / 86400000);
    EXPECT_DOUBLE_EQ(AnswerTime("ac<1,2><5>>"), 5.0 / 86400000); // every ">" goes
    EXPECT_EQ(AnswerTime(""), 0);
    EXPECT_EQ(AnswerTime("ac<38870,500>"), 0);        // no "><"
    EXPECT_EQ(AnswerTime("ac<38870,500><12s>"), 0);   // not a number
    EXPECT_EQ(AnswerTime("ac<38870,500><>"), 0);      // nothing
    EXPECT_EQ(AnswerTime("ac<38870,500><-5000>"), 0); // no time handed back
    EXPECT_EQ(AnswerTime("ac<1,2><99999999999999999999>"), 0);
}

TEST(StoredAnswers, WrittenPerUserReplacedAndReadBack) {
    Engine e({});
    EXPECT_EQ(ReadAnswer("Piet", "getl001001"), "");             // no file
    ASSERT_TRUE(WriteAnswer("Piet", "getl001001", "a<1,2><3>")); // creates User\ too
    ASSERT_TRUE(WriteAnswer("Piet", "getl001001", "b<1,2><4>"));
    ASSERT_TRUE(WriteAnswer("Marie", "getl001001", "c<1,2><5>"));
    EXPECT_EQ(ReadAnswer("Piet", "getl001001"), "b<1,2><4>");
    EXPECT_EQ(ReadAnswer("PIET", "GETL001001"), "b<1,2><4>"); // names match in any case
    EXPECT_EQ(ReadAnswer("Marie", "getl001001"), "c<1,2><5>");
    EXPECT_EQ(e.Stored("Piet", "getl001001"), "b<1,2><4>");
    EXPECT_EQ(ReadAnswer("Piet", "getl001002"), "");

    // Without a user nothing is written and nothing is found.
    EXPECT_FALSE(WriteAnswer("", "getl001003", "a<1,2><3>"));
    EXPECT_EQ(e.Stored("", "getl001003"), "");
    EXPECT_EQ(ReadAnswer("", "getl001001"), "");
}

TEST(StoredAnswers, SnapshotReadsWhatReadAnswerReads) {
    Engine e({});
    e.Store("Piet", "getl001001", "a<1,2><3>");
    e.Store("Piet", "GETL001002", "<1,2><0>");
    e.dir.Write("User/users.dat", e.dir.Read("User/users.dat") + "getl001001=late<1,2><3>\r\n");
    const TAnswerSnapshot snapshot = TAnswerSnapshot::Load("piet");
    for (const char* key : {"getl001001", "getl001002", "Getl001002", "getl001009"})
        EXPECT_EQ(snapshot.Value(key), ReadAnswer("Piet", key)) << key;
    EXPECT_EQ(snapshot.Value("getl001001"), "a<1,2><3>"); // the first of a repeated key
    EXPECT_EQ(TAnswerSnapshot::Load("Nobody").size(), 0u);
}

TEST(Scoring, AgeSections) {
    Engine e({});
    EXPECT_EQ(LookUpIQ("10", "50"), "1050");
    EXPECT_EQ(LookUpIQ("45", "50"), "1050");
    EXPECT_EQ(LookUpIQ("13", "50"), "1050");
    EXPECT_EQ(LookUpIQ("14", "50"), "2050");
    EXPECT_EQ(LookUpIQ("16", "50"), "2050");
    EXPECT_EQ(LookUpIQ("17", "50"), "3050");
    EXPECT_EQ(LookUpIQ("21", "50"), "3050");
    EXPECT_EQ(LookUpIQ("22", "50"), "4050");
    EXPECT_EQ(LookUpIQ("30", "50"), "4050");
    EXPECT_EQ(LookUpIQ("31", "50"), "1050");
    EXPECT_EQ(LookUpIQ("oud", "50"), "1050");  // not a number: age 0
    EXPECT_EQ(LookUpIQ("17", "veel"), "3000"); // not a number: raw 0
}

TEST(Scoring, RawAbove164IsNeverLookedUp) {
    Engine e({});
    EXPECT_EQ(LookUpIQ("45", "164"), "1164");
    EXPECT_EQ(LookUpIQ("45", "165"), ">155");
    e.dir.Write("D/iq.dat", "[>30]\r\n0=85\r\n");
    EXPECT_EQ(LookUpIQ("45", "0"), "85");
    EXPECT_EQ(LookUpIQ("45", "1"), "g.s."); // key missing
    EXPECT_EQ(LookUpIQ("16", "0"), "g.s."); // section missing
    QFile::remove(e.dir.Path() + "D/iq.dat");
    EXPECT_EQ(LookUpIQ("45", "164"), "g.s."); // file missing
    EXPECT_EQ(LookUpIQ("45", "165"), ">155");
    EXPECT_EQ(LookUpIQ("45", "200"), ">155");
}

TEST(Scoring, RawScoreInExtendedPrecision) {
    EXPECT_EQ(RawScore(1, 300), 0);
    EXPECT_EQ(RawScore(300, 300), 200);
    EXPECT_EQ(RawScore(1, 2), 100);
    if constexpr (std::numeric_limits<long double>::digits == 64) {
        // 21/40 x 200 is 105 exactly on paper, but the extended quotient
        // falls just below it.
        EXPECT_EQ(RawScore(21, 40), 104);
        EXPECT_EQ(RawScore(53, 100), 105);
    }
    Engine e({});
    EXPECT_EQ(IQText(1, 300, 45), "1000"); // raw 0 is looked up under "0"
    EXPECT_EQ(IQText(300, 300, 45), ">155");
    EXPECT_EQ(IQText(0, 300, 45), "n.b.");
    EXPECT_EQ(IQText(5, 0, 45), "n.b.");
}

namespace {

const Records kScoredTest = {
    {"Test|getl00000000000", "Getallen"},
    {"Test|getl00100000000", "Reeksen\r\n<a href=\"starttest\">Start</a>"},
    {"Test|getl00100101001c", "Vraag 1"},
    {"Test|getl00100202002ab", "Vraag 2"},
    {"Test|getl00100301001", "Vraag 3 zonder antwoord"}, // empty correct answer
    {"Test|getl00200000000", "Nul punten"},
    {"Test|getl00200100001a", "Vraag"},
    {"Test|getl002002xx001b", "Vraag"}, // points not a number
};

} // namespace

TEST(Scoring, GetTestIQCountsOpenQuestionsAsWrong) {
    Engine e(kScoredTest);
    // Unanswered, only the question without a correct answer is right:
    // 10 of 40 points is raw 50.
    EXPECT_EQ(GetTestIQ(e.content, "getl001", "Piet", 45), "1050");
    e.Store("Piet", "getl001001", "c<38870,500><1000>");
    e.Store("Piet", "getl001002", "ba<38870,500><1000>");
    e.Store("Piet", "getl001003", "x<38870,500><1000>");
    EXPECT_EQ(GetTestIQ(e.content, "getl001", "Piet", 45), "1050"); // 1 right, 2 wrong
    EXPECT_EQ(GetTestIQ(e.content, "getl001", "Piet", 16), "2050");
    e.Store("Piet", "getl001002", "ab<38870,500><1000>");
    EXPECT_EQ(GetTestIQ(e.content, "getl001", "Piet", 45), "1150"); // 30 of 40
    e.Store("Piet", "getl001001", "c"); // no "<": the answer counts as empty
    EXPECT_EQ(GetTestIQ(e.content, "getl001", "Piet", 45), "1100");

    const TTestScore score = ScoreTest(e.content, "getl001", TAnswerSnapshot::Load("Piet"));
    EXPECT_EQ(score.Questions, 3);
    EXPECT_EQ(score.Possible, 40);
    EXPECT_EQ(score.Earned, 20);
    EXPECT_EQ(score.Answered, 3);
}

TEST(Scoring, NoPointsGiveNoScore) {
    Engine e(kScoredTest);
    e.Store("Piet", "getl002001", "a<38870,500><1000>");
    e.Store("Piet", "getl002002", "b<38870,500><1000>");
    EXPECT_EQ(GetTestIQ(e.content, "getl002", "Piet", 45), "n.b.");
    EXPECT_EQ(GetTestIQ(e.content, "getl009", "Piet", 45), "n.b."); // no such test
}
