// The markup of the results page.
#include "platform/datetime.h"
#include "results/results_text.h"
#include "tests/results/results_fixture.h"

#include <gtest/gtest.h>

using resultstest::Attempt;

TEST(ResultsText, AverageSecondsHaveOneDecimalWithACommaAndDatesAreDutch) {
    EXPECT_EQ(AverageSecondsText(12345, 2), "6,2");
    EXPECT_EQ(AverageSecondsText(12000, 1), "12,0");
    EXPECT_EQ(AverageSecondsText(1950, 1), "2,0"); // rounded half up
    EXPECT_EQ(AverageSecondsText(1949, 1), "1,9");
    EXPECT_EQ(AverageSecondsText(0, 3), "0,0");
    EXPECT_EQ(AverageSecondsText(500, 0), "0,0");
    EXPECT_EQ(AverageSecondsText(-5, 1), "0,0");
    EXPECT_EQ(DutchDateText(plat::EncodeDateTime({2006, 6, 2, 23, 59, 0, 0})), "2-6-2006");
    EXPECT_EQ(DutchDateText(plat::EncodeDate(2024, 12, 31)), "31-12-2024");
}

TEST(ResultsText, WithoutFinishedTestsASentenceAndNoChart) {
    const std::string text = ResultsPageMarkup({}, "t\\mijnresultaten.png");
    EXPECT_EQ(text.rfind(kNoResultsText, 0), 0u);
    EXPECT_EQ(text.find("<IMG"), std::string::npos);
    EXPECT_EQ(text.find("opnieuw#"), std::string::npos);
    EXPECT_NE(text.find("<a href=\"overzicht\">Terug naar het overzicht</a>"), std::string::npos);
}

TEST(ResultsText, TableByTestWithEarlierAttemptsMarkedAndOneRetakeLinkPerCurrentTest) {
    const double june2 = plat::EncodeDate(2006, 6, 2);
    TResultAttempt second = Attempt(2, "1100", june2 + 0.5);
    second.TestTitle = "Vormen";
    second.Right = 1;
    second.TotalMs = 12345;
    TResultAttempt earlier = Attempt(1, "n.b.", june2 - 1, 1);
    earlier.TestTitle = "Reeksen";
    TResultAttempt first = Attempt(1, ">155", june2 + 1);
    first.TestTitle = "Reeksen";
    first.Right = 2;
    first.TotalMs = 3000;
    // Finish order: earlier, second, first; the table goes by test.
    const std::string text = ResultsPageMarkup({earlier, second, first}, "t\\mijnresultaten.png");
    const std::string expectedTable = "<b>Getallen - Reeksen</b> (eerder, afgerond 1-6-2006)\r\n"
                                      "   0 van 2 goed, gemiddeld 0,0 s per vraag, IQ=n.b.\r\n\r\n"
                                      "<b>Getallen - Reeksen</b> (afgerond 3-6-2006)\r\n"
                                      "   2 van 2 goed, gemiddeld 1,5 s per vraag, IQ=>155\r\n"
                                      "   <a href=\"opnieuw#getl001\">Opnieuw maken</a>\r\n\r\n"
                                      "<b>Figuren - Vormen</b> (afgerond 2-6-2006)\r\n"
                                      "   1 van 2 goed, gemiddeld 6,2 s per vraag, IQ=1100\r\n"
                                      "   <a href=\"opnieuw#figu001\">Opnieuw maken</a>\r\n\r\n"
                                      "<a href=\"overzicht\">Terug naar het overzicht</a>\r\n";
    EXPECT_NE(text.find("<IMG NAME=\"t\\mijnresultaten.png\">\r\n\r\n" + expectedTable),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find(kNoResultsText), std::string::npos);

    // A chart that could not be written is left out; the table stays.
    const std::string noChart = ResultsPageMarkup({earlier, second, first}, "");
    EXPECT_EQ(noChart.find("<IMG"), std::string::npos);
    EXPECT_NE(noChart.find(expectedTable), std::string::npos);
}
