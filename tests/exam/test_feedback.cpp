#include "exam/feedback.h"
#include "tests/exam/test_engine_fixture.h"

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
