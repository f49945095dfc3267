#include "tests/tools/bank_test_support.h"
#include "tools/bank/bank_check.h"
#include "tools/bank/figure_bank.h"
#include "tools/bank/figure_draw.h"
#include "tools/bank/figure_rules.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace figure;
using namespace bank_test;

namespace {

constexpr uint32_t kSeed = 19870314; // the one zenx-bankgen uses

const TFigureBank& Bank() {
    static const TFigureBank bank = MakeFigureBank(kSeed);
    return bank;
}

std::vector<std::string> Check(const std::string& rule, const std::string& answer) {
    return CheckedBy(CheckFigureRule, rule, answer);
}

// Pixels that differ by more than antialiasing noise.
int StrongDifferences(const QImage& a, const QImage& b) {
    EXPECT_EQ(a.size(), b.size());
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 64 ? 1 : 0;
    return count;
}

} // namespace

// ------------------------------------------------------------ the bank

TEST(FigureBank, SameSeedGivesSameTextAndPictures) {
    const TFigureBank again = MakeFigureBank(kSeed);
    ASSERT_EQ(again.Groups.size(), Bank().Groups.size());
    for (size_t g = 0; g < again.Groups.size(); ++g) {
        EXPECT_EQ(GroupSourceText(again.Groups[g]), GroupSourceText(Bank().Groups[g]));
        EXPECT_EQ(GroupRulesText(again.Groups[g]), GroupRulesText(Bank().Groups[g]));
    }
    ASSERT_EQ(again.Pictures.size(), Bank().Pictures.size());
    for (size_t i = 0; i < again.Pictures.size(); ++i) {
        EXPECT_EQ(again.Pictures[i].first, Bank().Pictures[i].first);
        EXPECT_TRUE(again.Pictures[i].second == Bank().Pictures[i].second)
            << again.Pictures[i].first.toStdString();
    }
    // Another seed makes another bank.
    EXPECT_NE(GroupSourceText(MakeFigureBank(kSeed + 1).Groups[0]),
              GroupSourceText(Bank().Groups[0]));
}

TEST(FigureBank, GroupsTestsAndQuestionsAsPlanned) {
    const auto& groups = Bank().Groups;
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].FileName, "40-figuren");
    EXPECT_EQ(groups[0].Code, "figu");
    EXPECT_EQ(groups[0].Title, "Figuren en matrices");
    EXPECT_EQ(groups[1].FileName, "41-ruimtelijk");
    EXPECT_EQ(groups[1].Code, "ruim");
    ASSERT_EQ(groups[0].Tests.size(), 5u);
    ASSERT_EQ(groups[1].Tests.size(), 4u);
    EXPECT_EQ(groups[0].Tests[4].Title, "Wat hoort er niet bij?");
    EXPECT_EQ(groups[1].Tests[3].Title, "Kubussen vouwen II");
    size_t questions = 0;
    for (const TBankGroup& g : groups)
        for (const TBankTest& t : g.Tests) {
            EXPECT_EQ(t.Questions.size(), 20u) << g.Code << t.Number;
            EXPECT_NE(t.Introduction.find("20 vragen"), std::string::npos);
            EXPECT_NE(t.Introduction.find("Wij raden een tijdslimiet van"), std::string::npos);
            for (const TBankQuestion& q : t.Questions) {
                EXPECT_EQ(q.Points, 10);
                EXPECT_EQ(q.AnswerLength, 1);
                EXPECT_FALSE(q.Explanation.empty());
                ++questions;
            }
        }
    EXPECT_EQ(questions, 180u);
}

