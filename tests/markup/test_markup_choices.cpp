#include "tests/markup/markup_fixture.h"

#include <QCheckBox>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace markuptest;

namespace {

// A link that wraps in a narrow control, fields between links, a text field
// that is no choice and a link with nothing in it that no click can reach.
const char* kMixed = "<A HREF=first>one two three four five six</A> "
                     "<INPUT TYPE=RADIO NAME=r1 VALUE=ra><A HREF=second>two</A> "
                     "<INPUT TYPE=TEXT NAME=t1 VALUE=x><A HREF=empty></A>"
                     "<INPUT TYPE=CHECKBOX NAME=c1 VALUE=cb><INPUT TYPE=RADIO NAME=r1 VALUE=again>";

// What a click in the middle of every area of `link` reports.
std::vector<std::string> ClickEveryArea(Host& host, int link) {
    host.reports.clear();
    for (const QRect& area : host.view->LinkAreas(link))
        host.Click(area.center().x(), area.center().y());
    return host.reports;
}

} // namespace

TEST(MarkupChoices, LinksAndFieldsCountInDocumentOrderAndAWrappedLinkOnce) {
    Host host(110, 200);
    host.parent.show();
    host.Listen();
    host.view->SetMarkupText(kMixed);
    ASSERT_GT(host.view->LinkAreas(1).size(), 1u) << "the first link must wrap";
    EXPECT_EQ(host.view->ClickableLinks(), std::vector<int>({1, 2}));
    ASSERT_EQ(host.view->ChoiceCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(host.view->PressChoice(i));
    EXPECT_EQ(host.reports, std::vector<std::string>({"FIRST", "RA", "SECOND", "CB"}));
    EXPECT_TRUE(qobject_cast<QRadioButton*>(host.view->Inputs().Find("R1"))->isChecked());
    EXPECT_TRUE(qobject_cast<QCheckBox*>(host.view->Inputs().Find("C1"))->isChecked());
    EXPECT_FALSE(host.view->PressChoice(4));
    EXPECT_FALSE(host.view->PressChoice(-1));
    // Pressed again the check box goes off and says so, as a click does.
    host.reports.clear();
    EXPECT_TRUE(host.view->PressChoice(3));
    EXPECT_EQ(host.reports, std::vector<std::string>({""}));

    host.view->SetMarkupText("plain text only");
    EXPECT_EQ(host.view->ChoiceCount(), 0);
    EXPECT_FALSE(host.view->PressChoice(0));
    host.view->ClearText();
    EXPECT_EQ(host.view->ChoiceCount(), 0);
}

TEST(MarkupChoices, PressingALinkReportsWhatAClickOnItReportsUnderTheSameConditions) {
    Host host(110, 200);
    host.parent.show();
    host.view->SetMarkupText(kMixed);
    // No receiver: neither a click nor a press reports.
    EXPECT_FALSE(host.view->PressChoice(0));
    host.Listen();
    for (int link : host.view->ClickableLinks()) {
        const std::vector<std::string> clicked = ClickEveryArea(host, link);
        ASSERT_FALSE(clicked.empty());
        host.reports.clear();
        EXPECT_TRUE(host.view->FollowLink(link));
        EXPECT_EQ(host.reports, std::vector<std::string>({clicked.front()}));
    }
    host.view->DisableInputs();
    EXPECT_TRUE(ClickEveryArea(host, 1).empty());
    host.reports.clear();
    for (int i = 0; i < host.view->ChoiceCount(); ++i)
        EXPECT_FALSE(host.view->PressChoice(i)) << i;
    EXPECT_TRUE(host.reports.empty());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(host.view->Inputs().Find("R1"))->isChecked());
    host.view->EnableInputs();
    EXPECT_TRUE(host.view->PressChoice(0));
    EXPECT_EQ(host.reports, std::vector<std::string>({"FIRST"}));
}

TEST(MarkupChoices, AReceiverMayReplaceTheTextWhileAChoiceIsPressed) {
    Host host;
    host.parent.show();
    int calls = 0;
    host.view->OnHyperLinkClick = [&](QObject*, const std::string& href) {
        ++calls;
        host.reports.push_back(href);
        host.view->SetMarkupText("<A HREF=next>next</A> <INPUT TYPE=RADIO NAME=r VALUE=z>");
    };
    host.view->SetMarkupText("<INPUT TYPE=RADIO NAME=r VALUE=y><A HREF=go>go</A>");
    EXPECT_TRUE(host.view->PressChoice(0));
    // The choices are the new text's now.
    EXPECT_TRUE(host.view->PressChoice(1));
    EXPECT_TRUE(host.view->PressChoice(0));
    EXPECT_EQ(host.reports, std::vector<std::string>({"Y", "Z", "NEXT"}));
    EXPECT_EQ(calls, 3);
}
