#include "exam/feedback.h"
#include "tests/exam/test_engine_fixture.h"

#include <cstring>
#include <gtest/gtest.h>

using enginetest::Engine;

namespace {

const char* kIUsers = "[Users]\r\nCount=0\r\n"
                      "[Women.Answers]\r\ngetl001001=73\r\ngetl001002=\r\n"
                      "[Men.Answers]\r\ngetl001001=41\r\n"
                      "[Age >30.Answers]\r\nGETL001001=12.5\r\n";

} // namespace

TEST(Feedback, InternetScoreFromIUsers) {
    Engine e({});
    EXPECT_EQ(GetInternetScore("Women", "getl001001"), ""); // no file
    e.dir.Write("User/iusers.dat", kIUsers);
    EXPECT_EQ(GetInternetScore("Women", "getl001001"), "73%");
    EXPECT_EQ(GetInternetScore("women", "getl001001"), "73%");
    EXPECT_EQ(GetInternetScore("Women", "getl001002"), "");     // empty value
    EXPECT_EQ(GetInternetScore("Women", "getl001003"), "");     // no key
    EXPECT_EQ(GetInternetScore("Age 14-16", "getl001001"), ""); // no section
    EXPECT_EQ(GetInternetScore("Age >30", "getl001001"), "12.5%");
    EXPECT_EQ(GetInternetScore("Users", "Count"), ""); // only ".Answers" sections
    const TInternetScores s = ReadInternetScores("getl001001");
    EXPECT_EQ(s.Women, "73%");
    EXPECT_EQ(s.Men, "41%");
    EXPECT_EQ(s.Age17to21, "");
    EXPECT_EQ(s.AgeOver30, "12.5%");
}

TEST(Feedback, VerdictLines) {
    EXPECT_EQ(VerdictLine("b", "c"), "Uw antwoord b was fout, het juiste antwoord is c\r\n");
    EXPECT_EQ(VerdictLine("c", "c"), "U gaf het goede antwoord c\r\n");
    EXPECT_EQ(VerdictLine("", "c"),
              "U heeft deze vraag niet beantwoord, het juiste antwoord is c\r\n");
    // Compared exactly, in length too.
    EXPECT_EQ(VerdictLine("cc", "c"), "Uw antwoord cc was fout, het juiste antwoord is c\r\n");
    // Long answers are kept whole rather than cutting off the correct answer.
    const std::string longAnswer(255, 'a');
    EXPECT_NE(VerdictLine(longAnswer, "b").find("het juiste antwoord is b\r\n"), std::string::npos);
}

TEST(Feedback, WholeTextWithExplanationAndScores) {
    TFeedbackParts parts;
    parts.Body = "Welke letter?";
    parts.StoredValue = "b<38870,500><4000>";
    parts.Correct = "c";
    parts.HasExplanation = true;
    parts.Explanation = "Omdat c.";
    TInternetScores scores;
    scores.Women = "73%";
    scores.AgeOver30 = "12%";
    EXPECT_EQ(ComposeFeedbackText(parts, scores),
              "Welke letter?\r\n\r\n"
              "Uw antwoord b was fout, het juiste antwoord is c\r\n"
              "\r\nUitleg:\r\n\r\nOmdat c."
              "\r\nDe internet deelnemers scoorden als volgt:\r\n\r\n"
              "<i>Vermeld wordt steeds het percentage dat het goede antwoord gaf.</i>\r\n\r\n"
              "<b>Geslacht:</b>\r\n\r\n"
              "Vrouwen 73%\r\n"
              "Mannen \r\n\r\n"
              "<b>Leeftijdscategorie:</b>\r\n\r\n"
              "14-16 jaar \r\n"
              "17-21 jaar \r\n"
              "22-30 jaar \r\n"
              ">30 jaar 12%\r\n\r\n");
}

TEST(Feedback, TimedOutValueReadsAsUnansweredAndNoExplanation) {
    TFeedbackParts parts;
    parts.Body = "Vraag";
    parts.StoredValue = "<38870,500><0>";
    parts.Correct = "ab";
    const std::string text = ComposeFeedbackText(parts, {});
    EXPECT_EQ(text.rfind("Vraag\r\n\r\nU heeft deze vraag niet beantwoord, het juiste antwoord "
                         "is ab\r\n\r\nDe internet deelnemers",
                         0),
              0u);
    EXPECT_EQ(text.find("Uitleg:"), std::string::npos);
    // An explanation record without a body still has its heading.
    parts.HasExplanation = true;
    EXPECT_NE(ComposeFeedbackText(parts, {}).find("ab\r\n\r\nUitleg:\r\n\r\n\r\nDe internet"),
              std::string::npos);
}

namespace {

// The comparison as an older server sends it, then the question's count and
// answers, each time for a second question too.
const char* kIUsersWithAnswers = "[Women.Answers]\r\nABCD000101=73\r\n"
                                 "[Age >30.Answers]\r\nABCD000101=12\r\n"
                                 "[Counts]\r\nABCD000101=57\r\nABCD000102=x\r\n"
                                 "[Choices]\r\nABCD000101=a=12;b=61;-=20;?=7\r\n"
                                 "ABCD000102=\xe9\xe9n=100\r\n";

const char* kComparisonEnd = "22-30 jaar \r\n>30 jaar 12%\r\n\r\n";

TFeedbackParts SomeParts() {
    TFeedbackParts parts;
    parts.Body = "Vraag";
    parts.StoredValue = "a<38870,500><4000>";
    parts.Correct = "b";
    return parts;
}

// What follows the internet comparison; "?" when the comparison is missing.
std::string AfterComparison(const std::string& text) {
    const size_t at = text.find(kComparisonEnd);
    return at == std::string::npos ? "?" : text.substr(at + std::strlen(kComparisonEnd));
}

} // namespace