TEST(FigureBank, ChoicesArePictureLinksToPicturesThatExist) {
    std::set<QString> names;
    for (const auto& [name, image] : Bank().Pictures) {
        EXPECT_TRUE(names.insert(name).second) << "twice: " << name.toStdString();
        EXPECT_EQ(name, name.toLower());
        EXPECT_FALSE(image.isNull());
        EXPECT_LE(image.width(), 340) << name.toStdString();
        EXPECT_LE(image.height(), 220) << name.toStdString();
    }
    const QRegularExpression img(R"re(<img name="([^"]+)">)re");
    const QRegularExpression link(
        R"re(<a href="([a-e])">\1\) <img name="([a-z0-9]+)\1\.png"></a>)re");
    for (const TBankGroup& g : Bank().Groups)
        for (const TBankTest& t : g.Tests)
            for (size_t n = 0; n < t.Questions.size(); ++n) {
                const TBankQuestion& q = t.Questions[n];
                const QString text = QString::fromStdString(q.Text);
                for (auto it = img.globalMatch(text); it.hasNext();)
                    EXPECT_TRUE(names.count(it.next().captured(1)))
                        << g.Code << t.Number << n << ": " << q.Text;
                // Every choice is a link with its picture inside, named after
                // the question and lettered a, b, c ... in order.
                const std::string number = std::to_string(n + 1);
                const std::string expected =
                    g.Code + t.Number + std::string(3 - number.size(), '0') + number;
                std::string letters;
                for (auto it = link.globalMatch(text); it.hasNext();) {
                    const auto m = it.next();
                    EXPECT_EQ(m.captured(2).toStdString(), expected);
                    letters += m.captured(1).toStdString();
                }
                EXPECT_TRUE(letters == "abcd" || letters == "abcde") << q.Text;
                EXPECT_NE(letters.find(q.Answer), std::string::npos);
            }
}

TEST(FigureBank, EveryQuestionSolvesAgainFromItsRule) {
    for (uint32_t seed : {kSeed, 1u, 424242u}) {
        const TFigureBank bank = seed == kSeed ? Bank() : MakeFigureBank(seed);
        std::map<char, int> answers;
        for (const TBankGroup& g : bank.Groups)
            for (const TBankTest& t : g.Tests)
                for (size_t n = 0; n < t.Questions.size(); ++n) {
                    const TBankQuestion& q = t.Questions[n];
                    bool handled = false;
                    const auto problems = CheckFigureRule(q.Rule, q.Answer, handled);
                    EXPECT_TRUE(handled) << q.Rule;
                    EXPECT_TRUE(problems.empty())
                        << "seed " << seed << " " << g.Code << t.Number << " question " << n + 1
                        << ": " << Joined(problems) << q.Rule;
                    ++answers[q.Answer[0]];
                }
        // The right letter is spread over the choices.
        for (char c : std::string("abcd"))
            EXPECT_GT(answers[c], 15) << "seed " << seed << " answer " << c;
    }
}

TEST(FigureBank, QuestionsGetHarderWithinEachTest) {
    // Series and matrices: how many attributes change among the figures.
    const auto changing = [](const std::vector<TFig>& figs) {
        int n = 0;
        for (int attr = 0; attr < kAttrCount; ++attr) {
            std::set<int> values;
            for (const TFig& f : figs)
                values.insert(AttrValue(Canonical(f), attr));
            n += values.size() > 1 ? 1 : 0;
        }
        return n;
    };
    for (const TBankTest& t : {Bank().Groups[0].Tests[0], Bank().Groups[0].Tests[1],
                               Bank().Groups[0].Tests[2], Bank().Groups[0].Tests[3]}) {
        double third[3] = {0, 0, 0};
        int size[3] = {0, 0, 0};
        for (size_t n = 0; n < t.Questions.size(); ++n) {
            const auto rule = ParseRuleLine(t.Questions[n].Rule);
            ASSERT_TRUE(rule);
            const std::string* field = rule->Field(rule->Kind == "figseries" ? "shown" : "cells");
            ASSERT_TRUE(field);
            std::vector<TFig> figs;
            for (const std::string& token : SplitList(*field, ';'))
                if (token != "?")
                    figs.push_back(*ParseFig(token));
            const int tier = int(n) * 3 / 20;
            third[tier] += changing(figs);
            ++size[tier];
        }
        EXPECT_EQ(size[0], 7);
        EXPECT_EQ(size[2], 6);
        EXPECT_LE(third[0] / size[0], third[1] / size[1]) << t.Title;
        EXPECT_LE(third[1] / size[1], third[2] / size[2]) << t.Title;
        EXPECT_LT(third[0] / size[0], third[2] / size[2]) << t.Title;
    }
    // Spatial tests: more squares and blocks later on.
    for (size_t test = 0; test < 2; ++test) {
        const TBankTest& t = Bank().Groups[1].Tests[test];
        const auto parts = [&](size_t n) {
            const auto rule = ParseRuleLine(t.Questions[n].Rule);
            return SplitList(*rule->Field("item"), '+').size();
        };
        EXPECT_LT(parts(0), parts(19)) << t.Title;
        EXPECT_LE(parts(6), parts(7)) << t.Title;
    }
}

TEST(FigureBank, ExplanationsNameTheAnswerAndAWrongChoice) {
    const QRegularExpression link(R"re(<a href="([a-e])">)re");
    const std::map<std::string, std::string> kinds = {
        {"figu001", "figseries"}, {"figu002", "figseries"}, {"figu003", "figmatrix"},
        {"figu004", "figmatrix"}, {"figu005", "figodd"},    {"ruim001", "planerot"},
        {"ruim002", "spacerot"},  {"ruim003", "cubefold"},  {"ruim004", "cubefold"}};
    for (const TBankGroup& g : Bank().Groups)
        for (const TBankTest& t : g.Tests)
            for (const TBankQuestion& q : t.Questions) {
                const auto rule = ParseRuleLine(q.Rule);
                ASSERT_TRUE(rule);
                EXPECT_EQ(rule->Kind, kinds.at(g.Code + t.Number));
                // The rule describes exactly the pictures the page offers.
                const size_t links = size_t(QString::fromStdString(q.Text).count(link));
                EXPECT_EQ(SplitList(*rule->Field("choices"), ';').size(), links) << q.Rule;
                EXPECT_NE(q.Explanation.find("<b>" + q.Answer + "</b>"), std::string::npos)
                    << q.Explanation;
                bool wrongNamed = false;
                for (char c = 'a'; c < char('a' + links); ++c)
                    for (const char* who : {"Figuur ", "Kubus ", "Bouwwerk ", "In ", "Ook "})
                        wrongNamed |=
                            c != q.Answer[0] &&
                            q.Explanation.find(who + std::string(1, c) + " ") != std::string::npos;
                EXPECT_TRUE(wrongNamed) << q.Explanation;
            }
}

// ------------------------------------------------------------ the checker

TEST(FigureCheck, MatrixWithTwoFittingChoicesIsRejected) {
    // Shape per row, fill per column: the missing cell is a black triangle.
    const std::string cells = "circle/white/1/0;circle/grey/1/0;circle/black/1/0;"
                              "square/white/1/0;square/grey/1/0;square/black/1/0;"
                              "triangle/white/1/0;triangle/grey/1/0;?";
    const std::string good = "figmatrix cells=" + cells +
                             " choices=triangle/grey/1/0;triangle/black/1/0;square/black/1/0;"
                             "triangle/black/2/0;circle/black/1/0";
    EXPECT_EQ(Joined(Check(good, "b")), "");
    EXPECT_TRUE(Mentions(Check(good, "a"), "choice b fits"));
    // The same model twice: two equal pictures, both fitting.
    const std::string twice = "figmatrix cells=" + cells +
                              " choices=triangle/grey/1/0;triangle/black/1/0;square/black/1/0;"
                              "triangle/black/1/0;circle/black/1/0";
    const auto problems = Check(twice, "b");
    EXPECT_TRUE(Mentions(problems, "choices b and d show the same figure"));
    EXPECT_TRUE(Mentions(problems, "choices bd all fit"));
    // A different model with the same picture: a circle turned is still a
    // circle.
    const std::string round = "figmatrix cells=" +
                              std::string("triangle/white/1/0;triangle/grey/1/0;triangle/black/1/0;"
                                          "square/white/1/0;square/grey/1/0;square/black/1/0;"
                                          "circle/white/1/0;circle/grey/1/0;?") +
                              " choices=circle/black/1/0;circle/black/1/3;square/black/1/0;"
                              "circle/white/1/0";
    EXPECT_TRUE(Mentions(Check(round, "a"), "choices a and b show the same figure"));
}

TEST(FigureCheck, AmbiguousOrRulelessMatricesAreRejected) {
    // Counts 1 2 3 / 2 3 4 / 3 4 ?: a constant step gives 5 either way.
    const std::string steps = "figmatrix cells=circle/white/1/0;circle/white/2/0;circle/white/3/0;"
                              "circle/white/2/0;circle/white/3/0;circle/white/4/0;"
                              "circle/white/3/0;circle/white/4/0;?"
                              " choices=circle/white/4/0;circle/white/5/0;circle/white/6/0;"
                              "circle/white/3/0";
    EXPECT_EQ(Joined(Check(steps, "b")), "");
    // Counts 1 2 3 / 2 4 6 / 1 3 ?: a constant step in each row says 5, the
    // sum of the first two says 4.
    const std::string twoReadings =
        "figmatrix cells=circle/white/1/0;circle/white/2/0;circle/white/3/0;"
        "circle/white/2/0;circle/white/4/0;circle/white/6/0;"
        "circle/white/1/0;circle/white/3/0;?"
        " choices=circle/white/3/0;circle/white/6/0;circle/white/4/0;circle/white/5/0";
    EXPECT_TRUE(Mentions(Check(twoReadings, "a"), "several rules fit the count"));
    // Fills with no pattern at all.
    const std::string none = "figmatrix cells=circle/white/1/0;circle/black/1/0;circle/black/1/0;"
                             "circle/grey/1/0;circle/white/1/0;circle/black/1/0;"
                             "circle/white/1/0;circle/grey/1/0;?"
                             " choices=circle/white/1/0;circle/grey/1/0;circle/black/1/0;"
                             "square/white/1/0";
    EXPECT_TRUE(Mentions(Check(none, "a"), "no rule fits the fill"));
}

TEST(FigureCheck, SeriesAndOddOneOut) {
    // An arrow turning a quarter each step, count going up.
    const std::string series = "figseries shown=arrow/black/1/0;arrow/black/2/2;arrow/black/3/4;"
                               "arrow/black/4/6 choices=arrow/black/5/6;arrow/black/5/0;"
                               "arrow/black/4/0;arrow/grey/5/0;arrow/black/5/2";
    EXPECT_EQ(Joined(Check(series, "b")), "");
    EXPECT_TRUE(Mentions(Check(series, "e"), "choice b fits"));
    // A flag mirrored is not the flag; a mirrored arrow is.
    const std::string mirrors = "figseries shown=flag/white/1/0;flag/white/1/0;flag/white/1/0;"
                                "flag/white/1/0 choices=flag/white/1/0/m;flag/white/1/0;"
                                "flag/white/1/2;flag/black/1/0";
    EXPECT_EQ(Joined(Check(mirrors, "b")), "");
    const std::string arrows = "figseries shown=arrow/white/1/0;arrow/white/1/0;arrow/white/1/0;"
                               "arrow/white/1/0 choices=arrow/white/1/0/m;arrow/white/1/0;"
                               "arrow/white/1/2;arrow/black/1/0";
    EXPECT_TRUE(Mentions(Check(arrows, "b"), "show the same figure"));

    // Four with three copies, one with two (c); fills vary without a rule.
    const std::string odd = "figodd choices=circle/white/3/0;square/black/3/0;square/grey/2/0;"
                            "pentagon/grey/3/0;circle/black/3/0";
    EXPECT_EQ(Joined(Check(odd, "c")), "");
    // With four white, the black one (b) breaks a shared property as well.
    const std::string twoOdd = "figodd choices=heptagon/white/3/0;square/black/3/0;"
                               "square/white/2/0;pentagon/white/3/0;hexagon/white/3/0";
    EXPECT_TRUE(Mentions(Check(twoOdd, "c"), "choices bc all fit"));
    // Corners: 3 triangles, 4 squares, 6 hexagons, 5 pentagons; e breaks it.
    const std::string corners = "figodd choices=triangle/white/3/0;square/grey/4/0;"
                                "hexagon/black/6/0;pentagon/white/5/0;square/black/3/0";
    EXPECT_EQ(Joined(Check(corners, "e")), "");
}

TEST(FigureCheck, PlaneRotationRejectsMirrorImagesAndSymmetricFigures) {
    // An L of four squares with a black end: not symmetric.
    const TPoly item = *ParsePoly("0.0b+0.1+0.2+1.2");
    const std::string turned = PolyToken(Turned(item, 1));
    const std::string mirror = PolyToken(Turned(Mirrored(item), 1));
    const std::string other = "0.0+1.0+2.0+2.1b";
    const std::string markMoved = PolyToken(Turned(*ParsePoly("0.0+0.1+0.2+1.2b"), 2));
    const std::string rule = "planerot item=" + PolyToken(item) + " choices=" + mirror + ";" +
                             turned + ";" + other + ";" + markMoved;
    EXPECT_EQ(Joined(Check(rule, "b")), "");
    // Keyed to the mirror image, the check finds the real turn instead.
    EXPECT_TRUE(Mentions(Check(rule, "a"), "choice b fits, but the answer is 'a'"));
    // With the turned figure left out, the mirror image fits nothing.
    const std::string noTurn = "planerot item=" + PolyToken(item) + " choices=" + mirror + ";" +
                               other + ";" + markMoved + ";0.0+1.0";
    EXPECT_TRUE(Mentions(Check(noTurn, "a"), "no choice fits"));
    // A T is its own mirror image: mirror distractors would be right too.
    const std::string tee = "planerot item=0.0+1.0+2.0+1.1 choices=1.0+0.1+1.1+1.2;0.0+1.0;"
                            "0.0+0.1;0.0+1.1+1.0";
    EXPECT_TRUE(Mentions(Check(tee, "a"), "equals its own mirror image"));
    // The figure itself, not turned, is no answer.
    const std::string same = "planerot item=" + PolyToken(item) + " choices=" + PolyToken(item) +
                             ";" + mirror + ";" + other + ";" + markMoved;
    EXPECT_TRUE(Mentions(Check(same, "a"), "not turned"));
}

TEST(FigureCheck, SpaceRotationNeedsARealTurnAndVisibleBlocks) {
    const auto& turns = SpaceTurns();
    // A chiral tetracube (a screw), turned until every block shows.
    const TSolid screw = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}};
    EXPECT_EQ(LeastVisible(screw), 0) << "the first block lies right behind the last";
    const auto visible = [&](const TSolid& s, size_t from, const std::vector<TSolid>& unlike) {
        for (size_t i = from; i < turns.size(); ++i) {
            const TSolid t = Apply(turns[i], s);
            bool fresh = true;
            for (const TSolid& u : unlike)
                fresh &= IsoView(t) != IsoView(u);
            if (LeastVisible(t) >= 2 && fresh)
                return t;
        }
        ADD_FAILURE() << "no turn shows every block";
        return s;
    };
    const TSolid item = visible(screw, 0, {});
    const TSolid answer = visible(item, 1, {item});
    const TSolid mirror = visible(Mirrored(item), 0, {item, answer});
    const TSolid mirror2 = visible(Mirrored(item), 0, {item, answer, mirror});
    const TSolid other = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}};
    const TSolid square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const auto rule = [&](const TSolid& shown, const std::vector<TSolid>& choices) {
        std::string text = "spacerot item=" + SolidToken(shown) + " choices=";
        for (size_t i = 0; i < choices.size(); ++i)
            text += (i ? ";" : "") + SolidToken(choices[i]);
        return text;
    };
    EXPECT_EQ(Joined(Check(rule(item, {mirror, answer, other, square}), "b")), "");
    // Keyed to a mirror image with no real turn among the choices.
    EXPECT_TRUE(
        Mentions(Check(rule(item, {mirror, mirror2, other, square}), "a"), "no choice fits"));
    // A block straight behind another cannot be seen, in a choice or the item.
    EXPECT_TRUE(Mentions(Check(rule(item, {answer, mirror, other, screw}), "a"),
                         "choice d is (nearly) hidden"));
    EXPECT_TRUE(Mentions(Check(rule(screw, {answer, mirror, other, square}), "a"),
                         "a block of the solid is (nearly) hidden"));
    // A flat solid is its own mirror image.
    EXPECT_TRUE(Mentions(Check(rule(other, {answer, mirror, square, item}), "a"),
                         "equals its own mirror image"));
}

