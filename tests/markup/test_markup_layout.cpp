#include "tests/markup/markup_fixture.h"

#include <gtest/gtest.h>

using namespace markuptest;

namespace {

struct Rect {
    int left, top, right, bottom;
    std::string href;
    bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << " "
               << r.href << ")";
}

std::vector<Rect> Links(GParserControl* view) {
    std::vector<Rect> out;
    for (int n = 1; n <= view->HyperLinks().Count(); ++n) {
        const THyperLinkRec* r = view->HyperLinks().At(n);
        out.push_back({r->Left, r->Top, r->Right, r->Bottom, r->HRef});
    }
    return out;
}

// Where the pen stands after `prefix`: the left edge of a link put there.
int PenAfter(const std::string& prefix, int width = 300) {
    Host host(width);
    host.view->SetMarkupText(prefix + "<A HREF=probe>x</A>");
    const auto links = Links(host.view);
    return links.empty() ? -1 : links.back().left;
}

} // namespace

TEST(MarkupLayout, NoTextGivesNoHeightAndAnEmptyTextFillsTheParent) {
    Host host(300, 200);
    host.view->SetMarkupText(std::nullopt);
    EXPECT_EQ(host.view->YMax(), 0);
    EXPECT_EQ(host.view->XMax(), 300);
    EXPECT_EQ(host.view->height(), 0);
    host.view->SetMarkupText("");
    EXPECT_EQ(host.view->XMax(), 300);
    EXPECT_EQ(host.view->YMax(), 200);
    EXPECT_EQ(host.view->size(), QSize(300, 200));
    host.view->ClearText();
    EXPECT_EQ(host.view->XMax(), 0);
    EXPECT_EQ(host.view->YMax(), 0);
    EXPECT_FALSE(host.view->MarkupText().has_value());

    // Without a parent the height is the content's: lines plus two more.
    GParserControl alone;
    alone.setFont(TextFont());
    alone.SetMarkupText("a\r\nb");
    EXPECT_EQ(alone.YMax(), 3 * LineHeight());
    EXPECT_EQ(alone.height(), 3 * LineHeight());
    alone.SetMarkupText(std::nullopt);
    EXPECT_EQ(alone.height(), 0);
}

TEST(MarkupLayout, ThePenAdvancesOverPiecesSpacesAndNothingHidden) {
    // A tag inside a word: the bold piece follows without a gap.
    EXPECT_EQ(PenAfter("ab<B>cd</B>"), 2 + Width("ab") + Width("cd", true));
    // Two spaces: the second is a word of its own.
    EXPECT_EQ(PenAfter("a  "), 2 + Width("a ") + Width(" "));
    // A hidden passage takes no room and its line breaks do not count.
    EXPECT_EQ(PenAfter("a<HIDE>many hidden words\r\n\r\n<SHOW>"), 2 + Width("a"));
    // A lone line feed joins; a CR LF pair breaks.
    EXPECT_EQ(PenAfter("a\nb"), 2 + Width("ab"));
    Host host;
    host.view->SetMarkupText("a\r\nb<A HREF=x>y</A>");
    EXPECT_EQ(Links(host.view),
              std::vector<Rect>({{2 + Width("b"), LineHeight(), 2 + Width("b") + LinkWidth("y"),
                                  2 * LineHeight(), "X"}}));
}

TEST(MarkupLayout, WordsWrapAtNinetyFivePercentOfTheWidthCompareExactly) {
    // A missing picture of width n moves the pen exactly n pixels; the link
    // word then ends at exactly 190 = 0.95 x 200, or one pixel beyond.
    const int w = LinkWidth("i");
    for (int beyond : {0, 1}) {
        Host host(200);
        const int n = 188 - w + beyond;
        host.view->SetMarkupText("<IMG NAME=none WIDTH=" + std::to_string(n) +
                                 " HEIGHT=1><A HREF=x>i</A>");
        const auto links = Links(host.view);
        if (!beyond) {
            // On a picture's line a link ends at the picture's bottom.
            EXPECT_EQ(links, std::vector<Rect>({{2 + n, 0, 190, 1, "X"}}));
        } else {
            // The open link is closed where the pen stood, the line breaks by
            // the picture's height, and the link goes on on the next line.
            ASSERT_EQ(links.size(), 2u);
            EXPECT_EQ(links[0], (Rect{2 + n, 0, 2 + n, 1, "X"}));
            EXPECT_EQ(links[1], (Rect{2, 1, 2 + w, 1 + LineHeight(), "X"}));
        }
    }
}

