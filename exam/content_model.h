#pragma once

#include "recdb/db_rec_file.h"
#include "recdb/record_index.h"

#include <cstdint>
#include <string>
#include <string_view>

// What the test engine reads into the "Test" records of the record database:
// group and test headers, questions and their explanations, and the keys
// under which answers and statistics are filed.

enum class TRecordRole { None, GroupHeader, TestHeader, Question, Explanation };

// Group code + test number (7 characters) and TestKey + question number (10).
std::string TestKey(std::string_view groupCode, std::string_view testNumber);
std::string QuestionKey(std::string_view testKey, std::string_view questionNumber);

// Role of a record from its key text, given the key text of the record just
// before it in the file (empty for the first record).
TRecordRole RecordRole(std::string_view key, std::string_view previousKey);

// A question's scoring fields, read from its index entry.
struct TQuestionInfo {
    std::string Key;    // QuestionKey; empty when the question does not exist
    int32_t Points = 0; // not a number counts as 0
    int32_t AnswerLength = 0;
    std::string Answer; // compared character for character
    int32_t RecNo = 0;  // record of the question text
};

// The loaded database and its test index seen as groups, tests and
// questions, in the orders the catalogue and the test run use. Numbers n are
// 1-based; out-of-range n gives empty text.
class TTestContent {
public:
    TTestContent(TiDbRecFile& db, const TRecordIndex& index) : db_(db), index_(index) {}

    int GroupCount() const { return index_.GroupCount(); }
    std::string GroupCodeAt(int n) const { return index_.GroupCodeAt(n); }
    std::string GroupTitle(std::string_view groupCode) const;

    int TestCount(std::string_view groupCode) const { return index_.TestCount(groupCode); }
    std::string TestAt(std::string_view groupCode, int n) const;
    std::string TestTitle(std::string_view testKey) const;

    int QuestionCount(std::string_view testKey) const { return index_.QuestionCount(testKey); }
    std::string QuestionAt(std::string_view testKey, int n) const;
    // Question n of a test in run order.
    TQuestionInfo Question(std::string_view testKey, int n) const;
    TQuestionInfo QuestionByKey(std::string_view questionKey) const;

    // The test's introduction page and a question's page (all zero when
    // missing). Like every RecordAt they set the database's remembered number.
    TDbRec TestHeaderRecord(std::string_view testKey);
    TDbRec QuestionRecord(std::string_view questionKey);
    // Body of the explanation that follows record recNo, empty when the next
    // record is missing or is no explanation.
    std::string ExplanationAfter(int32_t recNo);

private:
    TiDbRecFile& db_;
    const TRecordIndex& index_;
};
