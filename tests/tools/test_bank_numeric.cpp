// The generated number series, letter series and word problems, and the
// checker that solves them again from their rules.
#include "tests/tools/bank_test_support.h"
#include "tools/bank/bank_check.h"
#include "tools/bank/numeric_bank.h"
#include "tools/bank/numeric_check.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>
#include <set>

using namespace bank_test;

namespace {

constexpr uint32_t kSeed = 20261207;

std::string AllText(const std::vector<TBankGroup>& groups) {
    std::string text;
    for (const TBankGroup& g : groups)
        text += GroupSourceText(g);
    return text;
}

// The value of "key=" in a rule line, empty when absent.
std::string Field(const std::string& rule, const std::string& key) {
    const std::string mark = " " + key + "=";
    const std::size_t at = rule.find(mark);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + mark.size();
    return rule.substr(start, rule.find(' ', start) - start);
}

std::vector<std::string> Problems(const std::string& rule, const std::string& answer) {
    return CheckedBy(CheckNumericRule, rule, answer);
}

// The choices as shown on the page: letter -> text after "x) ".
std::map<char, std::string> PageChoices(const std::string& page) {
    static const std::regex link("<a href=\"([a-e])\">([a-e])\\) ([^<]*)</a>");
    std::map<char, std::string> choices;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), link);
         it != std::sregex_iterator(); ++it) {
        EXPECT_EQ((*it)[1], (*it)[2]) << page;
        choices[(*it)[1].str()[0]] = (*it)[3];
    }
    return choices;
}

std::string Dutch(std::string value) {
    for (char& c : value)
        if (c == '.')
            c = ',';
    return value;
}

TEST(NumericBank, SameSeedGivesTheSameTextAnotherSeedDoesNot) {
    const std::string once = AllText(MakeNumericBank(kSeed));
    EXPECT_EQ(once, AllText(MakeNumericBank(kSeed)));
    EXPECT_NE(once, AllText(MakeNumericBank(kSeed + 1)));
}

TEST(NumericBank, GroupsTestsAndQuestionsAsPlanned) {
    const std::vector<TBankGroup> groups = MakeNumericBank(kSeed);
    ASSERT_EQ(groups.size(), 3u);
    struct Plan {
        const char* File;
        const char* Code;
        const char* Title;
        std::size_t Tests;
        std::size_t Questions;
    };
    const Plan plans[] = {{"30-getallenreeksen", "getl", "Getallenreeksen", 3, 25},
                          {"31-letterreeksen", "letr", "Letterreeksen", 2, 20},
                          {"32-rekenvraagstukken", "reke", "Rekenvraagstukken", 3, 20}};
    for (std::size_t g = 0; g < 3; ++g) {
        const TBankGroup& group = groups[g];
        const Plan& plan = plans[g];
        EXPECT_EQ(group.FileName, plan.File);
        EXPECT_EQ(group.Code, plan.Code);
        EXPECT_EQ(group.Title, plan.Title);
        ASSERT_EQ(group.Tests.size(), plan.Tests) << plan.File;
        for (std::size_t t = 0; t < group.Tests.size(); ++t) {
            const TBankTest& test = group.Tests[t];
            EXPECT_EQ(test.Number, "00" + std::to_string(t + 1));
            EXPECT_EQ(test.Questions.size(), plan.Questions) << test.Title;
            EXPECT_NE(test.Introduction.find("De test bestaat uit " +
                                             std::to_string(plan.Questions) + " vragen"),
                      std::string::npos)
                << test.Title;
            EXPECT_TRUE(std::regex_search(
                test.Introduction,
                std::regex("Wij raden een tijdslimiet van [0-9]+ seconden per vraag aan\\.")))
                << test.Title;
            for (const TBankQuestion& q : test.Questions) {
                EXPECT_EQ(q.Points, 10);
                EXPECT_EQ(q.AnswerLength, 1);
                EXPECT_EQ(q.Text.find("checkbox"), std::string::npos);
                const std::map<char, std::string> choices = PageChoices(q.Text);
                EXPECT_TRUE(choices.size() == 4 || choices.size() == 5) << q.Text;
                EXPECT_EQ(choices.rbegin()->first, char('a' + choices.size() - 1)) << q.Text;
                ASSERT_EQ(q.Answer.size(), 1u);
                EXPECT_TRUE(choices.count(q.Answer[0])) << q.Text;
            }
        }
    }
    // Letterreeksen II runs round after Z and says so.
    EXPECT_NE(groups[1].Tests[1].Introduction.find("na de Z komt weer de A"), std::string::npos);
}

