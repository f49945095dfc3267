#include "picarchive/picture_archive.h"
#include "platform/paths.h"
#include "tests/common/paint_probe.h"
#include "tests/common/temp_program_dir.h"
#include "tests/markup/markup_fixture.h"

#include <QLoggingCategory>
#include <QStringList>
#include <gtest/gtest.h>

using namespace markuptest;

namespace {

constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlack = 0xff000000;

bool IsRed(QRgb c) {
    return probe::SameColour(c, kRed);
}
bool IsBlack(QRgb c) {
    return probe::SameColour(c, kBlack);
}

QRect Painted(Host& host, const std::string& text, bool (*match)(QRgb)) {
    host.view->SetMarkupText(text);
    const QImage image = host.Paint();
    probe::SaveOnFailure save(image, QStringLiteral("picture"));
    return probe::BoundingBox(image, match);
}

// An archive holding `member` uncompressed under `name`.
QByteArray Archive(const std::string& name, const QByteArray& member) {
    QByteArray data = member;
    const std::string size = std::to_string(member.size());
    const std::string index = name + "=0;" + size + ";" + size + ";0;\r\n";
    data.append(index.data(), qsizetype(index.size()));
    const qint32 length = qint32(index.size());
    data.append(reinterpret_cast<const char*>(&length), 4); // little-endian host
    return data;
}

// Collects what the program logs about pictures while it lives.
class PictureLog {
public:
    PictureLog() {
        lines_ = &lines;
        previous_ = qInstallMessageHandler(Capture);
    }
    ~PictureLog() {
        qInstallMessageHandler(previous_);
        lines_ = nullptr;
    }
    QStringList lines;

private:
    static void Capture(QtMsgType, const QMessageLogContext& context, const QString& text) {
        if (lines_ && context.category && QByteArray(context.category) == "zenx.picture")
            lines_->append(text);
    }
    static inline QStringList* lines_ = nullptr;
    QtMessageHandler previous_ = nullptr;
};

} // namespace

TEST(MarkupPictures, SizesFollowTheGivenWidthOrHeightAndTheAspect) {
    TempProgramDir dir;
    dir.Write(QStringLiteral("Pic.PNG"), Png(200, 100, kRed));
    Host host(300, 300);
    EXPECT_EQ(Painted(host, "<IMG NAME=pic.png WIDTH=40>", IsRed), QRect(2, 0, 40, 20));
    EXPECT_EQ(Painted(host, "<img name=\"PIC.PNG\">", IsRed), QRect(2, 0, 200, 100));
    EXPECT_EQ(Painted(host, "<IMG NAME=pic.png HEIGHT=50>", IsRed), QRect(2, 0, 100, 50));
    EXPECT_EQ(Painted(host, "<IMG NAME=pic.png WIDTH=30 HEIGHT=7>", IsRed), QRect(2, 0, 30, 7));
    EXPECT_EQ(Painted(host, "<IMG NAME=pic.png WIDTH=40 ALIGN=right>", IsRed),
              QRect(260, 0, 40, 20));
    EXPECT_EQ(Painted(host, "<IMG NAME=pic.png WIDTH=41 ALIGN=center>", IsRed),
              QRect(130, 0, 41, 20)); // 129.5 and 20.5 round to even
    EXPECT_TRUE(Painted(host, "<IMG NAME=pic.png WIDTH=40 ALIGN=top>", IsRed).isEmpty());
}

TEST(MarkupPictures, AMissingPictureIsABlackFrameOfItsDeclaredSize) {
    TempProgramDir dir;
    Host host(300, 300);
    EXPECT_EQ(Painted(host, "<IMG NAME=gone.png WIDTH=40>", IsBlack), QRect(2, 0, 40, 40));
    EXPECT_EQ(Painted(host, "<IMG NAME=gone.png HEIGHT=12>", IsBlack), QRect(2, 0, 12, 12));
    // Without any size there is nothing to frame.
    EXPECT_TRUE(Painted(host, "<IMG NAME=gone.png>", IsBlack).isEmpty());
    // A file that is no picture counts as missing.
    dir.Write(QStringLiteral("bad.png"), "not a picture");
    EXPECT_EQ(Painted(host, "<IMG NAME=bad.png WIDTH=10 HEIGHT=5>", IsBlack), QRect(2, 0, 10, 5));
}

TEST(MarkupPictures, APictureLineIsAsHighAsItsLastPicture) {
    TempProgramDir dir;
    dir.Write(QStringLiteral("pic.png"), Png(200, 100, kRed));
    Host host;
    // Lower than the text: the next line starts closer than a text line would.
    host.view->SetMarkupText("<IMG NAME=pic.png WIDTH=10>\r\n<A HREF=x>a</A>");
    ASSERT_EQ(host.view->HyperLinks().Count(), 1);
    EXPECT_EQ(host.view->HyperLinks().At(1)->Top, 5);
    host.view->SetMarkupText("<IMG NAME=pic.png WIDTH=10> <IMG NAME=pic.png WIDTH=60>\r\nx");
    EXPECT_EQ(host.view->YMax(), std::max(200, 30 + 2 * LineHeight()));
}

