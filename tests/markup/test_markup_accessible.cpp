#include "markup/parser_control_accessible.h"
#include "tests/markup/markup_fixture.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace markuptest;

namespace {

// A question as the test pages show it, in a control narrow enough to wrap
// the second choice over two lines.
const char* kQuestion = "Welk getal volgt?\r\n<IMG NAME=\"Reeks.png\" WIDTH=30 HEIGHT=12>\r\n"
                        "<A HREF=a>a) 36</A>\r\n<A HREF=b>b) acht en veertig of meer</A>\r\n";

class MarkupAccessible : public ::testing::Test {
protected:
    void SetUp() override {
        InstallMarkupAccessibility();
        host.parent.show();
        host.view->SetMarkupText(kQuestion);
        iface = QAccessible::queryAccessibleInterface(host.view);
        ASSERT_NE(iface, nullptr);
    }

    QAccessibleInterface* Child(int i) { return iface->child(i); }
    void Press(int i) {
        ASSERT_NE(Child(i)->actionInterface(), nullptr);
        Child(i)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }

    Host host{130, 200};
    QAccessibleInterface* iface = nullptr;
};

} // namespace

TEST_F(MarkupAccessible, TheControlIsADocumentWhoseTextIsTheShownText) {
    EXPECT_EQ(iface->role(), QAccessible::Document);
    EXPECT_TRUE(iface->text(QAccessible::Name).isEmpty());
    host.view->setAccessibleName(QStringLiteral("Vraag"));
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Vraag"));
    EXPECT_TRUE(iface->state().readOnly);
    EXPECT_TRUE(iface->state().focusable);
    QAccessibleTextInterface* text = iface->textInterface();
    ASSERT_NE(text, nullptr);
    const QString shown =
        QStringLiteral("Welk getal volgt?\n\na) 36\nb) acht en veertig of meer\n");
    EXPECT_EQ(text->characterCount(), shown.size());
    EXPECT_EQ(text->text(0, text->characterCount()), shown);
    EXPECT_EQ(text->text(5, 10), QStringLiteral("getal"));
    EXPECT_EQ(text->text(-4, 1000), shown);
    EXPECT_EQ(text->selectionCount(), 0);
}

TEST_F(MarkupAccessible, LinksAndPicturesAreChildrenAndALinkPressesAsAClick) {
    ASSERT_EQ(iface->childCount(), 3);
    ASSERT_GT(host.view->LinkAreas(2).size(), 1u) << "the second link must wrap";
    EXPECT_EQ(Child(0)->role(), QAccessible::Link);
    EXPECT_EQ(Child(0)->text(QAccessible::Name), QStringLiteral("a) 36"));
    EXPECT_EQ(Child(1)->role(), QAccessible::Link);
    EXPECT_EQ(Child(1)->text(QAccessible::Name), QStringLiteral("b) acht en veertig of meer"));
    EXPECT_EQ(Child(2)->role(), QAccessible::Graphic);
    EXPECT_EQ(Child(2)->text(QAccessible::Name), QStringLiteral("REEKS.PNG"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Child(i)->parent(), iface);
        EXPECT_EQ(iface->indexOfChild(Child(i)), i);
    }
    // Areas on the screen: a wrapped link covers both its lines.
    QRect second;
    for (const QRect& area : host.view->LinkAreas(2))
        second |= area;
    EXPECT_EQ(Child(1)->rect(), QRect(host.view->mapToGlobal(second.topLeft()), second.size()));
    const QRect picture = Child(2)->rect();
    EXPECT_EQ(picture.size(), QSize(30, 12));
    EXPECT_EQ(picture.topLeft(), host.view->mapToGlobal(QPoint(2, LineHeight())));
    EXPECT_EQ(iface->childAt(picture.center().x(), picture.center().y()), Child(2));

    // No receiver: unavailable, and pressing reports nothing.
    EXPECT_TRUE(Child(0)->state().disabled);
    host.Listen();
    EXPECT_FALSE(Child(0)->state().disabled);
    EXPECT_EQ(Child(0)->actionInterface()->actionNames(),
              QStringList({QAccessibleActionInterface::pressAction()}));
    Press(1);
    Press(0);
    EXPECT_EQ(host.reports, std::vector<std::string>({"B", "A"}));
    host.view->DisableInputs();
    EXPECT_TRUE(Child(1)->state().disabled);
    Press(1);
    EXPECT_EQ(host.reports.size(), 2u);
}

TEST_F(MarkupAccessible, ANewTextMakesNewChildrenAndTheOldOnesInvalid) {
    QAccessibleInterface* oldLink = Child(0);
    const quint64 generation = host.view->TextGeneration();
    host.view->SetMarkupText("<A HREF=x>verder</A> <INPUT TYPE=RADIO NAME=r VALUE=v>");
    EXPECT_GT(host.view->TextGeneration(), generation);
    EXPECT_FALSE(oldLink->isValid());
    EXPECT_TRUE(oldLink->text(QAccessible::Name).isEmpty());
    ASSERT_EQ(iface->childCount(), 2);
    EXPECT_EQ(Child(0)->text(QAccessible::Name), QStringLiteral("verder"));
    EXPECT_TRUE(Child(0)->isValid());
    // The field is a child after the links and pictures.
    EXPECT_EQ(Child(1)->role(), QAccessible::RadioButton);
    EXPECT_EQ(Child(1)->object(), host.view->Inputs().Find("R"));
    EXPECT_EQ(iface->indexOfChild(Child(1)), 1);
    EXPECT_EQ(iface->textInterface()->text(0, 100), QStringLiteral("verder "));

    host.view->ClearText();
    EXPECT_EQ(iface->childCount(), 1); // the field goes once control returns to the loop
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(iface->childCount(), 0);
    EXPECT_EQ(iface->textInterface()->characterCount(), 0);
}