TEST(FigureCheck, CubeFoldingRejectsImpossibleCubes) {
    // A cross: 0 on top of the middle column, 1 2 3 4 across, 5 below.
    //   . 0 . .        1 and 3 are opposite, as are 2 and 4, and 0 and 5.
    //   1 2 3 4
    //   . 5 . .
    const std::string net = "1.0.arrow.0+0.1.dot.0+1.1.ring.0+2.1.plus.0+3.1.half.0+1.2.cross.0";
    const TNet parsed = *ParseNet(net);
    const auto views = CubeViews(parsed);
    ASSERT_EQ(views.size(), 24u);
    const TCubeView right = views[0];
    // Opposite faces side by side: the dot (1) and the plus (3).
    const TCubeView opposite = {{{ESymbol::Dot, 0}, {ESymbol::Plus, 0}, {ESymbol::Ring, 0}}};
    ASSERT_EQ(std::count(views.begin(), views.end(), opposite), 0);
    // The right faces with the arrow turned a quarter.
    TCubeView turned = right;
    for (TFaceShown& f : turned)
        if (SymbolPeriod(f.Symbol) == 4)
            f.Rot = (f.Rot + 1) % 4;
    const auto rule = [&](const std::vector<TCubeView>& choices) {
        std::string text = "cubefold net=" + net + " choices=";
        for (size_t i = 0; i < choices.size(); ++i)
            text += (i ? ";" : "") + ViewToken(choices[i]);
        return text;
    };
    // The first turn is no turn: the arrow (the first square) lies on top.
    ASSERT_EQ(right[0].Symbol, ESymbol::Arrow);
    ASSERT_NE(turned, right);
    const TCubeView swapped = {right[0], right[2], right[1]};
    EXPECT_EQ(Joined(Check(rule({turned, right, opposite, swapped}), "b")), "");
    EXPECT_TRUE(Mentions(Check(rule({turned, right, opposite, swapped}), "c"), "choice b fits"));
    EXPECT_TRUE(
        Mentions(Check(rule({opposite, swapped, turned, opposite}), "a"), "no choice fits"));
    // Six squares in a 2 x 3 block are no net.
    EXPECT_TRUE(Mentions(
        Check("cubefold net=0.0.dot.0+1.0.ring.0+2.0.plus.0+0.1.cross.0+1.1.half.0+2.1.arrow.0 "
              "choices=dot.0+ring.0+plus.0;dot.0+ring.0+cross.0;dot.0+ring.0+half.0;"
              "dot.0+ring.0+arrow.0",
              "a"),
        "do not fold"));
}

