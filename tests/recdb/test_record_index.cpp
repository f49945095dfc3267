#include "recdb/db_rec_file.h"
#include "tests/recdb/db_bytes.h"

#include <gtest/gtest.h>

namespace {

using Records = std::vector<std::pair<std::string, std::string>>;

struct Db {
    TiDbRecFile db;
    TRecordIndex index;
    std::vector<std::string> topics;
    explicit Db(const Records& records) {
        db.LoadFromBytes(dbtest::File(records));
        db.ActivateAll();
        db.BuildTestIndex(index);
        db.BuildInfoIndex(topics);
    }
};

// Two groups, the second defined first by a question, with a test header, two
// questions (the first followed by an explanation repeating its code), a
// group without tests and records of no kind in between.
const Records kContent = {
    {"BkInfo|Intelligentie", "Over intelligentie"},             // 1
    {"Test|rkn100100101001c", "Vraag 1 van groep rkn1"},        // 2
    {"Test|getl00000000000", "Getallen\r\nTweede regel"},       // 3
    {"Test|getl00100000000", "Reeksen\nzonder CR"},             // 4
    {"Test|getl00100501002ab", "Vraag vijf"},                   // 5
    {"Test|getl00100501002ab|uitleg", "Uitleg bij vijf"},       // 6
    {"", "geen sleutel"},                                       // 7
    {"Test|getl001002abc01b", "Vraag twee, punten geen getal"}, // 8
    {"BkInfo|Verborgen|x", "niet in de lijst"},                 // 9
    {"Test|GETL00200100101a", "andere hoofdletters"},           // 10
    {"Test|leeg00000000000", "Lege groep"},                     // 11
    {"Test|rkn100000000000", "Rekenen"},                        // 12
    {"bkinfo|klein", "soort telt hoofdletters"},                // 13
    {"BkInfo|", "zonder titel"},                                // 14
};

} // namespace

TEST(RecordIndex, ReferenceListHoldsOnlyPlainBkInfoRecords) {
    Db d(kContent);
    EXPECT_EQ(d.topics, std::vector<std::string>{"1|Intelligentie"});
}

TEST(RecordIndex, TestIndexIsOrderedByGroupThenFile) {
    Db d(kContent);
    const std::vector<std::string> expected = {
        "2|rkn100100101001c",  "12|rkn100000000000", // group rkn1
        "3|getl00000000000",   "4|getl00100000000",
        "5|getl00100501002ab", "6|getl00100501002ab<$i>uitleg",
        "8|getl001002abc01b", // group getl
        "11|leeg00000000000", // group leeg
    };
    EXPECT_EQ(d.index.Entries(), expected);
    // "GETL" is the same group regardless of case, but its record does not
    // start with the code exactly, so it is listed nowhere.
    ASSERT_EQ(d.index.GroupCount(), 3);
    EXPECT_EQ(d.index.GroupCodeAt(1), "rkn1");
    EXPECT_EQ(d.index.GroupCodeAt(2), "getl");
    EXPECT_EQ(d.index.GroupCodeAt(3), "leeg");
    EXPECT_EQ(d.index.GroupCodeAt(0), "");
    EXPECT_EQ(d.index.GroupCodeAt(4), "");
}

TEST(RecordIndex, ExplanationRecordsDoNotCreateGroups) {
    Db d(Records{{"Test|abcd00100101001a|uitleg", "uitleg"}});
    EXPECT_EQ(d.index.GroupCount(), 0);
    EXPECT_TRUE(d.index.empty());
}

TEST(RecordIndex, ShortCodeGroupsTakeEveryRecordStartingWithThem) {
    Db d(Records{{"Test|ab", "kort"}, {"Test|abcd00000000000", "lang"}});
    EXPECT_EQ(d.index.Entries(),
              (std::vector<std::string>{"1|ab", "2|abcd00000000000", "2|abcd00000000000"}));
}

TEST(RecordIndex, ExtractorsNeedMoreThanSixteenCharacters) {
    const std::string sixteen = "1|abcd00100101001";
    ASSERT_EQ(sixteen.size(), 17u);
    EXPECT_EQ(EntryGroup(sixteen), "abcd");
    EXPECT_EQ(EntryAnswer(sixteen), "");
    for (const std::string e : {"1|abcd0010010100", "12345678901234567", "|abc"}) {
        EXPECT_EQ(EntryGroup(e), "") << e;
        EXPECT_EQ(EntryTest(e), "") << e;
        EXPECT_EQ(EntryQuestion(e), "") << e;
        EXPECT_EQ(EntryPoints(e), "") << e;
        EXPECT_EQ(EntryAnswerLength(e), "") << e;
        EXPECT_EQ(EntryAnswer(e), "") << e;
    }
    const std::string e = "123|getl00100501002ab<$i>uitleg";
    EXPECT_EQ(EntryGroup(e), "getl");
    EXPECT_EQ(EntryTest(e), "001");
    EXPECT_EQ(EntryQuestion(e), "005");
    EXPECT_EQ(EntryPoints(e), "010");
    EXPECT_EQ(EntryAnswerLength(e), "02");
    EXPECT_EQ(EntryAnswer(e), "ab<$i>uitleg");
    EXPECT_EQ(EntryRecNo(e), 123);
    EXPECT_EQ(EntryRecNo("x1|abc"), 0);
    EXPECT_EQ(EntryRecNo("99999999999|abc"), 0);
}