TEST(NumericBank, EveryTestRunsEasyMiddleHardInThirds) {
    for (const TBankGroup& group : MakeNumericBank(kSeed)) {
        std::vector<int> firstProfile;
        for (const TBankTest& test : group.Tests) {
            std::vector<int> counts(3, 0);
            int previous = 0;
            for (const TBankQuestion& q : test.Questions) {
                const std::string level = Field(q.Rule, "level");
                const int tier = level == "easy"     ? 0
                                 : level == "middle" ? 1
                                 : level == "hard"   ? 2
                                                     : -1;
                ASSERT_GE(tier, 0) << q.Rule;
                EXPECT_GE(tier, previous) << test.Title << ": harder question before an easier one";
                previous = tier;
                ++counts[std::size_t(tier)];
            }
            const int third = int(test.Questions.size()) / 3;
            for (int c : counts)
                EXPECT_LE(std::abs(c - third), 1) << test.Title;
            if (firstProfile.empty())
                firstProfile = counts;
            EXPECT_EQ(counts, firstProfile) << test.Title << " has another profile";
        }
    }
}

TEST(NumericBank, EveryRulePassesTheChecker) {
    const char* kinds[] = {"series ", "letters ", "word "};
    for (uint32_t seed : {kSeed, 1u, 2u, 3u, 4242u, 90210u}) {
        const std::vector<TBankGroup> groups = MakeNumericBank(seed);
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (const TBankTest& test : groups[g].Tests)
                for (const TBankQuestion& q : test.Questions) {
                    EXPECT_EQ(q.Rule.rfind(kinds[g], 0), 0u) << q.Rule;
                    const std::vector<std::string> problems = Problems(q.Rule, q.Answer);
                    EXPECT_TRUE(problems.empty()) << "seed " << seed << ": " << q.Rule << "\n"
                                                  << Joined(problems);
                }
        // The rules files say the same, key by key.
        for (const TBankGroup& group : groups)
            EXPECT_TRUE(CheckRulesText(GroupRulesText(group)).empty()) << group.FileName;
    }
}

TEST(NumericBank, PagesShowWhatTheRulesSay) {
    for (const TBankGroup& group : MakeNumericBank(kSeed)) {
        for (const TBankTest& test : group.Tests) {
            std::set<std::string> keys;
            for (const TBankQuestion& q : test.Questions) {
                keys.insert(q.Answer);
                const std::map<char, std::string> choices = PageChoices(q.Text);
                const bool word = q.Rule.rfind("word ", 0) == 0;
                for (const auto& [letter, shown] : choices) {
                    const std::string value = Field(q.Rule, std::string(1, letter));
                    ASSERT_FALSE(value.empty()) << q.Rule;
                    if (!word) {
                        EXPECT_EQ(shown, value) << q.Rule;
                    } else if (Field(q.Rule, "tpl") != "tijd") {
                        EXPECT_NE(shown.find(Dutch(value)), std::string::npos)
                            << shown << " / " << q.Rule;
                    }
                }
                EXPECT_EQ(Field(q.Rule, std::string(1, char('a' + choices.size()))), "") << q.Rule;
                if (!word) {
                    // "<b>3   6   12   ...</b>" holds the rule's terms.
                    std::string terms = Field(q.Rule, "terms");
                    std::string line;
                    for (char c : terms)
                        line += c == ',' ? std::string("   ") : std::string(1, c);
                    EXPECT_NE(q.Text.find("<b>" + line + "   ...</b>"), std::string::npos)
                        << q.Text;
                }
                // The explanation works out the keyed value, names the key and at
                // least one tempting wrong choice.
                EXPECT_NE(q.Explanation.find("(antwoord " + q.Answer + ")"), std::string::npos)
                    << q.Explanation;
                const std::string keyShown = choices.at(q.Answer[0]);
                const std::string keyValue = Dutch(Field(q.Rule, q.Answer));
                EXPECT_TRUE(q.Explanation.find("<b>" + keyShown + "</b>") != std::string::npos ||
                            (word && q.Explanation.find("<b>" + keyValue) != std::string::npos))
                    << q.Explanation;
                bool namesOther = false;
                for (const auto& [letter, shown] : choices)
                    namesOther = namesOther || (std::string(1, letter) != q.Answer &&
                                                q.Explanation.find(shown + " (antwoord " + letter +
                                                                   ")") != std::string::npos);
                EXPECT_TRUE(namesOther) << q.Explanation;
            }
            EXPECT_GE(keys.size(), 3u) << test.Title << ": the key hardly moves";
        }
    }
}

