#include "tests/markup/markup_fixture.h"
#include "tests/widgets/paint_probe.h"

#include <gtest/gtest.h>

using namespace markuptest;

namespace {

bool IsBlue(QRgb c) {
    return qBlue(c) > 150 && qRed(c) < 110 && qGreen(c) < 110;
}
bool IsDark(QRgb c) {
    return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100;
}

// The longest run of matching pixels in any row of `box`.
int LongestRow(const QImage& image, const QRect& box, bool (*match)(QRgb)) {
    int best = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        int run = 0;
        for (int x = box.left(); x <= box.right(); ++x) {
            run = match(image.pixel(x, y)) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

} // namespace

TEST(MarkupPaint, LinksAreDrawnUnderlinedInTheLinkColourWithOrWithoutAReceiver) {
    for (bool listen : {false, true}) {
        Host host;
        if (listen)
            host.Listen();
        host.view->SetMarkupText("plain <A HREF=x>mmmm</A> plain");
        const QImage image = host.Paint();
        probe::SaveOnFailure save(image, QStringLiteral("link"));
        const QRect blue = probe::BoundingBox(image, IsBlue);
        const int left = 2 + Width("plain ");
        ASSERT_FALSE(blue.isEmpty());
        EXPECT_NEAR(blue.left(), left, 2);
        EXPECT_LE(blue.right(), left + LinkWidth("mmmm"));
        EXPECT_LT(blue.bottom(), LineHeight());
        // The underline: one unbroken row across most of the word.
        EXPECT_GE(LongestRow(image, blue, IsBlue), LinkWidth("mmmm") * 8 / 10);
        // The plain words stay black and are not underlined.
        const QRect before(0, 0, left - 1, LineHeight());
        EXPECT_LT(LongestRow(image, before, IsDark), Width("plain") / 2);
    }
}

TEST(MarkupPaint, StrikeOutAndUnderlineTagsDrawTheirLines) {
    Host host;
    host.view->SetMarkupText("<S>mmmm</S>\r\n<U>mmmm</U>\r\nmmmm");
    const QImage image = host.Paint();
    probe::SaveOnFailure save(image, QStringLiteral("lines"));
    const int h = LineHeight();
    const int w = Width("mmmm");
    EXPECT_GE(LongestRow(image, QRect(0, 0, 300, h), IsDark), w * 8 / 10);
    EXPECT_GE(LongestRow(image, QRect(0, h, 300, h), IsDark), w * 8 / 10);
    EXPECT_LT(LongestRow(image, QRect(0, 2 * h, 300, h), IsDark), w / 2);
}

TEST(MarkupPaint, TextIsTopAlignedOnItsLineAndHiddenTextIsNotDrawn) {
    Host host;
    host.view->SetMarkupText("M<HIDE>hidden\r\n<SHOW>\r\nM");
    const QImage image = host.Paint();
    probe::SaveOnFailure save(image, QStringLiteral("lines"));
    const int h = LineHeight();
    const QRect first = probe::BoundingBox(image.copy(0, 0, 300, h), IsDark);
    const QRect second = probe::BoundingBox(image.copy(0, h, 300, h), IsDark);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(first, second); // the hidden line took no room and drew nothing
    EXPECT_GE(first.left(), 2);
    EXPECT_TRUE(probe::BoundingBox(image.copy(0, 2 * h, 300, 200 - 2 * h), IsDark).isEmpty());
}

TEST(MarkupPaint, WithoutABackgroundPictureTheControlIsFilledWithItsColour) {
    Host host;
    QPalette palette = host.view->palette();
    palette.setColor(QPalette::Window, QColor(10, 200, 30));
    host.view->setPalette(palette);
    host.view->SetMarkupText("");
    const QImage image = host.Paint();
    EXPECT_EQ(probe::Count(image, [](QRgb c) { return probe::SameColour(c, qRgb(10, 200, 30)); }),
              image.width() * image.height());
}
