#include "tools/markup_scan.h"

#include <gtest/gtest.h>

TEST(MarkupScan, AttributesAreReadAsTheTextControlReadsThem) {
    EXPECT_EQ(TagAttribute("<a href=\"Start Test\">", "HREF="), "START TEST");
    EXPECT_EQ(TagAttribute("<a href='it\"s'>", "HREF="), "IT");    // a double quote comes first
    EXPECT_EQ(TagAttribute("<a href=abc def>", "HREF="), "ABC");   // unquoted ends at a space
    EXPECT_EQ(TagAttribute("<img name=x.bmp>", "NAME="), "X.BMP"); // or at ">"
    EXPECT_EQ(TagAttribute("<img width=4>", "NAME="), "");
    // A plain substring search: the name is found inside another value.
    EXPECT_EQ(TagAttribute("<input value=\"name=q\" name=\"r\">", "NAME="), "Q");
}

TEST(MarkupScan, OnlyRecognisedTagsCount) {
    EXPECT_TRUE(IsMarkupTag("<abbr>")); // any "<A" opens a link
    EXPECT_FALSE(IsMarkupTag("<b >"));
    EXPECT_FALSE(IsMarkupTag("<br>"));
    const auto pictures = PictureNames("x <IMG NAME=\"Fig.BMP\"> < img name=no.bmp> <img>");
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].Value, "fig.bmp");
    EXPECT_EQ(pictures[0].Offset, 2u);
    // A nested opening inside a link is ignored, as the control ignores it.
    const auto links = LinkTargets("<a href=a><a href=b>x</a><A HREF=C>y</a>");
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].Value, "a");
    EXPECT_EQ(links[1].Value, "c");
}

TEST(MarkupScan, AnswersMustBeMadeOfExactlyLengthChoices) {
    const TChoices abc =
        QuestionChoices("<a href=a>a</a> <a href=\"bc\">bc</a> <a href=\"\">leeg</a>"
                        "<input type=radio name=r value=D> <input type=checkbox name=c value=e>"
                        "<input type=radio name=\"\" value=z>");
    EXPECT_EQ(abc.Texts, (std::vector<std::string>{"a", "bc", "d", "e"}));
    EXPECT_FALSE(abc.FreeText);
    EXPECT_TRUE(CanBeAnswered(abc, "a", 1));
    EXPECT_TRUE(CanBeAnswered(abc, "bca", 2));
    EXPECT_TRUE(CanBeAnswered(abc, "aa", 2));  // the same choice twice
    EXPECT_FALSE(CanBeAnswered(abc, "ab", 2)); // "b" alone is no choice
    EXPECT_FALSE(CanBeAnswered(abc, "a", 2));
    EXPECT_FALSE(CanBeAnswered(abc, "A", 1)); // choices arrive in lower case
    EXPECT_FALSE(CanBeAnswered(abc, "z", 1)); // a field without name is never made
    EXPECT_FALSE(CanBeAnswered(abc, "", 0));
    const TChoices typed = QuestionChoices("<input type=text name=t size=3>");
    EXPECT_TRUE(typed.FreeText);
    EXPECT_TRUE(CanBeAnswered(typed, "13", 1));
}

TEST(MarkupScan, OneFieldPerNameAndTypedAnswersInLowerCase) {
    // The text control makes one field per name, whatever its kind: the
    // second radio button and the text field of a taken name never appear.
    const TChoices shared = QuestionChoices("<input type=radio name=r value=a>"
                                            "<input type=radio name=R value=b>"
                                            "<input type=text name=r>"
                                            "<input type=checkbox name=c value=c>");
    EXPECT_EQ(shared.Texts, (std::vector<std::string>{"a", "c"}));
    EXPECT_FALSE(shared.FreeText);
    EXPECT_FALSE(CanBeAnswered(shared, "b", 1));

    const TChoices typed = QuestionChoices("<input type=text name=t size=3>");
    EXPECT_FALSE(CanBeAnswered(typed, "Bal", 1)); // typed text arrives in lower case
    EXPECT_FALSE(CanBeAnswered(typed, "a<b", 1)); // a stored answer ends at "<"
    EXPECT_FALSE(CanBeAnswered(typed, "", 1));
}
