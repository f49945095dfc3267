#include "picarchive/picture_archive.h"
#include "platform/profile_file.h"
#include "recdb/db_rec_file.h"
#include "tests/common/temp_program_dir.h"
#include "tools/archive_writer.h"
#include "tools/db_writer.h"
#include "tools/norm_table.h"

#include <gtest/gtest.h>

TEST(ContentWriters, DatabaseLoadsBackWithNumbersByPlace) {
    std::vector<TSourceRecord> records = {
        {"BkInfo|Titel", "Tekst\r\nmet \xE9\xFF", "", 0, 0, 0},
        {"", "", "", 0, 0, 0},
        {"Test|abcd00000000000", std::string("a\0b", 3), "", 0, 0, 0},
    };
    QByteArray file;
    ASSERT_TRUE(WriteDatabase(records, file));
    TiDbRecFile db;
    ASSERT_TRUE(db.LoadFromBytes(file));
    db.ActivateAll();
    ASSERT_EQ(db.Count(), 3);
    for (int n = 1; n <= 3; ++n) {
        const TDbRec rec = db.RecordAt(n);
        EXPECT_EQ(rec.RecNo, n);
        EXPECT_EQ(std::string(rec.Key ? rec.Key : "", rec.KeyLen), records[size_t(n) - 1].Key);
        EXPECT_EQ(std::string(rec.Body ? rec.Body : "", rec.BodyLen), records[size_t(n) - 1].Body);
    }
    std::vector<TSourceRecord> back;
    EXPECT_TRUE(ReadDatabase(file, back));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[2].Body, records[2].Body);
    EXPECT_FALSE(ReadDatabase(file.left(file.size() - 1), back));
    EXPECT_EQ(back.size(), 2u);

    records[0].Body.assign(70000, 'x');
    std::string error;
    EXPECT_FALSE(WriteDatabase(records, file, &error));
    EXPECT_FALSE(error.empty());
}

TEST(ContentWriters, ArchiveDeflatesOnlyWhenThatSavesSpace) {
    TempProgramDir dir;
    QByteArray noise;
    uint32_t x = 12345;
    for (int i = 0; i < 3000; ++i) {
        x = x * 1103515245u + 12345u;
        noise.append(char(x >> 24));
    }
    const QByteArray flat(8000, 'f');
    const uint32_t date = (40u << 25) | (1u << 21) | (2u << 16);
    QByteArray archive;
    ASSERT_TRUE(WriteArchive({{"noise.png", noise, date}, {"flat.bmp", flat, date}}, archive));
    const QString path = dir.Write("zernox2.dat", archive);
    const auto index = ReadPictureIndex(path);
    ASSERT_TRUE(index && index->size() == 2u);
    const TPictureEntry stored = FindPicture(*index, "NOISE.PNG");
    const TPictureEntry packed = FindPicture(*index, "flat.bmp");
    EXPECT_EQ(stored.StoredSize, stored.Size);
    EXPECT_LT(packed.StoredSize, packed.Size);
    EXPECT_EQ(packed.Offset, stored.StoredSize);
    ASSERT_TRUE(ExtractPicture(path, stored, dir.Path() + "T/noise.png"));
    ASSERT_TRUE(ExtractPicture(path, packed, dir.Path() + "T/flat.bmp"));
    EXPECT_EQ(dir.Read("T/noise.png"), noise);
    EXPECT_EQ(dir.Read("T/flat.bmp"), flat);

    EXPECT_FALSE(WriteArchive({{"a=b.png", flat, 0}}, archive));
    EXPECT_FALSE(WriteArchive({{"empty.png", {}, 0}}, archive));
}

TEST(ContentWriters, NormTableCoversEveryAgeAndRawScore) {
    TempProgramDir dir;
    const QString model = dir.Write("normen.ini", "[14-16]\ngemiddelde=90\nspreiding=30\n"
                                                  "[17-21]\ngemiddelde=100\nspreiding=30\n"
                                                  "[22-30]\ngemiddelde=100\nspreiding=30\n"
                                                  "[>30]\ngemiddelde=95\nspreiding=30\n");
    std::vector<TNormGroup> groups;
    std::string error;
    ASSERT_TRUE(ReadNormModel(model, groups, error)) << error;
    const QString iq = dir.Write("d/iq.dat", NormTableText(groups));
    EXPECT_EQ(plat::ReadProfileString(iq, "14-16", "90"), "100");
    EXPECT_EQ(plat::ReadProfileString(iq, "17-21", "130"), "115"); // one spread up
    EXPECT_EQ(plat::ReadProfileString(iq, "17-21", "0"), "50");
    EXPECT_EQ(plat::ReadProfileString(iq, ">30", "164"), "135"); // 134.5 rounds up
    EXPECT_EQ(plat::ReadProfileString(iq, "22-30", "165", "none"), "none");
    EXPECT_EQ(NormIQ({"x", 100, 5}, 0), 40); // kept within the range
    EXPECT_EQ(NormIQ({"x", 0, 5}, 164), 155);

    const QString bad = dir.Write("bad.ini", "[14-16]\ngemiddelde=90\nspreiding=0\n");
    EXPECT_FALSE(ReadNormModel(bad, groups, error));
    EXPECT_NE(error.find("14-16"), std::string::npos);
}

TEST(ContentWriters, NormModelReadsDecimalCommasAndTheStarterModelHasNoJumpAtTheTop) {
    TempProgramDir dir;
    const QString model = dir.Write("normen.ini", "[14-16]\ngemiddelde=90,5\nspreiding= 17,5 \n"
                                                  "[17-21]\ngemiddelde=100\nspreiding=17.5\n"
                                                  "[22-30]\ngemiddelde=100\nspreiding=17.5\n"
                                                  "[>30]\ngemiddelde=100\nspreiding=17.5\n");
    std::vector<TNormGroup> groups;
    std::string error;
    ASSERT_TRUE(ReadNormModel(model, groups, error)) << error;
    EXPECT_DOUBLE_EQ(groups[0].Mean, 90.5);
    EXPECT_DOUBLE_EQ(groups[0].Spread, 17.5);

    // Raw scores above 164 show as ">155", so the table must reach 155 at 164
    // and rise without a step back anywhere below it.
    ASSERT_TRUE(ReadNormModel(QStringLiteral(ZENX_CONTENT_DIR "/normen.ini"), groups, error))
        << error;
    ASSERT_EQ(groups.size(), 4u);
    for (const TNormGroup& g : groups) {
        EXPECT_EQ(NormIQ(g, kMaxRawScore), 155) << g.Section;
        EXPECT_GE(NormIQ(g, 100), 90) << g.Section;
        EXPECT_LE(NormIQ(g, 100), 110) << g.Section;
        for (int raw = 1; raw <= kMaxRawScore; ++raw)
            EXPECT_GE(NormIQ(g, raw), NormIQ(g, raw - 1)) << g.Section << " " << raw;
    }
}
