#include "recdb/db_rec_file.h"
#include "recdb/open_database.h"
#include "recdb/scramble.h"
#include "tests/common/temp_program_dir.h"
#include "tests/recdb/db_bytes.h"

#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <random>

namespace {

using dbtest::File;

TiDbRecFile Loaded(const QByteArray& bytes, bool* ok = nullptr) {
    TiDbRecFile db;
    const bool result = db.LoadFromBytes(bytes);
    if (ok)
        *ok = result;
    db.ActivateAll();
    return db;
}

} // namespace

TEST(DbRecFile, CountOnlyFilesLoadWithoutRecords) {
    for (int32_t count : {0, -1, INT32_MIN}) {
        QByteArray bytes;
        dbtest::PutU32(bytes, uint32_t(count));
        TiDbRecFile db;
        EXPECT_TRUE(db.LoadFromBytes(bytes)) << count;
        db.ActivateAll();
        EXPECT_EQ(db.Count(), 0);
        EXPECT_EQ(db.ActiveCount(), 0);
        EXPECT_EQ(db.RememberedN(), 0);
        EXPECT_EQ(db.RecordAt(1).Key, nullptr);
    }
}

TEST(DbRecFile, MissingOrShortFileGivesEmptyDatabase) {
    TempProgramDir dir;
    TiDbRecFile db;
    ASSERT_TRUE(db.LoadFromBytes(File({{"BkInfo|A", "a"}})));
    EXPECT_FALSE(db.LoadFromFile(dir.Path() + "none.dat"));
    EXPECT_EQ(db.Count(), 0); // what was loaded before is gone
    EXPECT_FALSE(db.LoadFromFile(dir.Write("short.dat", QByteArray("\1\0\0", 3))));
    EXPECT_EQ(db.Count(), 0);
    EXPECT_FALSE(db.LoadFromFile(dir.Path())); // a directory
}

TEST(DbRecFile, FileCutShortKeepsRecordsBeforeTheCut) {
    const QByteArray full = File({{"Test|a", "one"}, {"Test|b", "two"}, {"Test|c", "three"}});
    const QByteArray threeDeclaredTwoPresent = File({{"Test|a", "one"}, {"Test|b", "two"}}, 3);
    // Cut inside the third record's header, key and body.
    for (const QByteArray& bytes : {threeDeclaredTwoPresent, full.left(full.size() - 12),
                                    full.left(full.size() - 7), full.left(full.size() - 1)}) {
        bool ok = true;
        TiDbRecFile db = Loaded(bytes, &ok);
        EXPECT_FALSE(ok);
        ASSERT_EQ(db.Count(), 2);
        EXPECT_EQ(db.RecordAt(2).BodyText(), "two");
    }
}

