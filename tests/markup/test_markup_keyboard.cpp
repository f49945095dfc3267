#include "markup/markup_view_host.h"
#include "tests/markup/markup_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace markuptest;

namespace {

// A page that notes the keys its children let through.
class TKeyPage : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

// A hosted view, as the window has them, with a text longer than its box.
class MarkupKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        page.resize(640, 480);
        box = new QScrollArea(&page);
        box->setGeometry(kMarkupScrollBoxRect);
        view = CreateMarkupView(box, QStringLiteral("TestView"), &pictureIndex);
        view->OnHyperLinkClick = [this](QObject*, const std::string& href) {
            reports.push_back(href);
        };
        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
        box->setFocus(); // as the window gives the box the focus
        ASSERT_TRUE(view->hasFocus());
    }

    void SetLines(int count, bool links) {
        std::string text;
        for (int i = 1; i <= count; ++i) {
            text += "line " + std::to_string(i);
            if (links)
                text += " <A HREF=l" + std::to_string(i) + ">link " + std::to_string(i) + "</A>";
            text += "\r\n";
        }
        view->SetMarkupText(text);
    }

    void Key(int key) { QTest::keyClick(view, Qt::Key(key)); }
    QScrollBar* bar() { return box->verticalScrollBar(); }
    QRect Shown() { return QRect(QPoint(0, bar()->value()), box->viewport()->size()); }
    QRect Area(int link) {
        QRect bounds;
        for (const QRect& area : view->LinkAreas(link))
            bounds |= area;
        return bounds;
    }

    TKeyPage page;
    QScrollArea* box = nullptr;
    GParserControl* view = nullptr;
    std::vector<std::string> pictureIndex;
    std::vector<std::string> reports;
};

} // namespace

