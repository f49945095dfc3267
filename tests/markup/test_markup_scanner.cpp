#include "markup/markup_scanner.h"
#include "markup/markup_tags.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using markup::GetTagAttribute;
using markup::IsMarkupTag;
using markup::ReadIntDef;
using markup::TMarkupFont;
using markup::TMarkupScanner;

namespace {

// Writes down what the scanner asks of the layout: "word" for a word that
// advances the pen, "=word" for one that does not, each with "|" and the
// drawing font's styles (B I U S, L for the link font, a size other than 10);
// "/" for a line break, "A(href)" and "/A" for link records, IMG(...) and
// IN(...) for pictures and fields.
class Recorder : public markup::TMarkupSink {
public:
    explicit Recorder(TMarkupScanner& scanner) : scanner_(scanner) {}

    void PlaceWord(std::string_view word, bool advance) override {
        log.push_back((advance ? "" : "=") + std::string(word) + Style());
    }
    void BreakLine() override { log.push_back("/"); }
    int32_t OpenLinkRecord(std::string_view href) override {
        log.push_back("A(" + std::string(href) + ")");
        return storeLinks ? ++links : 0;
    }
    void CloseLinkRecord() override { log.push_back("/A"); }
    void PlaceImage(const markup::TImageTag& t) override {
        log.push_back("IMG(" + t.Name + "," + std::to_string(t.Width) + "," +
                      std::to_string(t.Height) + "," + t.Align + ")");
    }
    void PlaceInput(const markup::TInputTag& t) override {
        log.push_back("IN(" + t.Type + "," + t.Name + "," + t.Value + "," + std::to_string(t.Size) +
                      ")");
    }

    std::vector<std::string> log;
    bool storeLinks = true;
    int32_t links = 0;

private:
    std::string Style() const {
        const TMarkupFont& f = scanner_.Font();
        std::string s;
        if (f.Bold)
            s += 'B';
        if (f.Italic)
            s += 'I';
        if (f.Underline)
            s += 'U';
        if (f.StrikeOut)
            s += 'S';
        if (f.Face == TMarkupFont::fHyperLink)
            s += 'L';
        if (f.Size != 10)
            s += std::to_string(f.Size);
        return s.empty() ? s : "|" + s;
    }
    TMarkupScanner& scanner_;
};

TMarkupFont LinkFont() {
    TMarkupFont link;
    link.Underline = true;
    return link;
}

struct Scan {
    explicit Scan(std::string_view text, TMarkupFont font = {}, bool storeLinks = true)
        : scanner(font, LinkFont()), recorder(scanner) {
        recorder.storeLinks = storeLinks;
        scanner.Run(text, recorder);
    }
    TMarkupScanner scanner;
    Recorder recorder;
    const std::vector<std::string>& log() const { return recorder.log; }
};

using Log = std::vector<std::string>;

} // namespace

TEST(MarkupScanner, SpacesBelongToTheWordBeforeAndEachFurtherSpaceIsAWord) {
    EXPECT_EQ(Scan("one two").log(), Log({"one ", "two"}));
    EXPECT_EQ(Scan("a  b").log(), Log({"a ", " ", "b"}));
    EXPECT_EQ(Scan("a ").log(), Log({"a "}));
    EXPECT_EQ(Scan("").log(), Log{});
}

TEST(MarkupScanner, OnlyCarriageReturnLineFeedBreaksTheLine) {
    EXPECT_EQ(Scan("ab\r\ncd").log(), Log({"=ab", "/", "cd"}));
    // A line feed alone or a carriage return alone joins the lines.
    EXPECT_EQ(Scan("ab\ncd").log(), Log({"abcd"}));
    EXPECT_EQ(Scan("ab\rcd").log(), Log({"abcd"}));
    EXPECT_EQ(Scan("\nab").log(), Log({"ab"}));
    EXPECT_EQ(Scan("a\r\n\r\nb").log(), Log({"=a", "/", "=", "/", "b"}));
}

TEST(MarkupScanner, ATagInsideAWordSplitsItIntoPiecesInTheirOwnStyles) {
    EXPECT_EQ(Scan("ab<B>cd</B> e").log(), Log({"ab", "cd|B", " ", "e"}));
    EXPECT_EQ(Scan("<b>x</b>").log(), Log({"", "x|B"}));
}

TEST(MarkupScanner, UnrecognisedTagsAreShownAsText) {
    EXPECT_EQ(Scan("x<BR>y").log(), Log({"x<BR>y"}));
    EXPECT_EQ(Scan("<B >bold").log(), Log({"<B ", ">bold"}));
    EXPECT_EQ(Scan("a<b").log(), Log({"a<b"}));
    // The "<" stays text and scanning resumes right after it, so the bold
    // tag behind it still takes effect.
    EXPECT_EQ(Scan("1 < 2 <B>x").log(), Log({"1 ", "< ", "2 ", "", "x|B"}));
    EXPECT_EQ(Scan("<<B>x").log(), Log({"<", "x|B"}));
}

