#include "markup/shown_text.h"

#include <gtest/gtest.h>

using markup::ExtractShownText;
using markup::TShownItem;
using markup::TShownText;

TEST(ShownText, WordsKeepTheirSpacesAndBreaksWhileTagsAndHiddenPassagesGo) {
    // Runs of spaces survive, CR LF breaks, a lone LF joins, unknown tags and
    // a lone "<" are shown as written, hidden words and breaks are not.
    const TShownText shown =
        ExtractShownText("Welk  <b>getal</B> volgt?\r\n3\n6 <br> a < b<HIDE>weg\r\nook</HIDE>"
                         "<SHOW> <i>einde</i>\r\n");
    EXPECT_EQ(shown.Text, "Welk  getal volgt?\n36 <br> a < b einde\n");
    EXPECT_TRUE(shown.Links.empty());
    // Nothing after a zero byte counts.
    EXPECT_EQ(ExtractShownText(std::string_view("ab\0cd", 5)).Text, "ab");
    EXPECT_EQ(ExtractShownText("").Text, "");
}

TEST(ShownText, LinksGetTheirWordsPlaceAndTargetInTheOrderOfTheirTags) {
    const TShownText shown =
        ExtractShownText("Kies:\r\n<a href=\"a\">a) 36</a>\r\n<A HREF=b>b)  twee\r\nregels </A>"
                         "<A HREF=c><A HREF=ignored>binnen</A> <A HREF=open>tot het eind");
    ASSERT_EQ(shown.Links.size(), 4u);
    EXPECT_EQ(shown.Links[0].HRef, "A");
    EXPECT_EQ(shown.Links[0].Text, "a) 36");
    EXPECT_EQ(shown.Text.substr(shown.Links[0].Start, shown.Links[0].End - shown.Links[0].Start),
              "a) 36");
    // Blanks and the line break inside a link fold into single spaces.
    EXPECT_EQ(shown.Links[1].HRef, "B");
    EXPECT_EQ(shown.Links[1].Text, "b) twee regels");
    // An "<A" inside an open link is ignored; a link never closed ends with
    // the text.
    EXPECT_EQ(shown.Links[2].HRef, "C");
    EXPECT_EQ(shown.Links[2].Text, "binnen");
    EXPECT_EQ(shown.Links[3].HRef, "OPEN");
    EXPECT_EQ(shown.Links[3].Text, "tot het eind");
    EXPECT_EQ(shown.Links[3].End, shown.Text.size());
}

TEST(ShownText, PicturesAndFieldsAreListedWithLinksInDocumentOrder) {
    const TShownText shown = ExtractShownText(
        "<INPUT TYPE=radio NAME=r1 VALUE=a> een <A HREF=x>link</A><IMG NAME=\"fig 1.png\" "
        "WIDTH=20><IMG WIDTH=5><INPUT NAME=noType><INPUT TYPE=TEXT NAME=t1> slot");
    EXPECT_EQ(shown.Text, " een link slot");
    ASSERT_EQ(shown.Pictures, std::vector<std::string>({"FIG 1.PNG"}));
    ASSERT_EQ(shown.Inputs.size(), 2u);
    EXPECT_EQ(shown.Inputs[0].Type, "RADIO");
    EXPECT_EQ(shown.Inputs[0].Name, "R1");
    EXPECT_EQ(shown.Inputs[1].Type, "TEXT");
    ASSERT_EQ(shown.Order.size(), 4u);
    EXPECT_EQ(shown.Order[0].Kind, TShownItem::skInput);
    EXPECT_EQ(shown.Order[1].Kind, TShownItem::skLink);
    EXPECT_EQ(shown.Order[2].Kind, TShownItem::skPicture);
    EXPECT_EQ(shown.Order[3].Kind, TShownItem::skInput);
    EXPECT_EQ(shown.Order[3].Index, 1u);
}