TEST(DbRecFile, HugeDeclaredCountIsBoundedByTheFile) {
    bool ok = true;
    TiDbRecFile db = Loaded(File({{"Test|a", "x"}}, INT32_MAX), &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(db.Count(), 1);
}

TEST(DbRecFile, UnscramblesEveryByteAndZeroEndsTheText) {
    QByteArray bytes;
    dbtest::PutU32(bytes, 1);
    dbtest::PutU32(bytes, 77); // the stored number is kept as it is
    dbtest::PutU16(bytes, 2);
    dbtest::PutU16(bytes, 5);
    bytes.append("\x41\xC0", 2);             // key as stored
    bytes.append("\xFF\x41\xC0\x00\x41", 5); // body as stored
    TiDbRecFile db = Loaded(bytes);
    const TDbRec rec = db.RecordAt(1);
    EXPECT_EQ(rec.RecNo, 77);
    EXPECT_EQ(rec.KeyLen, 2);
    EXPECT_EQ(rec.BodyLen, 5);
    EXPECT_EQ(rec.Active, 1);
    EXPECT_EQ(rec.KeyText(), "\xC0\x41");
    EXPECT_EQ(std::string(rec.Body, 5), std::string("\xFF\xC0\x41\x00\xC0", 5));
    EXPECT_EQ(rec.BodyText(), "\xFF\xC0\x41"); // readers stop at the zero byte
    EXPECT_EQ(rec.Body[5], '\0');
}

TEST(DbRecFile, ZeroLengthTextsHaveNoText) {
    TiDbRecFile db = Loaded(File({{"", "body"}, {"BkInfo|T", ""}}));
    EXPECT_EQ(db.RecordAt(1).Key, nullptr);
    EXPECT_EQ(db.RecordAt(1).BodyText(), "body");
    EXPECT_EQ(db.RecordAt(2).Body, nullptr);
    EXPECT_EQ(db.RecordAt(2).BodyLen, 0);
}

TEST(DbRecFile, UnscrambleCopyMatchesTheByteRuleAtAnyLengthAndOverlap) {
    std::mt19937 rng(7);
    for (size_t len : {0u, 1u, 15u, 16u, 17u, 31u, 64u, 1000u}) {
        for (size_t gap : {0u, 1u, 8u}) {
            std::string buf(len + gap, '\0');
            for (char& c : buf)
                c = char(rng());
            const std::string src = buf.substr(gap);
            recdb::UnscrambleCopy(buf.data(), buf.data() + gap, len); // compacting in place
            for (size_t i = 0; i < len; ++i)
                ASSERT_EQ(uint8_t(buf[i]), recdb::Unscramble(uint8_t(src[i]))) << len << "/" << i;
        }
    }
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(recdb::Unscramble(recdb::Unscramble(uint8_t(b))), b);
}

TEST(DbRecFile, RecordsStayInactiveUntilActivateAll) {
    TiDbRecFile db;
    ASSERT_TRUE(db.LoadFromBytes(File({{"a", "1"}, {"b", "2"}, {"c", "3"}})));
    EXPECT_EQ(db.ActiveCount(), 0);
    EXPECT_EQ(db.LocateActive(1), 0);
    EXPECT_EQ(db.RecordAt(1).Key, nullptr);
    db.ActivateAll();
    EXPECT_EQ(db.ActiveCount(), 3);
    EXPECT_EQ(db.RememberedN(), 1);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(db.LocateActive(n), n);
}

TEST(DbRecFile, RememberedNumberFollowsSuccessfulLookupsOnly) {
    TiDbRecFile db = Loaded(File({{"a", "1"}, {"b", "2"}, {"c", "3"}}));
    EXPECT_EQ(db.RecordAt(2).BodyText(), "2");
    EXPECT_EQ(db.RememberedN(), 2);
    for (int32_t bad : {0, -5, 4, INT32_MAX}) {
        const TDbRec none = db.RecordAt(bad);
        EXPECT_EQ(none.RecNo, 0);
        EXPECT_EQ(none.Key, nullptr);
        EXPECT_EQ(none.Body, nullptr);
        EXPECT_EQ(db.RememberedN(), 2) << bad;
    }
    db.ActivateAll(); // keeps a position that is still inside
    EXPECT_EQ(db.RememberedN(), 2);
}

TEST(DbRecFile, GaugeRunsFromZeroToHundredAndIgnoresReentrantLoads) {
    TempProgramDir dir;
    std::vector<std::pair<std::string, std::string>> records;
    for (int i = 0; i < 300; ++i)
        records.emplace_back("Test|x", std::string(size_t(i % 40), 'b'));
    const QString path = dir.Write("D/IDbRecs.dat", File(records));
    TiDbRecFile db;
    std::vector<int> seen;
    bool nestedResult = true;
    ASSERT_TRUE(db.LoadFromFile(path, [&](int percent) {
        seen.push_back(percent);
        if (percent == 50)
            nestedResult = db.LoadFromFile(path);
    }));
    EXPECT_FALSE(nestedResult);
    EXPECT_EQ(db.Count(), 300);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST(DbRecFile, OpenRecordDatabaseBuildsBothIndexes) {
    TempProgramDir dir;
    dir.Write("d/idbrecs.DAT", File({{"BkInfo|Over IQ", "tekst"},
                                     {"Test|abcd00000000000", "Groep\r\n"},
                                     {"Test|abcd00100000000", "Test"}}));
    TiDbRecFile db;
    TRecordIndex index;
    std::vector<std::string> topics;
    EXPECT_TRUE(OpenRecordDatabase(db, index, topics));
    EXPECT_EQ(db.ActiveCount(), 3);
    EXPECT_EQ(topics, std::vector<std::string>{"1|Over IQ"});
    EXPECT_EQ(EntryTitle(topics[0]), "Over IQ");
    EXPECT_EQ(index.size(), 2u);
    EXPECT_EQ(db.GroupTitle(index, "abcd"), "Groep");
}

TEST(DbRecFile, PendingEventsRunAfterEveryRecordOnlyWithAGauge) {
    std::vector<std::pair<std::string, std::string>> records(250, {"BkInfo|t", "body"});
    const QByteArray bytes = File(records);
    QObject receiver;
    TiDbRecFile db;
    // Calls queued before loading: with a gauge they run in the first pass,
    // when the bar is set to 0 and no record is read yet.
    std::vector<int32_t> seenAt;
    auto queue = [&] {
        seenAt.clear();
        for (int i = 0; i < 2; ++i)
            QMetaObject::invokeMethod(
                &receiver, [&] { seenAt.push_back(db.Count()); }, Qt::QueuedConnection);
    };
    queue();
    ASSERT_TRUE(db.LoadFromBytes(bytes, [](int) {}));
    ASSERT_EQ(seenAt.size(), 2u);
    EXPECT_EQ(seenAt[0], 0); // the pass at 0 percent, before the first record
    EXPECT_EQ(seenAt[1], 0); // both were pending at once

    seenAt.clear();
    ASSERT_TRUE(db.LoadFromBytes(bytes, [&](int percent) {
        if (percent == 1) // after record 3 of 250; the pass that follows runs it
            QMetaObject::invokeMethod(
                &receiver, [&] { seenAt.push_back(db.Count()); }, Qt::QueuedConnection);
    }));
    ASSERT_EQ(seenAt.size(), 1u);
    EXPECT_EQ(seenAt[0], 3); // before record 4 was read

    queue();
    ASSERT_TRUE(db.LoadFromBytes(bytes));
    EXPECT_TRUE(seenAt.empty()); // without a gauge nothing runs while loading
    QCoreApplication::processEvents();
    EXPECT_EQ(seenAt, (std::vector<int32_t>{250, 250}));
}
