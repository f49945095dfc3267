#include "picarchive/picture_archive.h"
#include "platform/datetime.h"
#include "tests/common/temp_program_dir.h"
#include "tests/picarchive/archive_bytes.h"

#include <QDateTime>
#include <QFileInfo>
#include <climits>
#include <gtest/gtest.h>

namespace {

using archivetest::Deflate;
using archivetest::WithIndex;

// 12 June 2003 10:20:30 as an MS-DOS date-time.
constexpr uint32_t kDosDate =
    (23u << 25) | (6u << 21) | (12u << 16) | (10u << 11) | (20u << 5) | 15u;

QByteArray Picture(int n, char fill) {
    QByteArray data(n, fill);
    for (int i = 0; i < n; i += 37)
        data[i] = char(i);
    return data;
}

struct Archive {
    TempProgramDir dir;
    QByteArray plain = Picture(1200, 'p');
    QByteArray big = Picture(5000, 'b');
    QByteArray packed = Deflate(big);
    QString path;

    Archive() {
        QByteArray data = plain + packed;
        const std::string d = std::to_string(kDosDate);
        const std::string index = "plain.gif=" + d + ";1200;1200;0;\r\n" + //
                                  "big.bmp=" + d + ";5000;" + std::to_string(packed.size()) +
                                  ";1200;\n" +                         //
                                  "bad.bmp=" + d + ";1000;1200;0;\r" + // stored larger than size
                                  "far.bmp=" + d + ";900;900;999999;\r\n" + // beyond the file
                                  "nosemi.bmp=" + d + ";1200;1200;0";       // offset without ";"
        path = dir.Write("zernox2.dat", WithIndex(data, index));
    }
};

} // namespace

TEST(PictureArchive, IndexLinesSplitAtAnyLineBreak) {
    Archive a;
    const auto index = ReadPictureIndex(a.path);
    ASSERT_TRUE(index.has_value());
    ASSERT_EQ(index->size(), 5u);
    EXPECT_EQ((*index)[0].substr(0, 10), "plain.gif=");
    EXPECT_EQ((*index)[4].substr(0, 11), "nosemi.bmp=");
    EXPECT_EQ(ParsePictureIndex(a.dir.Read("zernox2.dat")), *index);
}

TEST(PictureArchive, MissingArchiveGivesNothingAndDamagedOneAnEmptyList) {
    TempProgramDir dir;
    EXPECT_FALSE(ReadPictureIndex(dir.Path() + "zernox2.dat").has_value());
    const std::string line = "a.gif=1;2;2;0;";
    QByteArray tooLong = WithIndex("xx", line);
    qToLittleEndian<qint32>(qint32(tooLong.size()), tooLong.data() + tooLong.size() - 4);
    QByteArray negative = WithIndex("xx", line);
    qToLittleEndian<qint32>(-3, negative.data() + negative.size() - 4);
    for (const QByteArray& bytes : {tooLong, negative, QByteArray("\x01\x00", 2), QByteArray()}) {
        const auto index = ReadPictureIndex(dir.Write("zernox2.dat", bytes));
        ASSERT_TRUE(index.has_value());
        EXPECT_TRUE(index->empty());
        EXPECT_TRUE(ParsePictureIndex(bytes).empty());
    }
    // The whole file as index is still in bounds.
    const auto whole = ReadPictureIndex(dir.Write("zernox2.dat", WithIndex({}, line)));
    EXPECT_EQ(*whole, std::vector<std::string>{line});
}

TEST(PictureArchive, EntryFieldsNeedTheirSemicolon) {
    const TPictureEntry full = ParsePictureEntry("Fig.BMP=" + std::to_string(kDosDate) + ";5;4;3;");
    EXPECT_EQ(full.Name, "Fig.BMP");
    EXPECT_DOUBLE_EQ(full.DateTime, plat::FileDateToDateTime(kDosDate));
    EXPECT_EQ(full.Size, 5);
    EXPECT_EQ(full.StoredSize, 4);
    EXPECT_EQ(full.Offset, 3);

    const TPictureEntry noOffsetEnd = ParsePictureEntry("a=1;5;4;3");
    EXPECT_EQ(noOffsetEnd.Size, 5);
    EXPECT_EQ(noOffsetEnd.Offset, -1);
    const TPictureEntry emptyDate = ParsePictureEntry("a=;5;x;;");
    EXPECT_EQ(emptyDate.DateTime, 0);
    EXPECT_EQ(emptyDate.Size, 5);
    EXPECT_EQ(emptyDate.StoredSize, 0);
    EXPECT_EQ(emptyDate.Offset, -1);
    const TPictureEntry noValue = ParsePictureEntry("just a name");
    EXPECT_EQ(noValue.Name, "");
    EXPECT_EQ(noValue.Offset, -1);
    EXPECT_EQ(ParsePictureEntry(std::string(300, 'n') + "=1;1;1;1;").Name.size(), 255u);
}

