// The links of the results page in the engine: "Mijn resultaten" under the
// catalogue, "Opnieuw maken" and the way back.
#include "exam/catalogue.h"
#include "exam/iq_score.h"
#include "exam/run.h"
#include "platform/datetime.h"
#include "platform/profile_file.h"
#include "tests/exam/fake_test_page.h"
#include "tests/exam/test_engine_fixture.h"

#include <gtest/gtest.h>

using enginetest::Engine;
using S = TTestRunState;

namespace {

const enginetest::Records kTests = {
    {"Test|getl00000000000", "Getallen"},
    {"Test|getl00100000000", "Reeksen\r\n<a href=\"starttest\">Begin</a>"},
    {"Test|getl00100101001a", "Vraag een"},
    {"Test|getl00100201001b", "Vraag twee"},
    {"Test|getl00200000000", "Blind\r\n<a href=\"starttest\">Begin</a>"},
    {"Test|getl00200101001c", "Vraag"},
};

struct Fixture {
    Engine e{kTests};
    std::string cache;
    TUserProfile user;
    FakeTestPage page;
    plat::ScopedClock clock{[] { return plat::EncodeDateTime({2006, 6, 2, 12, 0, 0, 0}); }};
    TTestRun run{cache, e.db, e.index, user, page};

    Fixture() {
        user.Name = "Piet";
        user.Age = 45;
        run.SetLoggedOn();
    }
    void Finish(const char* test, std::initializer_list<const char*> answers) {
        run.ChooseTestBtnClick();
        run.TestTextHyperLinkClick(std::string("SELECTTEST#") + test);
        run.TestTextHyperLinkClick("STARTTEST");
        for (const char* a : answers) {
            run.TestTextHyperLinkClick(a);
            run.NextQuestionBtnClick(TRunSender::NextButton);
        }
    }
};

} // namespace

TEST(ResultsLinks, TheCatalogueEndsWithTheResultsLinkAndKeepsItsCacheAsBuilt) {
    Fixture f;
    f.run.ChooseTestBtnClick();
    const std::string built = BuildCatalogueText(f.e.content, {}, 45);
    EXPECT_EQ(f.page.text, built + "\r\n   <a href=\"mijnresultaten\">Mijn resultaten</a>\r\n");
    EXPECT_EQ(f.cache, built);
    f.run.ChooseTestBtnClick(); // from the cache, the link added once
    EXPECT_EQ(f.page.text, CatalogueWithResultsLink(built));
    EXPECT_TRUE(IsResultsLink("MIJNRESULTATEN"));
    EXPECT_FALSE(IsResultsLink("mijnresultaten2"));
    EXPECT_TRUE(IsRetakeLink("OPNIEUW#GETL001"));
    EXPECT_EQ(RetakeTestKey("OPNIEUW#GETL001"), "getl001");
}

TEST(ResultsLinks, TheResultsPageIsACatalogueStateAndOnlyOpensWhenNoTestRuns) {
    Fixture f;
    f.run.ChooseTestBtnClick();
    f.run.TestTextHyperLinkClick("SELECTTEST#GETL001");
    f.run.TestTextHyperLinkClick("MIJNRESULTATEN");
    EXPECT_EQ(f.page.header, "Mijn resultaten");
    EXPECT_EQ(f.page.text, "Resultaten van Piet");
    EXPECT_EQ(f.page.resultsPages, 1);
    EXPECT_TRUE(f.run.State().Has(S::sfTestPage));
    EXPECT_TRUE(f.run.State().CurrentTest.empty());
    EXPECT_TRUE(f.page.inputsEnabled);
    f.run.TestTextHyperLinkClick("OVERZICHT");
    EXPECT_EQ(f.page.header, "Tests");

    // During a run the same target is only a choice.
    f.run.TestTextHyperLinkClick("SELECTTEST#GETL001");
    f.run.TestTextHyperLinkClick("STARTTEST");
    f.run.TestTextHyperLinkClick("MIJNRESULTATEN");
    f.run.TestTextHyperLinkClick("OPNIEUW#GETL001");
    EXPECT_EQ(f.page.resultsPages, 1);
    EXPECT_TRUE(f.run.State().Has(S::sfTestRunning));
    EXPECT_EQ(f.page.answerCaption, "Keuze: opnieuw#getl001");
}