TEST(FigureCheck, OtherKindsAndBrokenLinesAreReported) {
    bool handled = true;
    EXPECT_TRUE(CheckFigureRule("numseries 1 2 3", "4", handled).empty());
    EXPECT_FALSE(handled);
    EXPECT_TRUE(Mentions(Check("figseries shown=circle/purple/1/0", "a"), "choices are not"));
    EXPECT_TRUE(Mentions(Check("figmatrix cells=circle/white/1/0 choices=circle/white/1/0;"
                               "circle/grey/1/0;circle/black/1/0;square/white/1/0",
                               "a"),
                         "nine cells"));
}

// ------------------------------------------------------------ the models

TEST(FigureModel, NetsFoldAndViewsShowNeighbours) {
    // The eleven nets, in the generator's layout.
    const std::vector<std::vector<std::string>> nets = {
        {"X...", "XXXX", "X..."}, {"X...", "XXXX", ".X.."}, {"X...", "XXXX", "..X."},
        {"X...", "XXXX", "...X"}, {".X..", "XXXX", ".X.."}, {".X..", "XXXX", "..X."},
        {"XX..", ".XXX", ".X.."}, {"XX..", ".XXX", "..X."}, {"XX..", ".XXX", "...X"},
        {"XX..", ".XX.", "..XX"}, {"XXX..", "..XXX"}};
    for (const auto& rows : nets) {
        TNet net;
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                if (rows[r][c] == 'X')
                    net.push_back({int(c), int(r), ESymbol(net.size()), 0});
        const auto folded = Fold(net);
        ASSERT_TRUE(folded) << rows[1];
        std::vector<std::array<int, 3>> seen;
        const auto views = CubeViews(net, &seen);
        ASSERT_EQ(views.size(), 24u);
        // Six different symbols: every turn gives a different view, and
        // every view shows three faces that meet at one corner.
        EXPECT_EQ(std::set<TCubeView>(views.begin(), views.end()).size(), 24u)
            << "a turn of the cube was lost";
        for (const auto& faces : seen)
            for (int i = 0; i < 3; ++i)
                for (int j = i + 1; j < 3; ++j) {
                    const TVec3& a = (*folded)[size_t(faces[size_t(i)])].Normal;
                    const TVec3& b = (*folded)[size_t(faces[size_t(j)])].Normal;
                    EXPECT_EQ(a[0] * b[0] + a[1] * b[1] + a[2] * b[2], 0);
                }
    }
    // Folding a strip of four round: the first and third square are opposite.
    const TNet strip = {{0, 1, ESymbol::Dot, 0},  {1, 1, ESymbol::Ring, 0},
                        {2, 1, ESymbol::Plus, 0}, {3, 1, ESymbol::Cross, 0},
                        {1, 0, ESymbol::Bars, 0}, {1, 2, ESymbol::Arrow, 0}};
    const auto folded = Fold(strip);
    ASSERT_TRUE(folded);
    EXPECT_EQ((*folded)[0].Normal[0] + (*folded)[2].Normal[0], 0);
    EXPECT_EQ((*folded)[0].Normal[1] + (*folded)[2].Normal[1], 0);
    EXPECT_EQ((*folded)[0].Normal[2] + (*folded)[2].Normal[2], 0);
    // Five in a row overlap when folded.
    EXPECT_FALSE(Fold({{0, 0, ESymbol::Dot, 0},
                       {1, 0, ESymbol::Ring, 0},
                       {2, 0, ESymbol::Plus, 0},
                       {3, 0, ESymbol::Cross, 0},
                       {4, 0, ESymbol::Bars, 0},
                       {1, 1, ESymbol::Arrow, 0}}));
}