TEST(RecordIndex, TestsAndQuestionsAreDistinctAndSkipZero) {
    Db d(kContent);
    EXPECT_EQ(d.index.TestCount("getl"), 1);
    EXPECT_EQ(d.index.TestAt("getl", 1), "001");
    EXPECT_EQ(d.index.TestAt("getl", 2), "");
    EXPECT_EQ(d.index.TestCount("leeg"), 0); // only its header
    EXPECT_EQ(d.index.TestCount("GETL"), 0); // codes compare exactly
    // The explanation repeats question 005: counted once, first in the file.
    EXPECT_EQ(d.index.QuestionCount("getl001"), 2);
    EXPECT_EQ(d.index.QuestionAt("getl001", 1), "005");
    EXPECT_EQ(d.index.QuestionAt("getl001", 2), "002");
    EXPECT_EQ(d.index.QuestionAt("getl001", 3), "");
    EXPECT_EQ(d.index.QuestionAt("getl001", -1), "");
    EXPECT_EQ(d.index.FindEntry("getl001005"), "5|getl00100501002ab");
    EXPECT_EQ(d.index.FindEntry("getl001009"), "");
    EXPECT_EQ(EntryPoints(d.index.FindEntry("getl001002")), "abc");
}

TEST(RecordIndex, TitlesAreFirstLinesOfHeaderBodies) {
    Db d(kContent);
    EXPECT_EQ(d.db.GroupTitle(d.index, "getl"), "Getallen");
    EXPECT_EQ(d.db.TestTitle(d.index, "getl001"), "Reeksen\nzonder CR"); // only CR LF ends it
    EXPECT_EQ(d.db.GroupTitle(d.index, "rkn1"), "Rekenen");
    EXPECT_EQ(d.db.GroupTitle(d.index, "none"), "");
    EXPECT_EQ(d.db.TestTitle(d.index, "getl002"), "");

    Db longTitle(Records{{"Test|abcd00000000000", std::string(300, 'x')}});
    EXPECT_EQ(longTitle.db.GroupTitle(longTitle.index, "abcd").size(), 255u);
}

TEST(RecordIndex, TitleOfAnEntryBeyondTheRecordsIsEmpty) {
    // An index taken from a larger database than the one loaded now.
    Db big(kContent);
    Db small(Records{{"BkInfo|x", "y"}});
    EXPECT_EQ(small.db.GroupTitle(big.index, "leeg"), ""); // recno 11 of 1
}

TEST(RecordIndex, FindRecordNoMatchesSubstringsOfTheFirstTenColumns) {
    Db d(kContent);
    EXPECT_EQ(d.index.FindRecordNo("getl001000"), 4); // test header
    EXPECT_EQ(d.index.FindRecordNo("getl001005"), 5); // the question, not its explanation
    EXPECT_EQ(d.index.FindRecordNo("l001"), 4);       // first entry containing it
    EXPECT_EQ(d.index.FindRecordNo("rkn1001"), 2);
    EXPECT_EQ(d.index.FindRecordNo("01002"), 8);       // columns 6-10 of entry 8
    EXPECT_EQ(d.index.FindRecordNo("ab"), 0);          // the answer is beyond column 10
    EXPECT_EQ(d.index.FindRecordNo("getl0010050"), 0); // longer than ten columns
    EXPECT_EQ(d.index.FindRecordNo(""), 2);            // contained in every entry
}

TEST(RecordIndex, EmptyIndexAnswersEverything) {
    const TRecordIndex index;
    EXPECT_EQ(index.GroupCount(), 0);
    EXPECT_EQ(index.TestCount(""), 0);
    EXPECT_EQ(index.QuestionCount("abcd001"), 0);
    EXPECT_EQ(index.FindEntry(""), "");
    EXPECT_EQ(index.FindRecordNo("abc"), 0);
    EXPECT_EQ(index.FindRecordNo(""), 0);
}

TEST(RecordIndex, LookupsFollowChangesToTheList) {
    TRecordIndex index;
    index.Add("1|abcd00100101001a");
    EXPECT_EQ(index.QuestionCount("abcd001"), 1);
    index.Add("2|abcd00100201001b");
    EXPECT_EQ(index.QuestionCount("abcd001"), 2);
    TRecordIndex copy = index;
    index.Clear();
    EXPECT_EQ(index.QuestionCount("abcd001"), 0);
    EXPECT_EQ(copy.FindRecordNo("abcd001002"), 2);
    index.Add(std::string(300, 'x'));
    EXPECT_EQ(index[0].size(), 255u);
}

TEST(RecordIndex, SplitKeyKeepsFourPartsOfAtMost255) {
    const TKeyParts p = SplitKey("Test|code|x|y|rest|more");
    EXPECT_EQ(p.Kind, "Test");
    EXPECT_EQ(p.Part2, "code");
    EXPECT_EQ(p.Part3, "x");
    EXPECT_EQ(p.Part4, "y");
    EXPECT_EQ(SplitKey("BkInfo").Part2, "");
    EXPECT_EQ(SplitKey("BkInfo|" + std::string(400, 't')).Part2.size(), 255u);
    EXPECT_EQ(SplitKey("").Kind, "");
}