TEST(MarkupScanner, TagsAreRecognisedByTheirOpeningInAnyCase) {
    for (const char* tag : {"<B>", "</b>", "<a", "<ABBR>", "<a href=x>", "<imgX", "<Input",
                            "<font size=+1>", "</FONTX>", "<hide>", "<Show>", "<S>"})
        EXPECT_TRUE(IsMarkupTag(tag)) << tag;
    for (const char* tag : {"<B >", "<BR>", "<>", "<", "", "< B>", "<HIDE >", "<SPAN>", "B>"})
        EXPECT_FALSE(IsMarkupTag(tag)) << tag;
}

TEST(MarkupScanner, AnAbbreviationTagOpensALinkWithAnEmptyTarget) {
    EXPECT_EQ(Scan("<abbr>x</a>y").log(), Log({"", "A()", "x|UL", "/A", "y"}));
}

TEST(MarkupScanner, StyleCountersNestAndNegativeCountsAsOn) {
    Scan unmatched("</B>x");
    EXPECT_EQ(unmatched.log(), Log({"", "x|B"}));
    EXPECT_EQ(unmatched.scanner.BoldLevel(), -1);
    EXPECT_EQ(Scan("<I><I>a</I>b</I>c").log(), Log({"", "|I", "a|I", "b|I", "c"}));
    EXPECT_EQ(Scan("<S>a</S></S>b<S>c").log(), Log({"", "a|S", "", "b|S", "c"}));
    // A bold control font starts at 1, so one closing tag turns it off.
    TMarkupFont bold;
    bold.Bold = true;
    EXPECT_EQ(Scan("a</B>b", bold).log(), Log({"a|B", "b"}));
}

TEST(MarkupScanner, FontSizeChangesAreRelativeAndNotUndoneByAClosingTag) {
    EXPECT_EQ(Scan("<FONT SIZE=+4>a</FONT>b<FONT SIZE=4>c<font size='-6'>d").log(),
              Log({"", "a|14", "b|14", "c|14", "d|8"}));
    EXPECT_EQ(Scan("<FONT SIZE=+x>a<FONT>b").log(), Log({"", "a", "b"}));
    // Sizes do not overflow however often they are changed.
    std::string text;
    for (int i = 0; i < 5; ++i)
        text += "<FONT SIZE=+2000000000>";
    Scan big(text);
    EXPECT_GT(big.scanner.Font().Size, 10);
}

TEST(MarkupScanner, UnderlineInsideALinkLeavesTheLinkFontAlone) {
    EXPECT_EQ(Scan("<A HREF=x>a<U>b</U>c</A>d").log(),
              Log({"", "A(X)", "a|UL", "b|UL", "c|UL", "/A", "d"}));
    EXPECT_EQ(Scan("<U><A HREF=x>a</A>b</U>c").log(),
              Log({"", "|U", "A(X)", "a|UL", "/A", "b|U", "c"}));
}

TEST(MarkupScanner, ClosingALinkResetsTheFontWithoutBoldOrSize) {
    // Bold and size come back only with the next tag of their kind.
    EXPECT_EQ(Scan("<B><FONT SIZE=+2><A HREF=x>a</A>b<I>c").log(),
              Log({"", "|B", "|B12", "A(X)", "a|UL", "/A", "b", "c|I"}));
}

TEST(MarkupScanner, ALinkOpeningInsideALinkIsIgnored) {
    EXPECT_EQ(Scan("<A HREF=one>a <A HREF=two>b</A>c</A>d").log(),
              Log({"", "A(ONE)", "a |UL", "|UL", "b|UL", "/A", "c", "d"}));
}

TEST(MarkupScanner, ALinkThatCannotBeStoredKeepsTheUnderlineButNoRecord) {
    Scan failed("<A HREF=x>a</A>b", {}, false);
    EXPECT_EQ(failed.log(), Log({"", "A(X)", "a|U", "b|U"}));
    EXPECT_EQ(failed.scanner.OpenLink(), 0);
}

TEST(MarkupScanner, HiddenPassagesPlaceNothingButApplyTheirTags) {
    EXPECT_EQ(Scan("a<HIDE>b c\r\nd<B>e<SHOW>f").log(), Log({"a", "f|B"}));
    // A link opened in a hidden passage still gets its record.
    EXPECT_EQ(Scan("<HIDE><A HREF=h>x</A><SHOW>y").log(), Log({"", "A(H)", "/A", "y"}));
    // Breaks inside the passage do not count.
    EXPECT_EQ(Scan("<HIDE>\r\n\r\n<SHOW>z").log(), Log({"", "z"}));
}

