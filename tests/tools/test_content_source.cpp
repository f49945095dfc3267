#include "tools/content_check.h"
#include "tools/content_source.h"

#include <gtest/gtest.h>

namespace {

TContentSource Parse(const char* text) {
    TContentSource source;
    ParseContentText(QByteArray(text), "t.txt", source);
    return source;
}

std::vector<std::string> Messages(const TContentSource& s) {
    std::vector<std::string> out;
    for (const TContentMessage& m : s.Messages)
        out.push_back(m.Format());
    return out;
}

} // namespace

TEST(ContentSource, DirectivesCompileToKeysAndBodiesToCrLfLines) {
    const TContentSource s = Parse("# comment\n"
                                   "@groep abcd\r\n"
                                   "Titel\r\n"
                                   "\n"
                                   "@test 001\n"
                                   "\n"
                                   "Test\n"
                                   "# not in the body\n"
                                   "\\@not a directive\n"
                                   "\\\n"
                                   "\n"
                                   "@vraag 002 punten=5 lengte=2 antwoord=a b\n"
                                   "@uitleg\n"
                                   "Omdat.\n"
                                   "@achtergrond Over IQ | meer\n"
                                   "Caf\xC3\xA9\n"
                                   "@record\n"
                                   "@hex 41 00ff\n");
    EXPECT_TRUE(Messages(s).empty()) << Messages(s)[0];
    ASSERT_EQ(s.Records.size(), 7u);
    EXPECT_EQ(s.Records[0].Key, "Test|abcd00000000000");
    EXPECT_EQ(s.Records[0].Body, "Titel");
    EXPECT_EQ(s.Records[1].Key, "Test|abcd00100000000");
    EXPECT_EQ(s.Records[1].Body, "Test\r\n@not a directive\r\n");
    EXPECT_EQ(s.Records[1].BodyLine, 7);
    EXPECT_EQ(s.Records[2].Key, "Test|abcd00100200502a b");
    EXPECT_EQ(s.Records[2].Body, "");
    EXPECT_EQ(s.Records[3].Key, "Test|abcd00100200502a b|uitleg");
    EXPECT_EQ(s.Records[4].Key, "BkInfo|Over IQ | meer");
    EXPECT_EQ(s.Records[4].Body, "Caf\xE9"); // Windows-1252
    EXPECT_EQ(s.Records[5].Key, "");
    EXPECT_EQ(s.Records[6].Key, "A");
    EXPECT_EQ(s.Records[6].Body, std::string("\0\xFF", 2));
}

TEST(ContentSource, SyntaxErrorsNameFileAndLine) {
    const TContentSource s = Parse("stray text\n"
                                   "@vraag 001 punten=5 antwoord=a\n"
                                   "@groep AB\n"
                                   "@test 000\n"
                                   "@vraag 002 lengte=0 antwoord=x|y\n"
                                   "@uitleg\n"
                                   "@test 003\n"
                                   "@uitleg\n"
                                   "@onbekend\n");
    EXPECT_EQ(Messages(s), (std::vector<std::string>{
                               "t.txt:1: error: text outside a record (a record starts with a "
                               "line beginning with '@')",
                               "t.txt:2: error: question without answer length (lengte=)",
                               "t.txt:2: error: question outside a test (no @test before it in "
                               "this file)",
                               "t.txt:3: error: group code must be four digits or lower-case "
                               "letters",
                               "t.txt:4: error: @test needs a test number of three digits or "
                               "lower-case letters (not 000), optionally after a group code",
                               "t.txt:5: error: question without points (punten=)",
                               "t.txt:5: error: answer length must be a number from 1 to 99",
                               "t.txt:5: error: the answer cannot hold '|'",
                               "t.txt:8: error: @uitleg must directly follow a question",
                               "t.txt:9: error: unknown directive '@onbekend'"}));
    EXPECT_TRUE(s.HasErrors());
}

TEST(ContentCheck, FindsWhatKeepsContentFromWorking) {
    TContentSource s =
        Parse("@groep abcd\nGroep\n"
              "@test 001\nZonder startlink\n"
              "@vraag 001 punten=5 lengte=1 antwoord=c\n"
              "Vraag\n<img name=\"Weg.bmp\"> <img name=fig.bmp>\n<a href=a>a</a> <a href=b>b</a>\n"
              "@uitleg\nUitleg\n"
              "@vraag 001 punten=5 lengte=2 antwoord=ab\n<a href=a>a</a> <a href=b>b</a>\n"
              "@record Test|abcd00200100101a\n<a href=a>a</a>\n"
              "@record Test|wxyz00100100101a\n<a href=a>a</a>\n"
              "@record Test|abcd002002x0101a\n<a href=a>a</a>\n");
    CheckContent(s, {"fig.bmp"});
    EXPECT_EQ(Messages(s), (std::vector<std::string>{
                               "t.txt:3: error: test introduction without a link to \"starttest\"",
                               "t.txt:7: error: picture 'weg.bmp' is not in the picture archive",
                               "t.txt:5: error: the correct answer 'c' cannot be given with the "
                               "choices of this question",
                               "t.txt:11: error: question abcd001001 is defined twice",
                               "t.txt:11: error: question without explanation (@uitleg)",
                               "t.txt:13: error: test abcd002 has no header (@test)",
                               "t.txt:13: error: question without explanation (@uitleg)",
                               "t.txt:15: error: group wxyz has no header (@groep)",
                               "t.txt:15: error: test wxyz001 has no header (@test)",
                               "t.txt:15: error: question without explanation (@uitleg)",
                               "t.txt:17: error: test abcd002 has no header (@test)",
                               "t.txt:17: error: question without explanation (@uitleg)",
                               "t.txt:17: error: question without points"}));
}

