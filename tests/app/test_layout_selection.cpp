#include "app/layout_selection.h"

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

TEST(LayoutSelection, ScreensGetOneStepSmallerLayouts) {
    struct Case {
        int w, h, layout, m, d;
    };
    const Case cases[] = {
        {800, 600, 0, 1, 1},        {640, 480, 0, 1, 1},
        {1024, 768, 1, 600, 480},   // height decides
        {1280, 1024, 2, 1024, 640}, // width-limited: 2.0 < 2.13
        {1366, 768, 1, 600, 480},   // height-limited
        {1152, 864, 2, 768, 480},   // equal ratio, decided by height
        {1280, 800, 1, 600, 480},   {1920, 1080, 2, 768, 480},
        {1023, 1000, 0, 1, 1},      {1024, 1000, 1, 800, 640},
        {1151, 2000, 1, 800, 640},
    };
    for (const Case& c : cases) {
        const auto got = ChooseLayout(c.w, c.h);
        ASSERT_TRUE(got.has_value()) << c.w << "x" << c.h;
        EXPECT_EQ(got->layoutSize, c.layout) << c.w << "x" << c.h;
        EXPECT_EQ(got->multiplier, c.m) << c.w << "x" << c.h;
        EXPECT_EQ(got->divisor, c.d) << c.w << "x" << c.h;
    }
}

TEST(LayoutSelection, TooSmallScreensHaveNoLayout) {
    EXPECT_FALSE(ChooseLayout(630, 480)); // narrower than 4:3, width decides
    EXPECT_FALSE(ChooseLayout(800, 479)); // wide, height decides
    EXPECT_FALSE(ChooseLayout(0, 0));
    EXPECT_TRUE(ChooseLayout(640, 480));
    EXPECT_TRUE(ChooseLayout(640, 1000)); // tall and narrow: only the width decides
}

TEST(LayoutSelection, ScalingMultipliesThenDividesAndScalesEachFontOnce) {
    QWidget root;
    root.resize(640, 480);
    QFont base("Arial");
    base.setPixelSize(11);
    root.setFont(base);
    auto* panel = new QWidget(&root);
    panel->setGeometry(151, 45, 489, 435);
    auto* inherits = new QLabel(panel);
    inherits->setGeometry(3, 5, 145, 45);
    auto* own = new QLabel(panel);
    own->setGeometry(90, 14, 460, 16);
    QFont bold = own->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    own->setFont(bold);

    ScaleControls(&root, 768, 480);
    EXPECT_EQ(root.size(), QSize(1024, 768));
    // Edges are scaled and rounded: 151 * 1.6 = 241.6 -> 242, and the right
    // edge 640 * 1.6 = 1024 stays on the root's.
    EXPECT_EQ(panel->geometry(), QRect(242, 72, 782, 696));
    EXPECT_EQ(inherits->geometry(), QRect(5, 8, 232, 72)); // 4.8 .. 236.8
    EXPECT_EQ(own->geometry(), QRect(144, 22, 736, 26));   // 22.4 .. 48
    EXPECT_EQ(root.font().pixelSize(), 17);                // 11 * 1.6 = 17.6
    EXPECT_EQ(inherits->font().pixelSize(), 17);           // follows, not scaled twice
    EXPECT_EQ(own->font().pixelSize(), 20);                // 13 * 1.6 = 20.8
    EXPECT_TRUE(own->font().bold());
}

TEST(LayoutSelection, ItemHeightIsRounded) {
    EXPECT_EQ(ScaleItemHeight(18, 0), 18);
    EXPECT_EQ(ScaleItemHeight(18, 1), 23); // 22.5 rounds up
    EXPECT_EQ(ScaleItemHeight(18, 2), 29); // 28.8
    EXPECT_EQ(ScaleItemHeight(17, 1), 21); // 21.25
}