TEST(NumericBank, WordProblemsStateTheNumbersTheRuleSolves) {
    for (uint32_t seed : {kSeed, 7u}) {
        const std::vector<TBankGroup> groups = MakeNumericBank(seed);
        for (const TBankTest& test : groups[2].Tests)
            for (const TBankQuestion& q : test.Questions) {
                const std::string question = q.Text.substr(0, q.Text.find("<a href"));
                std::size_t at = q.Rule.find(" tpl=");
                at = q.Rule.find(' ', at + 1);
                // Every field after the template up to the choices: key=value.
                while (at != std::string::npos) {
                    const std::size_t end = q.Rule.find(' ', at + 1);
                    const std::string field = q.Rule.substr(at + 1, end - at - 1);
                    at = end;
                    const std::string key = field.substr(0, field.find('='));
                    if (key.size() == 1)
                        break; // the choices
                    std::string values = field.substr(key.size() + 1);
                    std::size_t from = 0;
                    while (from <= values.size()) {
                        const std::size_t comma = values.find(',', from);
                        const std::string value = values.substr(from, comma - from);
                        EXPECT_NE(question.find(Dutch(value)), std::string::npos)
                            << key << "=" << value << " not in: " << question;
                        if (comma == std::string::npos)
                            break;
                        from = comma + 1;
                    }
                }
            }
    }
}

TEST(NumericCheck, ReadsEachFamilyFromItsTerms) {
    struct Case {
        std::vector<int64_t> Terms;
        int64_t Next;
        const char* Family;
    };
    const Case cases[] = {
        {{3, 7, 11, 15}, 19, "constant difference"},
        {{81, 27, 9, 3}, 1, "constant ratio"},
        {{16, 24, 36, 54}, 81, "constant ratio"},
        {{2, 5, 10, 17, 26}, 37, "differences growing by a constant"},
        {{1, 1, 2, 3, 5, 8}, 13, "sum of the previous two"},
        {{3, 7, 15, 31}, 63, "multiply then add"},
        {{1, 8, 27, 64}, 125, "cubes plus a constant"},
        {{1, 4, 3, 6, 5, 8}, 7, "two alternating operations"},
        {{2, 5, 10, 13, 26}, 29, "two alternating operations"},
        {{2, 20, 4, 17, 6, 14}, 8, "two interleaved series"},
        {{2, 4, 12, 48}, 240, "ratios growing by a constant"},
    };
    for (const Case& c : cases) {
        bool found = false;
        for (const TSeriesFit& fit : FitNumberSeries(c.Terms))
            found = found || (fit.Family == c.Family && fit.Next == c.Next);
        EXPECT_TRUE(found) << c.Family << " -> " << c.Next;
    }
    // Five terms show one of two interleaved series only twice: no reading.
    for (const TSeriesFit& fit : FitNumberSeries({1, 2, 4, 8, 16}))
        EXPECT_EQ(fit.Next, 32) << fit.Family;

    // Letters: X Z B D runs on to F only when the alphabet wraps.
    const std::vector<int> xzbd = {23, 25, 1, 3};
    bool wrapped = false;
    for (const TSeriesFit& fit : FitLetterSeries(xzbd, true))
        wrapped = wrapped || fit.Next == 5;
    EXPECT_TRUE(wrapped);
    // T V X Z would go on past Z: without wrap nothing follows.
    for (const TSeriesFit& fit : FitLetterSeries({19, 21, 23, 25}, false))
        EXPECT_NE(fit.Family, "constant difference");
}