TEST(MarkupLayout, AWrappedLinkGivesOneRecordPerLine) {
    const int word = LinkWidth("word ");
    const int perLine = (190 - 2) / word;
    std::string text = "<a href=Next>";
    for (int i = 0; i <= perLine; ++i)
        text += "word ";
    Host host(200);
    host.view->SetMarkupText(text + "</a>");
    const int h = LineHeight();
    EXPECT_EQ(Links(host.view), std::vector<Rect>({{2, 0, 2 + perLine * word, h, "NEXT"},
                                                   {2, h, 2 + word, 2 * h, "NEXT"}}));
}

TEST(MarkupLayout, AWordWiderThanTheLineLeavesAnEmptyLineAbove) {
    Host host(100);
    host.view->SetMarkupText("<A HREF=w>" + std::string(40, 'm') + "</A>");
    const int h = LineHeight();
    const auto links = Links(host.view);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0], (Rect{2, 0, 2, h, "W"}));
    EXPECT_EQ(links[1].top, h);
    EXPECT_EQ(links[1].left, 2);
    EXPECT_EQ(host.view->YMax(), std::max(200, 2 * h + 2 * h));
}

TEST(MarkupLayout, ALinkAcrossALineBreakIsOneRecordFromStartToEnd) {
    Host host;
    host.Listen();
    host.view->SetMarkupText("<A HREF=one>ab\r\nc</A>");
    const int h = LineHeight();
    EXPECT_EQ(Links(host.view), std::vector<Rect>({{2, 0, 2 + LinkWidth("c"), 2 * h, "ONE"}}));

    // Ending left of where it started, the area holds no point at all.
    host.view->SetMarkupText("abc <A HREF=two>defgh\r\nx</A>");
    const auto links = Links(host.view);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_GT(links[0].left, links[0].right);
    for (int x = 0; x < 300; x += 3)
        for (int y = 0; y < 2 * h; y += 3)
            host.Click(x, y);
    EXPECT_TRUE(host.reports.empty());
}

TEST(MarkupLayout, AClickReportsTheFirstOfOverlappingAreasInUpperCase) {
    Host host;
    host.Listen();
    // A missing picture of negative size moves the pen back, so the second
    // link starts inside the first.
    host.view->SetMarkupText("<A HREF=SelectTest#abc>abcdef</A><IMG NAME=none WIDTH=-20 HEIGHT=-20>"
                             "<A HREF=other>ghijkl</A>");
    const auto links = Links(host.view);
    ASSERT_EQ(links.size(), 2u);
    ASSERT_LT(links[1].left, links[0].right);
    host.Click(links[1].left + 1, 2);
    host.Click(links[0].right + 1, 2);
    EXPECT_EQ(host.reports, std::vector<std::string>({"SELECTTEST#ABC", "OTHER"}));
}

TEST(MarkupLayout, ALinkLeftOpenEndsWhereTheTextEnds) {
    Host host;
    host.view->SetMarkupText("<A HREF=open>ab");
    EXPECT_EQ(Links(host.view),
              std::vector<Rect>({{2, 0, 2 + LinkWidth("ab"), LineHeight(), "OPEN"}}));
}

TEST(MarkupLayout, LinksAreRebuiltByEveryPass) {
    Host host;
    host.view->SetMarkupText("<A HREF=a>x</A> <A HREF=b>y</A>");
    EXPECT_EQ(host.view->HyperLinks().Count(), 2);
    host.Paint();
    host.view->Relayout();
    EXPECT_EQ(host.view->HyperLinks().Count(), 2);
    host.view->SetMarkupText("plain");
    EXPECT_EQ(host.view->HyperLinks().Count(), 0);
}