TEST(FigureModel, SpaceTurnsAndMirrors) {
    const auto& turns = SpaceTurns();
    ASSERT_EQ(turns.size(), 24u);
    EXPECT_EQ(std::set<TMat3>(turns.begin(), turns.end()).size(), 24u);
    EXPECT_EQ(turns[0], (TMat3{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    // An L of four blocks in a plane is its own mirror image; the screw is not.
    const TSolid flat = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}};
    EXPECT_GE(TurnBetween(flat, Mirrored(flat)), 0);
    const TSolid screw = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}};
    EXPECT_LT(TurnBetween(screw, Mirrored(screw)), 0);
    for (const TMat3& m : turns)
        EXPECT_GE(TurnBetween(screw, Apply(m, screw)), 0);
    // The flat turns the same way as the solid turns.
    const TPoly l = {{0, 0}, {0, 1}, {0, 2}, {1, 2}};
    EXPECT_EQ(TurnsBetween(l, Turned(l, 3)), 3);
    EXPECT_LT(TurnsBetween(l, Mirrored(l)), 0);
    EXPECT_EQ(Turned(l, 1), Normalized(TPoly{{0, 0}, {1, 0}, {2, 0}, {0, 1}}));
}

TEST(FigureModel, CubeTurnsMatchFoldingByHand) {
    // Folded on paper: with the arrow on top the cross is on the left and the
    // dot on the right, and the arrow then points to the back left.
    const std::string net1 =
        "1.2.ring.1+0.1.arrow.2+1.1.cross.3+2.1.diamond.3+3.1.plus.1+1.0.dot.2";
    const auto views1 = CubeViews(*ParseNet(net1));
    const auto holds = [](const std::vector<TCubeView>& views, const std::string& token) {
        return std::find(views.begin(), views.end(), Canonical(*ParseView(token))) != views.end();
    };
    EXPECT_TRUE(holds(views1, "arrow.3+cross.0+dot.0"));
    for (const char* wrong :
         {"arrow.0+cross.0+dot.0", "arrow.1+cross.0+dot.0", "arrow.3+dot.0+cross.0",
          "arrow.3+plus.0+dot.0", "dot.0+diamond.0+ring.0"})
        EXPECT_FALSE(holds(views1, wrong)) << wrong;
    // A net in two rows; the triangle points down on the left face.
    const std::string net2 =
        "4.0.half.3+3.0.corner.1+2.0.arrow.1+2.1.bars.2+1.1.plus.2+0.1.triangle.2";
    const auto views2 = CubeViews(*ParseNet(net2));
    EXPECT_TRUE(holds(views2, "arrow.3+triangle.2+plus.0"));
    EXPECT_FALSE(holds(views2, "arrow.3+triangle.0+plus.0"));
    EXPECT_FALSE(holds(views2, "arrow.3+plus.0+triangle.2"));
}

