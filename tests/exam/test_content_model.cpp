#include "exam/content_model.h"
#include "tests/recdb/db_bytes.h"

#include <gtest/gtest.h>

namespace {

using Records = std::vector<std::pair<std::string, std::string>>;

const Records kRecords = {
    {"Test|getl00000000000", "Getallen\r\nuitleg over de groep"},  // 1 group header
    {"Test|getl00100000000", "Reeksen\r\n<a href=\"starttest\">"}, // 2 test header
    {"Test|getl00103001001c", "Vraag A"},                          // 3 question 030
    {"Test|getl00103001001c|uitleg", "Omdat c."},                  // 4 its explanation
    {"Test|getl001010x1z02ab", "Vraag B"},                         // 5 question 010
    {"BkInfo|Los", "geen uitleg"},                                 // 6
    {"Test|leeg00000000000", "Lege groep"},                        // 7 group without tests
    {"Test|getl00200500001", "Vraag zonder antwoord"},             // 8 question 005
    {"Test|x|uitleg", "volgt geen vraag"},                         // 9 explains 8 by place
};

struct Content {
    TiDbRecFile db;
    TRecordIndex index;
    TTestContent content{db, index};
    Content() {
        db.LoadFromBytes(dbtest::File(kRecords));
        db.ActivateAll();
        db.BuildTestIndex(index);
    }
};

} // namespace

TEST(TestContent, RolesFollowTheCodeAndTheRecordBefore) {
    std::vector<TRecordRole> roles;
    std::string previous;
    for (const auto& [key, body] : kRecords) {
        roles.push_back(RecordRole(key, previous));
        previous = key;
    }
    using R = TRecordRole;
    EXPECT_EQ(roles,
              (std::vector<R>{R::GroupHeader, R::TestHeader, R::Question, R::Explanation,
                              R::Question, R::None, R::GroupHeader, R::Question, R::Explanation}));
    EXPECT_EQ(RecordRole("Test|getl00100000000|", "Test|getl00103001001c"), R::TestHeader);
    EXPECT_EQ(RecordRole("Test|getl0010000000", ""), R::None); // too short for a code
}

TEST(TestContent, GroupsTestsAndQuestionsInRunOrder) {
    Content c;
    ASSERT_EQ(c.content.GroupCount(), 2);
    EXPECT_EQ(c.content.GroupCodeAt(1), "getl");
    EXPECT_EQ(c.content.GroupTitle("getl"), "Getallen");
    EXPECT_EQ(c.content.TestCount("getl"), 2);
    EXPECT_EQ(c.content.TestCount("leeg"), 0);
    const std::string key = TestKey("getl", c.content.TestAt("getl", 1));
    EXPECT_EQ(key, "getl001");
    EXPECT_EQ(c.content.TestTitle(key), "Reeksen");
    EXPECT_EQ(c.content.TestTitle("getl002"), ""); // no header record
    // Stored numbers 030 and 010 become questions 1 and 2; the explanation
    // repeating 030 is not a third.
    ASSERT_EQ(c.content.QuestionCount(key), 2);
    EXPECT_EQ(c.content.QuestionAt(key, 1), "030");
    EXPECT_EQ(QuestionKey(key, c.content.QuestionAt(key, 2)), "getl001010");
}

TEST(TestContent, QuestionFieldsWithNonNumbersCountingZero) {
    Content c;
    const TQuestionInfo first = c.content.Question("getl001", 1);
    EXPECT_EQ(first.Key, "getl001030");
    EXPECT_EQ(first.Points, 10);
    EXPECT_EQ(first.AnswerLength, 1);
    EXPECT_EQ(first.Answer, "c");
    EXPECT_EQ(first.RecNo, 3);
    const TQuestionInfo second = c.content.Question("getl001", 2);
    EXPECT_EQ(second.Points, 0); // "x1z"
    EXPECT_EQ(second.AnswerLength, 2);
    EXPECT_EQ(second.Answer, "ab");
    const TQuestionInfo noAnswer = c.content.QuestionByKey("getl002005");
    EXPECT_EQ(noAnswer.Points, 0);
    EXPECT_EQ(noAnswer.AnswerLength, 1);
    EXPECT_EQ(noAnswer.Answer, "");
    EXPECT_EQ(c.content.Question("getl001", 3).Key, "");
}

TEST(TestContent, RecordsAndExplanations) {
    Content c;
    EXPECT_EQ(c.content.TestHeaderRecord("getl001").RecNo, 2);
    const TDbRec question = c.content.QuestionRecord("getl001030");
    EXPECT_EQ(question.BodyText(), "Vraag A");
    EXPECT_EQ(c.db.RememberedN(), 3);
    EXPECT_EQ(c.content.ExplanationAfter(3), "Omdat c.");
    EXPECT_EQ(c.content.ExplanationAfter(5), ""); // the next record has no part 3
    EXPECT_EQ(c.content.ExplanationAfter(8), "volgt geen vraag");
    EXPECT_EQ(c.content.ExplanationAfter(9), ""); // the last record has none after it
    EXPECT_EQ(c.content.QuestionRecord("getl009999").Key, nullptr);
}
