#include "tests/common/paint_probe.h"
#include "tests/markup/markup_fixture.h"

#include "markup/markup_view_host.h"

#include <QCoreApplication>
#include <QScrollArea>
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

TEST(MarkupPaint, LinksOfAViewInsideAWindowAreUnderlinedUnderTheirWords) {
    // The view as a window makes it: in a scroll box away from the window's
    // corner, in the window's font, painted with the window.
    QFont pixelFont(QStringLiteral("Arial"));
    pixelFont.setPixelSize(11);
    for (const QFont& font : {pixelFont, TextFont(), QFont(QStringLiteral("Sans Serif"))}) {
        SCOPED_TRACE(font.toString().toStdString());
        QWidget page;
        page.resize(640, 480);
        page.setFont(font);
        QPalette palette = page.palette();
        palette.setColor(QPalette::Window, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::black);
        page.setPalette(palette);
        auto* box = new QScrollArea(&page);
        box->setGeometry(10, 58, 469, 270);
        GParserControl* view = CreateMarkupView(box, QStringLiteral("TestView"), nullptr);
        view->SetHyperLinkColor(Qt::blue);
        view->SetMarkupText("Welke?\r\n\r\n<a href=\"a\">16</a>   <a href=\"b\">Keuze B</a>   "
                            "<S><a href=\"c\">32</a></S>");
        page.show();
        QCoreApplication::processEvents();
        const QImage image = page.grab().toImage().copy(
            QRect(view->mapTo(&page, QPoint(0, 0)), box->viewport()->size()));
        probe::SaveOnFailure save(image, QStringLiteral("hosted_links"));

        THyperLinkList& links = view->HyperLinks();
        ASSERT_EQ(links.Count(), 3);
        const QFontMetrics metrics(view->HyperLinkFont());
        int blueInLinks = 0;
        for (int32_t i = 1; i <= 3; ++i) {
            const THyperLinkRec* link = links.At(i);
            const QRect word(link->Left, link->Top, link->Right - link->Left,
                             link->Bottom - link->Top);
            SCOPED_TRACE(link->HRef);
            // One unbroken row across the word, below its baseline.
            const QRect under(word.left(), word.top() + metrics.ascent() + 1, word.width(),
                              word.height() - metrics.ascent() - 1);
            EXPECT_GE(LongestRow(image, under, IsBlue), word.width() - 1);
            blueInLinks += probe::Count(image.copy(word), IsBlue);
            // The struck-out link has its second line across its middle.
            const QRect middle(word.left(), word.top() + 2, word.width(), metrics.ascent() - 2);
            if (link->HRef == "c")
                EXPECT_GE(LongestRow(image, middle, IsBlue), word.width() - 1);
            else
                EXPECT_LT(LongestRow(image, middle, IsBlue), word.width() / 2);
        }
        // No line is drawn twice or beside the words it belongs to.
        EXPECT_EQ(probe::Count(image, IsBlue), blueInLinks);
    }
}