TEST(FigureModel, SeriesRulesAndTheirPredictions) {
    const auto next = [](std::vector<TFig> figs) {
        std::string why;
        const auto fig = Resolve(SeriesNext(figs), &why);
        return fig ? FigToken(*fig) : why;
    };
    const auto arrows = [](std::vector<int> rots) {
        std::vector<TFig> figs;
        for (int r : rots)
            figs.push_back({EShape::Arrow, EFill::White, 1, r, false});
        return figs;
    };
    // Turns wrap around the full circle; a growing turn is found as well.
    EXPECT_EQ(next(arrows({5, 7, 1, 3})), "arrow/white/1/5");
    EXPECT_EQ(next(arrows({0, 1, 3, 6})), "arrow/white/1/2");
    EXPECT_EQ(next(arrows({0, 4, 0, 4})), "arrow/white/1/0");
    EXPECT_EQ(next(arrows({0, 3, 1, 2})), "no rule fits the turn");
    // Counts stay within what can be drawn.
    std::vector<TFig> growing;
    for (int c : {3, 4, 5, 6})
        growing.push_back({EShape::Circle, EFill::Black, c, 0, false});
    EXPECT_EQ(next(growing), "no rule fits the count");
    // Corners: a square, pentagon, hexagon, heptagon call for an octagon;
    // fills in a cycle of three.
    std::vector<TFig> corners;
    for (EShape s : {EShape::Square, EShape::Pentagon, EShape::Hexagon, EShape::Heptagon})
        corners.push_back({s, EFill(corners.size() % 3), 1, 0, false});
    EXPECT_EQ(next(corners), "octagon/grey/1/0");
    // A turn that cannot be seen is no rule: a circle is a circle.
    std::vector<TFig> circles;
    for (int r : {0, 2, 4, 6})
        circles.push_back({EShape::Circle, EFill::White, 2, r, false});
    EXPECT_EQ(next(circles), "circle/white/2/0");
}