TEST(MarkupScanner, WordsAreCutTo255Characters) {
    const std::string longWord(300, 'x');
    EXPECT_EQ(Scan(longWord).log(), Log({std::string(255, 'x')}));
    // A tag after a full word takes back only the "<" it added, which a full
    // buffer never took.
    EXPECT_EQ(Scan(longWord + "<B>y").log(), Log({std::string(255, 'x'), "y|B"}));
    EXPECT_EQ(Scan(std::string(254, 'x') + "<B>y").log(), Log({std::string(254, 'x'), "y|B"}));
}

TEST(MarkupScanner, LongTagsAreSkippedWholeButSearchedOnlyInTheirFirst255Characters) {
    const std::string pad(260, ' ');
    EXPECT_EQ(Scan("<IMG NAME=pic.gif WIDTH=40" + pad + "HEIGHT=50>after").log(),
              Log({"", "IMG(PIC.GIF,40,-1,)", "after"}));
    // A value cut off at 255 characters runs to the end of what was kept.
    const std::string target(300, 'q');
    Scan cut("<A HREF=" + target + ">t</A>");
    ASSERT_EQ(cut.log().size(), 4u);
    EXPECT_EQ(cut.log()[1], "A(" + std::string(255 - 8, 'Q') + ")");
}

TEST(MarkupScanner, PicturesAndInputFieldsTakeTheirAttributes) {
    EXPECT_EQ(Scan("<img name=\"a b.gif\" width=40 height=x align=center>").log(),
              Log({"", "IMG(A B.GIF,40,-1,CENTER)"}));
    EXPECT_EQ(Scan("<IMG WIDTH=40>").log(), Log({""})); // no name: nothing
    EXPECT_EQ(Scan("<input type=radio name=q1 value=a>").log(), Log({"", "IN(RADIO,Q1,A,1)"}));
    EXPECT_EQ(Scan("<INPUT TYPE=TEXT NAME=t VALUE='Hi there' SIZE=5>").log(),
              Log({"", "IN(TEXT,T,HI THERE,5)"}));
    EXPECT_EQ(Scan("<INPUT NAME=t>").log(), Log({""})); // no type: nothing
}

TEST(MarkupScanner, ZeroByteEndsTheText) {
    EXPECT_EQ(Scan(std::string_view("ab\0cd", 5)).log(), Log({"ab"}));
}

TEST(MarkupTags, AttributeValuesAreCutAtTheirDelimiters) {
    EXPECT_EQ(GetTagAttribute("<A HREF=\"A B\">", "HREF="), "A B");
    EXPECT_EQ(GetTagAttribute("<A HREF=\"IT'S\">", "HREF="), "IT'S");
    EXPECT_EQ(GetTagAttribute("<A HREF='SAY \"HI\"'>", "HREF="), "SAY \"HI\"");
    // An unquoted value ends at its space even when a later value is quoted.
    EXPECT_EQ(GetTagAttribute("<IMG WIDTH=40 NAME=\"X.GIF\">", "WIDTH="), "40");
    EXPECT_EQ(GetTagAttribute("<A HREF=IT'S>", "HREF="), "IT");
    EXPECT_EQ(GetTagAttribute("<A HREF=  X Y>", "HREF="), "X");
    EXPECT_EQ(GetTagAttribute("<A HREF=X>", "HREF="), "X");
    EXPECT_EQ(GetTagAttribute("<A HREF=>", "HREF="), "");
    EXPECT_EQ(GetTagAttribute("<A>", "HREF="), "");
    // A plain substring search: a name inside an earlier value is found there.
    EXPECT_EQ(GetTagAttribute("<IMG ALT='WIDTH=5' WIDTH=40>", "WIDTH="), "5");
    // Quotes after the ">" do not count.
    EXPECT_EQ(GetTagAttribute("<A HREF=X>\"", "HREF="), "X");
}

TEST(MarkupTags, NumbersAreWholeDecimalsWithinThirtyTwoBits) {
    EXPECT_EQ(ReadIntDef("40", -1), 40);
    EXPECT_EQ(ReadIntDef("-3", 0), -3);
    EXPECT_EQ(ReadIntDef("+4", 0), 4);
    EXPECT_EQ(ReadIntDef(" 7", 0), 7);
    EXPECT_EQ(ReadIntDef("2147483647", 0), 2147483647);
    EXPECT_EQ(ReadIntDef("-2147483648", 0), INT32_MIN);
    for (const char* bad : {"", "x", "4x", "+", "2147483648", "99999999999999999999", "1.5"})
        EXPECT_EQ(ReadIntDef(bad, -1), -1) << bad;
}
