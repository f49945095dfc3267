#include "exam/catalogue.h"
#include "tests/exam/test_engine_fixture.h"

#include <gtest/gtest.h>

using enginetest::Engine;
using enginetest::Records;

namespace {

const Records kCatalogue = {
    {"Test|getl00000000000", "Getallen\r\nover getallen"},
    {"Test|getl00100000000", "Reeksen\r\n<a href=\"starttest\">Beginnen</a>"},
    {"Test|getl00100101001c", "Vraag 1"},
    {"Test|getl00100101001c|uitleg", "Omdat c."},
    {"Test|getl00100202002ab", "Vraag 2"},
    {"Test|getl00200000000", "Eén vraag"},
    {"Test|getl00200100501a", "Vraag"},
    {"Test|figu00000000000", "Figuren"},
    {"Test|figu00100000000", "Vormen"},
    {"Test|figu00100101001a", "Vraag 1"},
    {"Test|figu00100201001b", "Vraag 2"},
    {"Test|figu00200000000", "Laatste"},
    {"Test|figu00200101001x", "Vraag"},
    {"Test|leeg00000000000", "Lege groep"},
};

const char* kNoAnswers = "Kies een test uit onderstaande lijst:\r\n\r\n"
                         "\r\nGetallen\r\n\r\n"
                         "   <a href=\"selecttest#getl001\">Reeksen</a>\r\n"
                         "    <i> [2 vragen, 0 beantwoord] IQ=n.b.</i>\r\n\r\n"
                         "   <a href=\"selecttest#getl002\">Eén vraag</a>\r\n"
                         "    <i> [1 vraag, 0 beantwoord] IQ=n.b.</i>\r\n\r\n"
                         "    <i>Gemiddeld IQ=n.b.</i>\r\n\r\n"
                         "\r\nFiguren\r\n\r\n"
                         "   <a href=\"selecttest#figu001\">Vormen</a>\r\n"
                         "    <i> [2 vragen, 0 beantwoord] IQ=n.b.</i>\r\n\r\n"
                         "   <a href=\"selecttest#figu002\">Laatste</a>\r\n"
                         "    <i> [1 vraag, 0 beantwoord] IQ=n.b.</i>\r\n\r\n"
                         "    <i>Gemiddeld IQ=n.b.</i>\r\n\r\n"
                         "\r\nLege groep\r\n\r\n"
                         "    <i>Gemiddeld IQ=n.b.</i>\r\n\r\n";

TUserProfile User(const char* name, uint8_t age) {
    TUserProfile user;
    user.Name = name;
    user.Age = age;
    return user;
}

} // namespace

TEST(Catalogue, NoAnswersGiveNbEverywhere) {
    Engine e(kCatalogue);
    EXPECT_EQ(BuildCatalogueText(e.content, TAnswerSnapshot::Load("Piet"), 45), kNoAnswers);
    EXPECT_EQ(BuildCatalogueText(e.content, {}, 45), kNoAnswers);
}

TEST(Catalogue, WrongAnswersCountAsAnsweredAndGroupsSumTheirPoints) {
    Engine e(kCatalogue);
    e.Store("Piet", "getl001001", "b<38870,500><1000>"); // wrong
    e.Store("Piet", "getl001002", "<38870,500><0>");     // timed out: answered, empty
    e.Store("Piet", "figu001001", "a<38870,500><1000>"); // right: 10 of 20 -> raw 100
    e.Store("Piet", "figu002001", "y<38870,500><1000>"); // wrong: the last test has no IQ
    const std::string text = BuildCatalogueText(e.content, TAnswerSnapshot::Load("Piet"), 45);
    EXPECT_NE(text.find("\">Reeksen</a>\r\n    <i> [2 vragen, 2 beantwoord] IQ=n.b.</i>\r\n\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\">Vormen</a>\r\n    <i> [2 vragen, 1 beantwoord] IQ=1100</i>"),
              std::string::npos);
    EXPECT_NE(text.find("\">Laatste</a>\r\n    <i> [1 vraag, 1 beantwoord] IQ=n.b.</i>"),
              std::string::npos);
    // Group IQ from the summed points, 10 of 30 -> raw 66, not the 1100 of
    // the one scored test.
    EXPECT_NE(text.find("IQ=n.b.</i>\r\n\r\n    <i>Gemiddeld IQ=1066</i>\r\n\r\n\r\nLege groep"),
              std::string::npos);
    // Getallen: no point earned anywhere.
    EXPECT_NE(text.find("    <i>Gemiddeld IQ=n.b.</i>\r\n\r\n\r\nFiguren"), std::string::npos);
}

