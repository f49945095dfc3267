#include "markup/reference_topics.h"
#include "recdb/record_index.h"
#include "tests/common/paint_probe.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace markup;

TEST(ReferenceTopics, EntriesGiveTheirTitleAndRecordNumber) {
    EXPECT_EQ(EntryTitle("12|Wat is intelligentie?"), "Wat is intelligentie?");
    EXPECT_EQ(EntryTitle("12|a|b"), "a|b");
    EXPECT_EQ(EntryTitle("no bar"), "no bar");
    EXPECT_EQ(EntryRecNo("12|Wat is intelligentie?"), 12);
    // Nothing to show: no "|", no number before it.
    EXPECT_EQ(EntryRecNo("12 Wat"), 0);
    EXPECT_EQ(EntryRecNo("x|Wat"), 0);
    EXPECT_EQ(EntryRecNo("|Wat"), 0);
}

TEST(ReferenceTopics, ASelectedItemIsWhiteOnNavyAndTheNumberIsNeverDrawn) {
    TTopicItemStyle style;
    style.Font = QFont(QStringLiteral("Liberation Sans"), 10);
    auto draw = [&](std::string_view entry, bool selected) {
        QImage image = probe::Canvas(200, 16, 0xff00ff00);
        QPainter painter(&image);
        DrawTopicItem(painter, QRect(0, 0, 200, 16), 0, entry, selected, style);
        return image;
    };
    const QImage plain = draw("7|IQ", false);
    const QImage selected = draw("7|IQ", true);
    probe::SaveOnFailure save(selected, QStringLiteral("selected"));
    const auto navy = [](QRgb c) { return probe::SameColour(c, qRgb(0, 0, 128)); };
    const auto white = [](QRgb c) { return probe::SameColour(c, qRgb(255, 255, 255)); };
    const auto ink = [](QRgb c) { return qRed(c) > 128 && qBlue(c) > 128; };
    EXPECT_TRUE(navy(selected.pixel(0, 0)));
    EXPECT_GT(probe::Count(selected, [](QRgb c) { return qRed(c) > 200 && qGreen(c) > 200; }), 0);
    EXPECT_TRUE(white(plain.pixel(0, 0)));
    EXPECT_EQ(probe::Count(plain, navy), 0);
    // The title starts 5 pixels in; "7|" would have been drawn before it.
    const QRect text = probe::BoundingBox(selected, ink);
    EXPECT_GE(text.left(), 5);
    EXPECT_EQ(draw("7|IQ", true), draw("123456|IQ", true));
}