TEST(NumericCheck, RejectsSeriesThatAreAmbiguousOrWrong) {
    // 1 2 4: doubling gives 8, differences +1 +2 +3 give 7.
    const std::string doubling = "series fam=geom start=1 ratio=2 terms=1,2,4 a=8 b=7 c=9 d=10";
    EXPECT_TRUE(Mentions(Problems(doubling, "a"), "(choice b)")) << Joined(Problems(doubling, "a"));
    // 2 3 5 8: the sum of the two before gives 13, growing differences 12.
    const std::string fib = "series fam=fib first=2 second=3 terms=2,3,5,8 a=13 b=12 c=11 d=14";
    EXPECT_TRUE(Mentions(Problems(fib, "a"), "(choice b)"));
    // The same question without the rival reading on offer is fine.
    EXPECT_TRUE(
        Problems("series fam=fib first=2 second=3 terms=2,3,5,8 a=13 b=16 c=11 d=14", "a").empty());

    const std::string good =
        "series level=easy fam=arith start=3 step=4 terms=3,7,11,15 a=21 b=19 c=20 d=23";
    EXPECT_TRUE(Problems(good, "b").empty()) << Joined(Problems(good, "b"));
    EXPECT_TRUE(Mentions(Problems(good, "c"), "keyed answer 'c'"));
    EXPECT_TRUE(Mentions(
        Problems("series fam=arith start=3 step=4 terms=3,7,11,15 a=21 b=19 c=19 d=23", "b"),
        "choices b and c are both 19"));
    EXPECT_TRUE(Mentions(
        Problems("series fam=arith start=3 step=4 terms=3,7,11,15 a=21 b=18 c=20 d=23", "b"),
        "no choice is the correct answer 19"));
    EXPECT_TRUE(Mentions(
        Problems("series fam=arith start=3 step=4 terms=3,7,12,15 a=21 b=19 c=20 d=23", "b"),
        "term 3 is 12"));
    EXPECT_TRUE(Mentions(Problems("series fam=arith start=3 terms=3,7,11,15 a=21 b=19", "b"),
                         "missing field 'step'"));
    EXPECT_TRUE(Mentions(
        Problems("series level=hardest fam=arith start=3 step=4 terms=3,7,11,15 a=21 b=19", "b"),
        "unknown level"));
    // A stated rule that the terms cannot show (one term per series) is no question.
    EXPECT_TRUE(
        Mentions(Problems("series fam=inter s1=1 op1=+1 s2=9 op2=x2 terms=1,9,2,18 a=3 b=36", "a"),
                 "no known reading"));

    bool handled = true;
    EXPECT_TRUE(CheckNumericRule("figure something", "a", handled).empty());
    EXPECT_FALSE(handled);
}

TEST(NumericCheck, LettersWrapOnlyWhenTheRuleSaysSo) {
    // T W Z C: +3 with wrap gives F.
    EXPECT_TRUE(
        Problems("letters wrap=1 fam=step start=T step=3 terms=T,W,Z,C a=F b=G c=E d=H", "a")
            .empty());
    EXPECT_TRUE(Mentions(
        Problems("letters wrap=0 fam=step start=T step=3 terms=T,W,Z,C a=F b=G c=E d=H", "a"),
        "runs past the alphabet"));
    // A B D: growing steps give G, doubling places (1 2 4) gives H.
    EXPECT_TRUE(Mentions(
        Problems("letters wrap=0 fam=grow start=A step=1 grow=1 terms=A,B,D a=G b=H c=F d=I", "a"),
        "(choice b)"));
    // A Z B Y C X: two series, the next letter is D.
    const std::string inter =
        "letters wrap=0 fam=inter s1=A step1=1 s2=Z step2=-1 terms=A,Z,B,Y,C,X a=W b=D c=E d=F";
    EXPECT_TRUE(Problems(inter, "b").empty()) << Joined(Problems(inter, "b"));
    EXPECT_TRUE(Mentions(Problems(inter, "a"), "keyed answer 'a'"));
}