TEST(FigureModel, OddOnesByEachProperty) {
    const auto odd = [](const std::string& list) {
        std::vector<TFig> figs;
        for (const std::string& t : SplitList(list, ';'))
            figs.push_back(*ParseFig(t));
        return OddOnes(figs);
    };
    using V = std::vector<int>;
    // Shape, fill, count and turn shared by four.
    EXPECT_EQ(odd("square/white/1/0;square/grey/2/0;circle/black/3/0;square/white/6/0;"
                  "square/black/5/0"),
              V{2});
    // Four copies of a square: as many as its corners, which singles it out
    // too.
    EXPECT_EQ(odd("square/white/1/0;square/grey/2/0;circle/black/3/0;square/white/4/0;"
                  "square/black/5/0"),
              (V{2, 3}));
    EXPECT_EQ(odd("arrow/white/1/2;arrow/grey/2/2;arrow/black/3/2;arrow/white/4/6;"
                  "arrow/grey/3/2"),
              V{3});
    // Even counts.
    EXPECT_EQ(odd("square/white/2/0;triangle/grey/4/0;flag/black/6/0;arrow/white/2/0;"
                  "hook/grey/3/0"),
              V{4});
    // The mirror image among turned copies.
    EXPECT_EQ(odd("flag/white/1/0;flag/white/1/2;flag/white/1/5/m;flag/white/1/3;"
                  "flag/white/1/7"),
              V{2});
    // Nothing shared: no odd one.
    EXPECT_EQ(odd("square/white/1/0;triangle/grey/2/0;hexagon/black/3/0;arrow/white/4/0;"
                  "hook/grey/5/0"),
              V{});
}

TEST(FigureModel, TokensReadBackAndRejectNonsense) {
    for (int s = 0; s < kShapeCount; ++s)
        for (int rot : {0, 3, 7}) {
            const TFig fig{EShape(s), EFill(rot % 3), 1 + rot % kMaxCount, rot, rot == 3};
            EXPECT_EQ(ParseFig(FigToken(fig)), fig);
        }
    for (const char* bad :
         {"circle/white/0/0", "circle/white/7/0", "circle/white/1/8", "star/white/1/0",
          "circle/white/1", "circle/white/1/0/x", "circle/white/one/0"})
        EXPECT_FALSE(ParseFig(bad)) << bad;
    EXPECT_FALSE(ParsePoly("0.0+1"));
    EXPECT_FALSE(ParseSolid("0.0.0+1.0"));
    EXPECT_FALSE(ParseNet("0.0.dot.4"));
    EXPECT_FALSE(ParseView("dot.0+ring.0"));
    const TPoly poly = {{0, 0, true}, {1, 0, false}, {1, 1, false}};
    EXPECT_EQ(ParsePoly(PolyToken(poly)), poly);
    const TNet net = {{0, 0, ESymbol::Corner, 3}, {1, 0, ESymbol::Bars, 1}};
    EXPECT_EQ(ParseNet(NetToken(net)), net);
}