TEST(MarkupPictures, AWidePictureWidensTheContentOnlyWithAHorizontalScrollBar) {
    TempProgramDir dir;
    dir.Write(QStringLiteral("wide.png"), Png(500, 10, kRed));
    Host host(300, 200);
    host.view->SetMarkupText("<IMG NAME=wide.png>");
    EXPECT_EQ(host.view->XMax(), 300);
    EXPECT_EQ(host.view->width(), 300);
    host.view->SetHorScrollBar(true);
    EXPECT_EQ(host.view->XMax(), 500);
    EXPECT_EQ(host.view->width(), 500);
}

TEST(MarkupPictures, PicturesAreDecodedOncePerText) {
    TempProgramDir dir;
    dir.Write(QStringLiteral("pic.png"), Png(20, 10, kRed));
    Host host;
    host.view->SetMarkupText("<IMG NAME=pic.png> <IMG NAME=PIC.png>");
    host.Paint();
    host.view->Relayout();
    host.Paint();
    EXPECT_EQ(host.view->Pictures().DecodeCount(), 1);
    EXPECT_EQ(host.view->Pictures().Count(), 1);
    // A new text starts with an empty cache.
    host.view->SetMarkupText("<IMG NAME=pic.png>");
    EXPECT_EQ(host.view->Pictures().DecodeCount(), 2);
}

TEST(MarkupPictures, ArchivePicturesAreExtractedIntoTheTemporaryFolderAndRemoved) {
    TempProgramDir dir;
    dir.Write(QStringLiteral("zernox2.dat"), Archive("q1.png", Png(30, 20, kRed)));
    const auto index = ReadPictureIndex(plat::ResolvePath("zernox2.dat"));
    ASSERT_TRUE(index.has_value());
    Host host(300, 200, &*index);
    EXPECT_EQ(Painted(host, "<IMG NAME=Q1.PNG>", IsRed), QRect(2, 0, 30, 20));
    EXPECT_FALSE(dir.Exists(QStringLiteral("T/q1.png")));
    EXPECT_EQ(host.view->Pictures().DecodeCount(), 1);

    // A name the index holds is never read as a plain file, and a member
    // that cannot be extracted is a missing picture.
    const std::vector<std::string> broken = {"q2.png=0;50;50;999999;"};
    dir.Write(QStringLiteral("q2.png"), Png(30, 20, kRed));
    Host other(300, 200, &broken);
    EXPECT_EQ(Painted(other, "<IMG NAME=q2.png WIDTH=8 HEIGHT=8>", IsBlack), QRect(2, 0, 8, 8));
    EXPECT_TRUE(Painted(other, "<IMG NAME=q2.png WIDTH=8 HEIGHT=8>", IsRed).isEmpty());
}

TEST(MarkupPictures, APictureThatFailsIsTriedAndLoggedOncePerText) {
    TempProgramDir dir;
    const QByteArray png = Png(20, 10, kRed);
    dir.Write(QStringLiteral("cut.png"), png.first(png.size() / 2));
    dir.Write(QStringLiteral("zernox2.dat"), Archive("bad.png", png.chopped(3)));
    auto index = ReadPictureIndex(plat::ResolvePath("zernox2.dat"));
    ASSERT_TRUE(index.has_value());
    index->push_back("gone.png=0;50;50;999999;"); // lies beyond the archive's end
    Host host(300, 200, &*index);
    PictureLog log;
    const std::string text = "<IMG NAME=cut.png WIDTH=8 HEIGHT=8><IMG NAME=bad.png WIDTH=8 "
                             "HEIGHT=8><IMG NAME=gone.png WIDTH=8 HEIGHT=8><IMG NAME=Cut.PNG>";
    host.view->SetMarkupText(text);
    for (int pass = 0; pass < 3; ++pass) {
        const QImage painted = host.Paint();
        EXPECT_EQ(probe::BoundingBox(painted, IsBlack), QRect(2, 0, 24, 8)); // three frames
        EXPECT_TRUE(probe::BoundingBox(painted, IsRed).isEmpty());
        host.view->Relayout();
    }
    EXPECT_EQ(host.view->Pictures().DecodeCount(), 2); // cut.png and bad.png
    EXPECT_EQ(host.view->Pictures().Count(), 3);
    EXPECT_FALSE(dir.Exists(QStringLiteral("T/bad.png")));
    ASSERT_EQ(log.lines.size(), 3) << log.lines.join('\n').toStdString();
    for (const char* name : {"cut.png", "bad.png", "gone.png"})
        EXPECT_EQ(log.lines.filter(QLatin1String(name)).size(), 1) << name;

    // A new text tries again.
    host.view->SetMarkupText(text);
    host.Paint();
    EXPECT_EQ(host.view->Pictures().DecodeCount(), 4);
    EXPECT_EQ(log.lines.size(), 6);
}