TEST(PictureArchive, FindPictureIgnoresCase) {
    const std::vector<std::string> index = {"nodate", "reeks1.bmp=0;10;10;0;",
                                            "REEKS1.BMP=0;1;1;1;"};
    const TPictureEntry found = FindPicture(index, "REEKS1.bmp");
    EXPECT_EQ(found.Name, "reeks1.bmp"); // the first line that matches
    EXPECT_EQ(found.Size, 10);
    EXPECT_TRUE(PictureIndexHolds(index, "Reeks1.Bmp"));
    EXPECT_FALSE(PictureIndexHolds(index, "nodate"));
    const TPictureEntry none = FindPicture(index, "other.bmp");
    EXPECT_EQ(none.Name, "");
    EXPECT_EQ(none.Size, 0);
    EXPECT_EQ(none.Offset, -1);
}

TEST(PictureArchive, ExtractsStoredAndDeflatedMembersWithTheirDate) {
    Archive a;
    const auto index = *ReadPictureIndex(a.path);
    const QString plainTarget = a.dir.Path() + "T/sub/plain.gif";
    ASSERT_TRUE(ExtractPicture(a.path, FindPicture(index, "PLAIN.GIF"), plainTarget));
    EXPECT_EQ(a.dir.Read("T/sub/plain.gif"), a.plain);
    const QDateTime modified = QFileInfo(plainTarget).lastModified();
    EXPECT_EQ(modified.date(), QDate(2003, 6, 12));
    EXPECT_EQ(modified.time(), QTime(10, 20, 30));

    ASSERT_TRUE(ExtractPicture(a.path, FindPicture(index, "big.bmp"), a.dir.Path() + "T/big.bmp"));
    EXPECT_EQ(a.dir.Read("T/big.bmp"), a.big);
}

TEST(PictureArchive, RefusedMembersLeaveNoFile) {
    Archive a;
    const auto index = *ReadPictureIndex(a.path);
    for (const char* name : {"bad.bmp", "far.bmp", "nosemi.bmp", "missing.bmp"}) {
        const QString target = a.dir.Path() + "T/" + name;
        EXPECT_FALSE(ExtractPicture(a.path, FindPicture(index, name), target)) << name;
        EXPECT_FALSE(QFileInfo::exists(target)) << name;
    }
    // A corrupt stream and an absurd declared size.
    TPictureEntry big = FindPicture(index, "big.bmp");
    QByteArray damaged = a.dir.Read("zernox2.dat");
    damaged[1200 + 10] = char(damaged[1200 + 10] ^ 0x77);
    const QString damagedPath = a.dir.Write("damaged.dat", damaged);
    EXPECT_FALSE(ExtractPicture(damagedPath, big, a.dir.Path() + "T/x.bmp"));
    big.Size = INT32_MAX;
    EXPECT_FALSE(ExtractPicture(a.path, big, a.dir.Path() + "T/y.bmp"));
    EXPECT_FALSE(a.dir.Exists("T/x.bmp"));
    EXPECT_FALSE(a.dir.Exists("T/y.bmp"));
    EXPECT_FALSE(ExtractPicture(a.dir.Path() + "none.dat", FindPicture(index, "plain.gif"),
                                a.dir.Path() + "T/z.gif"));
}

TEST(PictureArchive, TempPathKeepsOnlyTheFileName) {
    TempProgramDir dir;
    dir.Write("t/keep", "");
    EXPECT_EQ(PictureTempPath("fig1.bmp"), dir.Path() + "t/fig1.bmp");
    EXPECT_EQ(PictureTempPath("..\\..\\evil.bmp"), dir.Path() + "t/evil.bmp");
    EXPECT_EQ(PictureTempPath("/etc/passwd"), dir.Path() + "t/passwd");
    for (const char* bad : {"", "..", "a/..", "dir/", "."})
        EXPECT_TRUE(PictureTempPath(bad).isEmpty()) << bad;
}