// ------------------------------------------------------------ the pictures

TEST(FigurePictures, EqualModelsDrawEqualAndOthersDiffer) {
    // The canonical model decides what counts as the same picture; the
    // drawing must agree, or equal-looking choices would slip through.
    for (int s = 0; s < kShapeCount; ++s) {
        std::vector<std::pair<TFig, QImage>> drawn;
        for (int rot = 0; rot < 8; ++rot)
            for (bool mirrored : {false, true}) {
                const TFig fig{EShape(s), EFill::Grey, 1, rot, mirrored};
                drawn.push_back({fig, FigChoicePicture(fig)});
            }
        for (size_t i = 0; i < drawn.size(); ++i)
            for (size_t j = i + 1; j < drawn.size(); ++j) {
                const int diff = StrongDifferences(drawn[i].second, drawn[j].second);
                if (SamePicture(drawn[i].first, drawn[j].first))
                    EXPECT_EQ(diff, 0)
                        << FigToken(drawn[i].first) << " vs " << FigToken(drawn[j].first);
                else
                    EXPECT_GT(diff, 20)
                        << FigToken(drawn[i].first) << " vs " << FigToken(drawn[j].first);
            }
    }
    // The same for the symbols on a cube face.
    for (int s = 0; s < kSymbolCount; ++s) {
        const ESymbol symbol = ESymbol(s);
        const QImage upright =
            CubePicture({{{symbol, 0}, {ESymbol::Dot, 0}, {ESymbol::Dot, 0}}}, 100);
        for (int rot = 1; rot < 4; ++rot) {
            const QImage turned =
                CubePicture({{{symbol, rot}, {ESymbol::Dot, 0}, {ESymbol::Dot, 0}}}, 100);
            const int diff = StrongDifferences(upright, turned);
            if (rot % SymbolPeriod(symbol) == 0)
                EXPECT_EQ(diff, 0) << SymbolName(symbol) << " " << rot;
            else
                EXPECT_GT(diff, 20) << SymbolName(symbol) << " " << rot;
        }
    }
}

TEST(FigurePictures, ItemsShowTheFiguresAsTheChoicesDo) {
    const std::vector<TFig> shown = {{EShape::Flag, EFill::Black, 2, 1, false},
                                     {EShape::Square, EFill::Grey, 3, 0, false},
                                     {EShape::Hook, EFill::White, 5, 6, true}};
    const QImage series = SeriesPicture(shown);
    EXPECT_EQ(series.size(), QSize(4 * kCellPx + 5 * kGapPx, kCellPx + 2 * kGapPx));
    EXPECT_EQ(qGray(series.pixel(0, 0)), 255);
    // Each cell holds, pixel for pixel, what the choice picture of that
    // figure shows: same size, same drawing.
    const int half = kCellPx / 2 - 2;
    for (size_t i = 0; i < shown.size(); ++i) {
        const QImage choice = FigChoicePicture(shown[i]);
        EXPECT_EQ(choice.size(), QSize(kChoicePx, kChoicePx));
        const int cx = kGapPx + int(i) * (kCellPx + kGapPx) + kCellPx / 2;
        const QImage cell = series.copy(cx - half, kGapPx + kCellPx / 2 - half, 2 * half, 2 * half);
        const QImage same =
            choice.copy(kChoicePx / 2 - half, kChoicePx / 2 - half, 2 * half, 2 * half);
        EXPECT_EQ(StrongDifferences(cell, same), 0) << i;
    }
    // The empty place is marked, not blank.
    const QImage empty =
        series.copy(kGapPx + 3 * (kCellPx + kGapPx) + 10, kGapPx + 10, kCellPx - 20, kCellPx - 20);
    int dark = 0;
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            dark += qGray(empty.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(dark, 20);
    // A solid's picture follows its view: with every block in sight, mirror
    // images look different.
    const TSolid screw = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}};
    TSolid turned;
    for (const TMat3& m : SpaceTurns())
        if (LeastVisible(Apply(m, screw)) >= 2 && LeastVisible(Mirrored(Apply(m, screw))) >= 2) {
            turned = Apply(m, screw);
            break;
        }
    ASSERT_FALSE(turned.empty());
    const double edge = SolidEdgeToFit({turned, Mirrored(turned)}, 100);
    EXPECT_GT(edge, 10);
    EXPECT_GT(StrongDifferences(SolidPicture(turned, edge, 100, true),
                                SolidPicture(Mirrored(turned), edge, 100, true)),
              50);
}