TEST_F(MarkupKeyboard, ArrowsMoveThroughTheLinksKeepingTheCurrentOneInViewAndEnterFollowsIt) {
    SetLines(30, true);
    ASSERT_GT(bar()->maximum(), 0);
    EXPECT_EQ(view->CurrentLink(), 0);
    Key(Qt::Key_Down);
    EXPECT_EQ(view->CurrentLink(), 1);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_EQ(view->CurrentLink(), 3);
    Key(Qt::Key_Up);
    Key(Qt::Key_Left);
    EXPECT_EQ(view->CurrentLink(), 1);
    Key(Qt::Key_Up); // no wrapping round: the box is at its top already
    EXPECT_EQ(view->CurrentLink(), 1);
    EXPECT_EQ(bar()->value(), 0);

    for (int i = 0; i < 29; ++i)
        Key(Qt::Key_Down);
    EXPECT_EQ(view->CurrentLink(), 30);
    EXPECT_GT(bar()->value(), 0);
    EXPECT_TRUE(Shown().contains(Area(30)));
    Key(Qt::Key_Return);
    Key(Qt::Key_Enter);
    EXPECT_EQ(reports, std::vector<std::string>({"L30", "L30"}));
    EXPECT_TRUE(page.keys.empty());

    // Past the last link the arrow scrolls on through the text.
    const int before = bar()->value();
    Key(Qt::Key_Down);
    EXPECT_EQ(view->CurrentLink(), 30);
    EXPECT_EQ(bar()->value(), std::min(before + 16, bar()->maximum()));

    // Home scrolls up and lets go of the link; the next arrow starts from
    // what is in view: Up from the last link shown.
    Key(Qt::Key_Home);
    EXPECT_EQ(bar()->value(), 0);
    EXPECT_EQ(view->CurrentLink(), 0);
    Key(Qt::Key_Up);
    const int current = view->CurrentLink();
    ASSERT_GT(current, 1);
    EXPECT_TRUE(Shown().intersects(Area(current)));
    EXPECT_FALSE(Shown().intersects(Area(current + 1)));

    // A new text starts without a current link; Enter then goes to the page.
    SetLines(30, true);
    EXPECT_EQ(view->CurrentLink(), 0);
    Key(Qt::Key_Return);
    EXPECT_EQ(page.keys, std::vector<int>({Qt::Key_Return}));
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(MarkupKeyboard, WithoutLinksTheKeysScrollAndTheWindowsKeysPassThrough) {
    SetLines(60, false);
    ASSERT_GT(bar()->maximum(), bar()->pageStep());
    Key(Qt::Key_Down);
    EXPECT_EQ(bar()->value(), 16);
    Key(Qt::Key_Up);
    EXPECT_EQ(bar()->value(), 0);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(bar()->value(), bar()->pageStep());
    Key(Qt::Key_End);
    EXPECT_EQ(bar()->value(), bar()->maximum());
    Key(Qt::Key_PageUp);
    EXPECT_EQ(bar()->value(), bar()->maximum() - bar()->pageStep());
    EXPECT_TRUE(page.keys.empty());

    // Choices, deleting and the next button are the window's, with or
    // without a current link.
    SetLines(5, true);
    for (int pass = 0; pass < 2; ++pass) {
        page.keys.clear();
        for (int key : {Qt::Key_A, Qt::Key_E, Qt::Key_1, Qt::Key_5, Qt::Key_Backspace})
            Key(key);
        EXPECT_EQ(page.keys, std::vector<int>(
                                 {Qt::Key_A, Qt::Key_E, Qt::Key_1, Qt::Key_5, Qt::Key_Backspace}));
        Key(Qt::Key_Down);
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(MarkupKeyboard, EnterFollowsNothingWhileInputsAreDisabled) {
    SetLines(3, true);
    Key(Qt::Key_Down);
    view->DisableInputs();
    Key(Qt::Key_Return);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(page.keys, std::vector<int>({Qt::Key_Return}));
    view->EnableInputs();
    Key(Qt::Key_Return);
    EXPECT_EQ(reports, std::vector<std::string>({"L1"}));
}

TEST(MarkupFocusRing, TheCurrentLinkIsRingedOnlyWhileTheControlHasTheFocus) {
    Host host;
    host.parent.show();
    host.parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.parent));
    host.view->SetMarkupText("before <A HREF=x>the link</A> after");
    const QRect area = host.view->LinkAreas(1).at(0);
    // Dots of the text colour (the link itself is blue) on the ring's top edge.
    auto ringDots = [&] {
        const QImage image = host.Paint();
        int dots = 0;
        for (int x = area.left(); x <= area.right(); ++x)
            dots += image.pixel(x, area.top()) == qRgb(0, 0, 0);
        return dots;
    };
    host.view->setFocus();
    ASSERT_TRUE(host.view->hasFocus());
    EXPECT_EQ(ringDots(), 0) << "no current link yet";
    host.view->SetCurrentLink(1);
    const int dots = ringDots();
    EXPECT_GT(dots, area.width() / 4);
    EXPECT_LT(dots, area.width()); // dotted, not solid
    host.view->clearFocus();
    EXPECT_EQ(ringDots(), 0);
    host.view->setFocus();
    EXPECT_EQ(ringDots(), dots);
    host.view->SetCurrentLink(7); // no such link
    EXPECT_EQ(host.view->CurrentLink(), 0);
    EXPECT_EQ(ringDots(), 0);
}

TEST(MarkupTabOrder, TheHostedViewIsOneStopBetweenItsNeighbours) {
    QWidget page;
    auto* before = new QPushButton(QStringLiteral("voor"), &page);
    auto* box = new QScrollArea(&page);
    box->setGeometry(kMarkupScrollBoxRect);
    std::vector<std::string> pictureIndex;
    GParserControl* view = CreateMarkupView(box, QStringLiteral("TestView"), &pictureIndex);
    auto* after = new QPushButton(QStringLiteral("na"), &page);
    after->move(0, 300);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    before->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), view);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), view);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), before);
}