TEST(Catalogue, ProgressPerTestOfEachGroup) {
    Engine e(kCatalogue);
    std::vector<int> steps;
    BuildCatalogueText(e.content, {}, 45, [&](int p) { steps.push_back(p); });
    EXPECT_EQ(steps, (std::vector<int>{50, 100, 50, 100}));
}

TEST(Catalogue, CacheIsReusedAndRebuiltAfterAnAgeChange) {
    Engine e(kCatalogue);
    e.Store("Piet", "figu001001", "a<38870,500><1000>");
    TUserProfile user = User("Piet", 45);
    std::string cache;
    int builds = 0;
    const auto count = [&](int p) { builds += p == 100 ? 1 : 0; };

    const std::string first = EnsureCatalogue(cache, e.content, user, count);
    EXPECT_EQ(cache, first);
    EXPECT_NE(first.find("IQ=1100"), std::string::npos);
    const int buildsOfOne = builds;
    // An answer stored meanwhile does not show until the cache is emptied.
    e.Store("Piet", "figu001002", "x<38870,500><1000>");
    EXPECT_EQ(EnsureCatalogue(cache, e.content, user, count), first);
    EXPECT_EQ(builds, buildsOfOne);

    InvalidateCatalogueOnAgeChange(cache, 45, 45);
    EXPECT_EQ(cache, first);
    InvalidateCatalogueOnAgeChange(cache, 45, 16);
    user.Age = 16;
    EXPECT_TRUE(cache.empty());
    const std::string second = EnsureCatalogue(cache, e.content, user, count);
    EXPECT_EQ(builds, 2 * buildsOfOne);
    // The new answer and the new age group both show.
    EXPECT_NE(second.find("[2 vragen, 2 beantwoord] IQ=2100"), std::string::npos);
    InvalidateCatalogue(cache);
    EXPECT_TRUE(cache.empty());
}

TEST(Catalogue, BuildInterruptedByAUserChangeIsNotKept) {
    Engine e(kCatalogue);
    TUserProfile user = User("Piet", 45);
    std::string cache;
    // Events run while the build reports progress; a log-off among them
    // must not leave Piet's catalogue behind for the next user.
    const std::string shown =
        EnsureCatalogue(cache, e.content, user, [&](int) { user.Name.clear(); });
    EXPECT_EQ(shown, kNoAnswers);
    EXPECT_TRUE(cache.empty());
}

TEST(Catalogue, SelectingATestRestoresProgress) {
    Engine e(kCatalogue);
    e.Store("Piet", "getl001001", "c<38870,500><12000>");
    TTestRunState s;
    SelectTest(s, e.content, TAnswerSnapshot::Load("Piet"), "SELECTTEST#GETL001");
    EXPECT_EQ(s.CurrentTest, "getl001");
    EXPECT_EQ(s.TestQuestionCount, 2);
    EXPECT_EQ(s.QuestionNo, 1);
    EXPECT_DOUBLE_EQ(s.UsedTime, 12000.0 / 86400000);
    EXPECT_EQ(TestHeaderCaption(e.content, s), "Getallen - Reeksen voortzetten");

    e.Store("Piet", "getl001002", "<38870,500><3000>");
    SelectTest(s, e.content, TAnswerSnapshot::Load("Piet"), "selecttest#getl001");
    EXPECT_EQ(s.QuestionNo, 2);
    EXPECT_DOUBLE_EQ(s.UsedTime, 15000.0 / 86400000);
    EXPECT_EQ(TestHeaderCaption(e.content, s), "Getallen - Reeksen nalopen");

    SelectTest(s, e.content, TAnswerSnapshot::Load("Piet"), "selecttest#figu002");
    EXPECT_EQ(s.QuestionNo, 0);
    EXPECT_EQ(s.UsedTime, 0);
    EXPECT_EQ(TestHeaderCaption(e.content, s), "Figuren - Laatste");

    // A test without questions has nothing left to answer.
    SelectTest(s, e.content, {}, "selecttest#leeg001");
    EXPECT_EQ(s.TestQuestionCount, 0);
    EXPECT_EQ(TestHeaderCaption(e.content, s), "Lege groep -  nalopen");
}