TEST(Feedback, WithoutCountsAndChoicesTheTextEndsAsBefore) {
    Engine e({});
    e.dir.Write("User/iusers.dat", "[Women.Answers]\r\nABCD000101=73\r\n"
                                   "[Age >30.Answers]\r\nABCD000101=12\r\n"
                                   "[Counts]\r\nOTHER00001=5\r\n[Choices]\r\nOTHER00001=a=5\r\n");
    const TInternetScores s = ReadInternetScores("ABCD000101");
    EXPECT_FALSE(s.Participants.has_value());
    EXPECT_TRUE(s.Choices.empty());
    const std::string text = ComposeFeedbackText(SomeParts(), s);
    EXPECT_EQ(AfterComparison(text), "");
    EXPECT_NE(text.find("Vrouwen 73%\r\n"), std::string::npos);
    // Values that are all malformed add nothing either, not even the blank line.
    e.dir.Write("User/iusers.dat", "[Counts]\r\nABCD000101=-1\r\n"
                                   "[Choices]\r\nABCD000101=a;=5;b=101\r\n");
    TInternetScores bad = ReadInternetScores("ABCD000101");
    bad.AgeOver30 = "12%";
    EXPECT_EQ(AfterComparison(ComposeFeedbackText(SomeParts(), bad)), "");
}

TEST(Feedback, CountAndAnswersFollowTheComparison) {
    Engine e({});
    e.dir.Write("User/iusers.dat", kIUsersWithAnswers);
    const TInternetScores s = ReadInternetScores("abcd000101");
    EXPECT_EQ(s.Women, "73%") << "the old values are read as before";
    EXPECT_EQ(AfterComparison(ComposeFeedbackText(SomeParts(), s)),
              "Aantal deelnemers: 57\r\n"
              "Gegeven antwoorden: a 12%, b 61%, geen antwoord 20%, overig 7%\r\n\r\n");
    // Either line alone still ends with the blank line.
    TInternetScores second = ReadInternetScores("ABCD000102");
    second.AgeOver30 = "12%";
    EXPECT_FALSE(second.Participants.has_value()) << "a count that is no number";
    EXPECT_EQ(AfterComparison(ComposeFeedbackText(SomeParts(), second)),
              "Gegeven antwoorden: \xe9\xe9n 100%\r\n\r\n");
    TInternetScores countOnly;
    countOnly.AgeOver30 = "12%";
    countOnly.Participants = 0;
    EXPECT_EQ(AfterComparison(ComposeFeedbackText(SomeParts(), countOnly)),
              "Aantal deelnemers: 0\r\n\r\n");
}

TEST(Feedback, ParticipantCountsAreWholeNumbers) {
    EXPECT_EQ(ParseParticipantCount("57"), 57);
    EXPECT_EQ(ParseParticipantCount("0"), 0);
    EXPECT_EQ(ParseParticipantCount("007"), 7);
    EXPECT_EQ(ParseParticipantCount("123456789012345678"), 123456789012345678);
    for (const char* bad : {"", "-1", "+5", "5.0", "1e3", "57 ", "five", "1234567890123456789",
                            "99999999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseParticipantCount(bad).has_value());
    }
}

TEST(Feedback, MalformedAnswerItemsAreDropped) {
    struct Case {
        const char* value;
        const char* kept; // "name percent" of each kept item, joined by ','
    };
    const std::string name32(32, 'n');
    const std::string name33(33, 'n');
    const std::string long32 = name32 + "=5;" + name33 + "=6";
    for (const Case& c : {
             Case{"a=12;b=61;c=20;d=7", "a 12,b 61,c 20,d 7"},
             Case{"", ""},
             Case{";;a=1;", "a 1"},
             Case{"a;b=2", "b 2"},      // no '='
             Case{"=5;b=2", "b 2"},     // empty name
             Case{" a = 3 ;b=", "a 3"}, // blanks around parts; no percentage
             Case{"a=101;b=100;c=0", "b 100,c 0"},
             Case{"a=-1;b=+2;c=2.5;d=1e2;e=x;f=050", "f 50"},
             Case{"a=99999999999999999999;b=1", "b 1"},
             Case{"a=b=3;c=4", "c 4"}, // a second '=' makes the percentage invalid
             Case{long32.c_str(), "n32 5"},
         }) {
        SCOPED_TRACE(c.value);
        std::string kept;
        for (const TAnswerShare& share : ParseAnswerShares(c.value)) {
            if (!kept.empty())
                kept += ',';
            kept += (share.Answer == name32 ? "n32" : share.Answer) + " " +
                    std::to_string(share.Percent);
        }
        EXPECT_EQ(kept, c.kept);
    }
}

TEST(Feedback, AnswerNamesCannotInjectMarkup) {
    Engine e({});
    e.dir.Write("User/iusers.dat",
                "[Choices]\r\nABCD000101=<b>=10;<img name=x.bmp>=5;a&amp=3;x>y=2;"
                "t\tab=1;del\x7f=1;c=40\r\n"
                "[Counts]\r\nABCD000101=5<b>\r\n");
    TInternetScores s = ReadInternetScores("ABCD000101");
    ASSERT_EQ(s.Choices.size(), 1u);
    EXPECT_EQ(s.Choices[0].Answer, "c");
    EXPECT_FALSE(s.Participants.has_value());
    // Scores put together elsewhere are checked as they are written out.
    s.AgeOver30 = "12%";
    s.Choices.insert(s.Choices.begin(), {TAnswerShare{"</i><b>", 50}, TAnswerShare{"d", 140}});
    EXPECT_EQ(AfterComparison(ComposeFeedbackText(SomeParts(), s)),
              "Gegeven antwoorden: c 40%\r\n\r\n");
}