TEST(ResultsLinks, RetakeMovesTheFinishedTestToTheHistoryAndSelectsItAfresh) {
    Fixture f;
    f.Finish("GETL001", {"A", "A"}); // one of two right
    f.Finish("GETL002", {"C"});
    const std::string first = f.e.Stored("Piet", "getl001001");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(GetTestIQ(f.e.content, "getl001", "Piet", 45), "1100");
    f.run.TestTextHyperLinkClick("MIJNRESULTATEN");

    int replaces = 0;
    plat::detail::SetProfileWriteHook([&](plat::detail::ProfileWriteStage stage) {
        replaces += stage == plat::detail::ProfileWriteStage::Synced;
        return true;
    });
    f.run.TestTextHyperLinkClick("OPNIEUW#GETL001");
    plat::detail::SetProfileWriteHook({});
    EXPECT_EQ(replaces, 1);
    // Selected as its catalogue link selects it, ready to start afresh.
    EXPECT_EQ(f.run.State().CurrentTest, "getl001");
    EXPECT_EQ(f.run.State().QuestionNo, 0);
    EXPECT_EQ(f.page.header, "Getallen - Reeksen");
    EXPECT_EQ(f.page.text, "Reeksen\r\n<a href=\"starttest\">Begin</a>");
    EXPECT_TRUE(f.cache.empty());
    EXPECT_EQ(f.e.Stored("Piet", "getl001001"), "");
    EXPECT_EQ(plat::ReadProfileString(f.e.UsersFile(), "Piet.History", "getl001001.1"), first);
    EXPECT_EQ(f.e.Stored("Piet", "getl002001"), "c<38870,500><0>");

    // Out of every figure the catalogue and the IQ show.
    EXPECT_EQ(GetTestIQ(f.e.content, "getl001", "Piet", 45), "n.b.");
    f.run.ChooseTestBtnClick();
    EXPECT_NE(f.page.text.find("Reeksen</a>\r\n    <i> [2 vragen, 0 beantwoord] IQ=n.b.</i>"),
              std::string::npos)
        << f.page.text;

    // Taken again and retaken once more: the history keeps both attempts.
    f.Finish("GETL001", {"A", "B"});
    EXPECT_EQ(GetTestIQ(f.e.content, "getl001", "Piet", 45), ">155");
    f.run.TestTextHyperLinkClick("OPNIEUW#getl001");
    EXPECT_EQ(plat::ReadProfileString(f.e.UsersFile(), "Piet.History", "getl001002.2"),
              "b<38870,500><0>");
    EXPECT_EQ(plat::ReadProfileString(f.e.UsersFile(), "Piet.History", "getl001002.1"),
              "a<38870,500><0>");
}

TEST(ResultsLinks, AnUnfinishedOrUnknownTestIsNotMoved) {
    Fixture f;
    f.run.ChooseTestBtnClick();
    f.run.TestTextHyperLinkClick("SELECTTEST#GETL001");
    f.run.TestTextHyperLinkClick("STARTTEST");
    f.run.TestTextHyperLinkClick("A");
    f.run.PauseTestBtnClick(); // one of two stored
    f.run.ChooseTestBtnClick();
    f.run.TestTextHyperLinkClick("OPNIEUW#GETL001");
    EXPECT_FALSE(f.e.Stored("Piet", "getl001001").empty());
    EXPECT_TRUE(plat::ReadProfileSection(f.e.UsersFile(), "Piet.History").empty());
    EXPECT_EQ(f.page.header, "Getallen - Reeksen voortzetten");

    f.run.ChooseTestBtnClick();
    f.run.TestTextHyperLinkClick("OPNIEUW#");
    f.run.TestTextHyperLinkClick("OPNIEUW#zzzz999");
    EXPECT_EQ(f.page.header, "Tests");
    EXPECT_TRUE(f.run.State().CurrentTest.empty());
    EXPECT_TRUE(f.page.writeFailures.empty());
}