TEST(ContentCheck, AnswersThatCanNeverMatchAndCharactersThatCannotShow) {
    TContentSource s = Parse("@groep abcd\nGroep\n"
                             "@test 001\n<a href=starttest>s</a>\n"
                             "@vraag 001 punten=5 lengte=1 antwoord=B\n<a href=b>b</a>\n"
                             "@uitleg\nu\n"
                             "@vraag 002 punten=5 lengte=1 antwoord=a<b\n<input type=text name=t>\n"
                             "@uitleg\nu\n"
                             "@vraag 003 punten=5 lengte=1 antwoord=b\n"
                             "<input type=radio name=r value=a> <input type=radio name=r value=b>\n"
                             "@uitleg\nCaf\xC3\xA9 \xE2\x86\x92 ok\n"
                             "@uitleg\n\xFF\xFE\n");
    CheckContent(s, {});
    EXPECT_EQ(Messages(s),
              (std::vector<std::string>{
                  "t.txt:16: warning: characters that Windows-1252 lacks show as '?'",
                  "t.txt:17: error: @uitleg must directly follow a question",
                  "t.txt:18: warning: characters that Windows-1252 lacks show as '?'",
                  "t.txt:5: error: the correct answer 'B' must be in lower case: choices arrive "
                  "in lower case",
                  "t.txt:9: error: the correct answer cannot hold '<': a stored answer ends there",
                  "t.txt:13: error: the correct answer 'b' cannot be given with the choices of "
                  "this question"}));
}

TEST(ContentCheck, ChoicesThatShowTheSameAndCheckBoxesForOneClick) {
    TContentSource s = Parse(
        "@groep abcd\nGroep\n@test 001\n<a href=starttest>s</a>\n"
        // Two labels, one word: "zes" twice.
        "@vraag 001 punten=5 lengte=1 antwoord=c\n"
        "<a href=a>a) zes</a>\n<a href=b>b) <b>Zes</b> </a>\n<a href=c>c) acht</a>\n@uitleg\nu\n"
        // Two files, one picture.
        "@vraag 002 punten=5 lengte=1 antwoord=a\n"
        "<a href=a><img name=p1.png></a> <a href=b><img name=p2.png></a>\n@uitleg\nu\n"
        // One click with check boxes; with two clicks they are allowed.
        "@vraag 003 punten=5 lengte=1 antwoord=x\n"
        "<input type=checkbox name=k value=x> <input type=checkbox name=l value=y>\n@uitleg\nu\n"
        "@vraag 004 punten=5 lengte=2 antwoord=xy\n"
        "<input type=checkbox name=k value=x> <input type=checkbox name=l value=y>\n@uitleg\nu\n"
        // Different pictures and texts are fine.
        "@vraag 005 punten=5 lengte=1 antwoord=a\n"
        "<a href=a><img name=p1.png></a> <a href=b><img name=p3.png></a> <a href=c>c) 12</a>\n"
        "@uitleg\nu\n");
    CheckContent(s, {"p1.png", "p2.png", "p3.png"},
                 {{"p1.png", "same"}, {"p2.png", "same"}, {"p3.png", "other"}});
    EXPECT_EQ(Messages(s),
              (std::vector<std::string>{
                  "t.txt:5: error: choices 'a' and 'b' show the same",
                  "t.txt:11: error: choices 'a' and 'b' show the same",
                  "t.txt:15: error: a question answered with one click has check boxes: a "
                  "second tick keeps the first one ticked while only the last counts; use links "
                  "or radio buttons"}));
}

TEST(ContentCheck, APictureChoiceIsInsideItsLink) {
    TContentSource s =
        Parse("@groep abcd\nGroep\n@test 001\n<a href=starttest>s</a>\n"
              "@vraag 001 punten=5 lengte=1 antwoord=a\n"
              "<a href=a>a)</a> <img name=p1.png> <a href=b>b) <img name=p2.png></a>\n"
              "@uitleg\nu\n");
    CheckContent(s, {"p1.png", "p2.png"});
    EXPECT_EQ(Messages(s), (std::vector<std::string>{
                               "t.txt:5: error: choice 'a' shows nothing but its label; put what "
                               "it chooses inside the link"}));
}