TEST(NumericCheck, SolvesEveryWordTemplateAgain) {
    // Worked out by hand.
    const std::map<std::string, std::pair<std::string, std::string>> cases = {
        {"prijs", {"count=4 total=12 want=5", "15"}},
        {"korting", {"price=80 pct=25", "60"}},
        {"korting2", {"price=200 pct1=20 pct2=10", "144"}},
        {"terug", {"price=165 pct=10", "150"}},
        {"procent", {"total=200 pct=20", "40"}},
        {"procentrest", {"total=540 pct=65", "189"}},
        {"procent2", {"price=700 pct=20", "672"}},
        {"werk", {"workers=3 days=4 workers2=2", "6"}},
        {"samen", {"time1=30 time2=45", "18"}},
        {"snelheid", {"km=6 minutes=45", "8"}},
        {"tijd", {"km=150 speed=60", "150"}},
        {"gemsnelheid", {"km=240 speed1=60 speed2=40", "48"}},
        {"leeftijd", {"sum=41 diff=31", "5"}},
        {"leeftijd2", {"times=5 years=15 times2=2", "5"}},
        {"mengen", {"part1=1 part2=4 total=1500", "300"}},
        {"mengen2", {"vol1=30 pct1=10 vol2=20 pct2=30", "18"}},
        {"gemiddelde", {"values=6,9,7,10,4", "7.2"}},
        {"gemontbreekt", {"values=5,4,8,4 mean=6", "9"}},
        {"gemiddelde2", {"count=7 mean=6 target=6.4", "9.2"}},
    };
    for (const auto& [tpl, c] : cases) {
        const std::string base =
            "word tpl=" + tpl + " " + c.first + " a=1000 b=" + c.second + " c=999";
        EXPECT_TRUE(Problems(base, "b").empty()) << tpl << ": " << Joined(Problems(base, "b"));
        EXPECT_TRUE(Mentions(Problems(base, "a"), "keyed answer 'a'")) << tpl;
    }
    EXPECT_TRUE(Mentions(Problems("word tpl=korting price=80 pct=25 a=20 b=55 c=100", "a"),
                         "no choice is the correct answer 60"));
    EXPECT_TRUE(
        Mentions(Problems("word tpl=raadsel x=1 a=1 b=2", "a"), "unknown word problem template"));

    // Every template the generator uses is one we solved by hand above.
    std::set<std::string> used;
    for (uint32_t seed : {kSeed, 1u, 2u, 3u}) {
        const std::vector<TBankGroup> groups = MakeNumericBank(seed);
        for (const TBankTest& test : groups[2].Tests)
            for (const TBankQuestion& q : test.Questions)
                used.insert(Field(q.Rule, "tpl"));
    }
    for (const std::string& tpl : used)
        EXPECT_TRUE(cases.count(tpl)) << tpl;
    EXPECT_EQ(used.size(), cases.size()) << "a template is never generated";
}

TEST(NumericCheck, FractionsAreExact) {
    EXPECT_EQ(TFraction::Parse("2.50")->ToDecimal(), "2.5");
    EXPECT_EQ(TFraction::Parse("-0.125")->ToDecimal(), "-0.125");
    EXPECT_EQ(TFraction::Parse("3/4")->ToDecimal(), "0.75");
    EXPECT_EQ(TFraction(1, 3).ToDecimal(), "");
    EXPECT_TRUE(TFraction(1, 10) + TFraction(2, 10) == TFraction(3, 10));
    EXPECT_FALSE((TFraction(1) / TFraction(0)).Valid());
    EXPECT_FALSE(TFraction::Parse("1.2.3"));
    EXPECT_FALSE(TFraction::Parse("+4"));
    EXPECT_FALSE(TFraction::Parse("4/0"));
}

} // namespace
