// "Mijn resultaten" in the main window: a test finished by clicks, its
// result on the page with the chart, taken again, and both results shown.
#include "app/main_form.h"
#include "app/status_flags.h"
#include "test_page_fixture.h"

#include "markup/parser_control.h"
#include "platform/datetime.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "results/result_attempts.h"
#include "results/results_chart.h"
#include "tests/common/paint_probe.h"
#include "tests/exam/test_engine_fixture.h"
#include "tests/recdb/db_bytes.h"

#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const std::vector<std::pair<std::string, std::string>> kTwoQuestions = {
    {"Test|getl00000000000", "Getallen"},
    {"Test|getl00100000000", "Reeksen\r\n\r\n<a href=\"starttest\">Begin de test</a>"},
    {"Test|getl00100101001a", "Vraag een\r\n<a href=\"a\">a</a> <a href=\"b\">b</a>"},
    {"Test|getl00100201001b", "Vraag twee\r\n<a href=\"a\">a</a> <a href=\"b\">b</a>"},
};

// Test getl001 of two one-click questions, with Piet (45) logged on.
class ResultsPageTest : public TestPageTest {
protected:
    void SetUp() override {
        TestPageTest::SetUp();
        dir.Write("D/IDbRecs.dat", dbtest::File(kTwoQuestions));
        Start();
    }

    GParserControl* View() const { return Control<GParserControl>(*form, "TestView"); }
    std::string Header() const {
        return Control<QLabel>(*form, "TestHeaderLbl")->text().toStdString();
    }
    // The whole of test getl001 by clicks, from the catalogue back to it.
    void TakeTest(const char* first, const char* second) {
        ASSERT_TRUE(ClickLink("STARTTEST"));
        for (const char* choice : {first, second}) {
            ASSERT_TRUE(ClickLink(choice)) << choice;
            now += 5 * kSecond;
            form->TestTimerTimer(); // the tick that times the answer
            Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
        }
        ASSERT_EQ(ViewText().rfind("Kies een test", 0), 0u);
    }
    QImage Chart() const { return QImage(plat::ResolvePath("T\\mijnresultaten.png")); }
    // How many marks of the chart on disk sit where the user's attempts go.
    int MarksInChart() const {
        const QImage chart = Chart();
        const TChartLayout layout =
            LayoutChart(LoadAttempts(form->TestRun().Content(), "Piet", 45), chart.width());
        int found = 0;
        for (const TChartMark& mark : layout.Marks)
            found += probe::SameColour(chart.pixel(mark.Centre), mark.Colour);
        return found;
    }
};

} // namespace

TEST_F(ResultsPageTest, FinishOpenResultsRetakeAndSeeBothResults) {
    Click(Control<TBaseBtn>(*form, "SelectTestBtn"));
    ASSERT_TRUE(ClickLink("MIJNRESULTATEN"));
    EXPECT_EQ(Header(), "Mijn resultaten");
    EXPECT_NE(ViewText().find("nog geen test helemaal gemaakt"), std::string::npos);
    EXPECT_EQ(ViewText().find("<IMG"), std::string::npos);

    ASSERT_TRUE(ClickLink("OVERZICHT"));
    ASSERT_TRUE(ClickLink("SELECTTEST#GETL001"));
    TakeTest("A", "A"); // one of two right: 1100

    ASSERT_TRUE(ClickLink("MIJNRESULTATEN"));
    EXPECT_EQ(Header(), "Mijn resultaten");
    EXPECT_NE(ViewText().find("<IMG NAME=\"t\\mijnresultaten.png\">"), std::string::npos);
    EXPECT_NE(ViewText().find("   1 van 2 goed, gemiddeld 5,0 s per vraag, IQ=1100\r\n"),
              std::string::npos)
        << ViewText();
    ASSERT_TRUE(QFileInfo::exists(plat::ResolvePath("T\\mijnresultaten.png")));
    EXPECT_EQ(MarksInChart(), 1);
    // The view shows the picture: its marks' colour is on screen.
    const QImage shown = View()->grab().toImage();
    probe::SaveOnFailure keep(shown, QStringLiteral("results_page"));
    EXPECT_GT(probe::Count(shown, [](QRgb c) { return probe::SameColour(c, ChartGroupColour(1)); }),
              20);
    const int chartWidth = Chart().width();
    EXPECT_GT(chartWidth, 200);
    EXPECT_LE(chartWidth, Control<QScrollArea>(*form, "TestTextCtrl")->viewport()->width());
    EXPECT_FALSE(HasFlag(form->StatusFlags(), sfTestRunning));

    const std::string before =
        plat::ReadProfileString(dir.Path() + "User/users.dat", "Piet.Answers", "getl001001");
    ASSERT_TRUE(ClickLink("OPNIEUW#GETL001"));
    EXPECT_EQ(Header(), "Getallen - Reeksen");
    EXPECT_EQ(
        plat::ReadProfileString(dir.Path() + "User/users.dat", "Piet.History", "getl001001.1"),
        before);
    now += 1;           // a day later
    TakeTest("A", "B"); // both right
    EXPECT_NE(ViewText().find("[2 vragen, 2 beantwoord] IQ=>155"), std::string::npos);

    ASSERT_TRUE(ClickLink("MIJNRESULTATEN"));
    EXPECT_EQ(MarksInChart(), 2);
    EXPECT_NE(ViewText().find("<b>Getallen - Reeksen</b> (eerder, afgerond 2-6-2006)\r\n"
                              "   1 van 2 goed, gemiddeld 5,0 s per vraag, IQ=1100\r\n\r\n"
                              "<b>Getallen - Reeksen</b> (afgerond 3-6-2006)\r\n"
                              "   2 van 2 goed, gemiddeld 5,0 s per vraag, IQ=>155\r\n"),
              std::string::npos)
        << ViewText();
}
