#include "exam/content_model.h"

#include <algorithm>

namespace {

bool AllZeros(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == '0'; });
}

} // namespace

std::string TestKey(std::string_view groupCode, std::string_view testNumber) {
    return std::string(groupCode) + std::string(testNumber);
}

std::string QuestionKey(std::string_view testKey, std::string_view questionNumber) {
    return std::string(testKey) + std::string(questionNumber);
}

TRecordRole RecordRole(std::string_view key, std::string_view previousKey) {
    const TKeyParts parts = SplitKey(key);
    if (!parts.Part3.empty())
        return RecordRole(previousKey, {}) == TRecordRole::Question ? TRecordRole::Explanation
                                                                    : TRecordRole::None;
    if (parts.Kind != "Test" || parts.Part2.size() < 15 || !parts.Part4.empty())
        return TRecordRole::None;
    const std::string_view code = parts.Part2;
    if (code.size() == 15 && AllZeros(code.substr(4)))
        return TRecordRole::GroupHeader;
    if (code.size() == 15 && AllZeros(code.substr(7)))
        return TRecordRole::TestHeader;
    return code.substr(7, 3) == "000" ? TRecordRole::None : TRecordRole::Question;
}

std::string TTestContent::GroupTitle(std::string_view groupCode) const {
    return db_.GroupTitle(index_, groupCode);
}

std::string TTestContent::TestAt(std::string_view groupCode, int n) const {
    return index_.TestAt(groupCode, n);
}

std::string TTestContent::TestTitle(std::string_view testKey) const {
    return db_.TestTitle(index_, testKey);
}

std::string TTestContent::QuestionAt(std::string_view testKey, int n) const {
    return index_.QuestionAt(testKey, n);
}

TQuestionInfo TTestContent::Question(std::string_view testKey, int n) const {
    const std::string number = index_.QuestionAt(testKey, n);
    return number.empty() ? TQuestionInfo{} : QuestionByKey(QuestionKey(testKey, number));
}

TQuestionInfo TTestContent::QuestionByKey(std::string_view questionKey) const {
    const std::string& entry = index_.FindEntry(questionKey);
    TQuestionInfo info;
    if (entry.empty())
        return info;
    info.Key = std::string(questionKey);
    info.Points = StrToIntDef(EntryPoints(entry), 0);
    info.AnswerLength = StrToIntDef(EntryAnswerLength(entry), 0);
    info.Answer = std::string(EntryAnswer(entry));
    info.RecNo = EntryRecNo(entry);
    return info;
}

TDbRec TTestContent::TestHeaderRecord(std::string_view testKey) {
    return db_.RecordAt(index_.FindRecordNo(std::string(testKey) + "000"));
}

TDbRec TTestContent::QuestionRecord(std::string_view questionKey) {
    return db_.RecordAt(index_.FindRecordNo(questionKey));
}

std::string TTestContent::ExplanationAfter(int32_t recNo) {
    if (recNo < 0 || recNo >= db_.ActiveCount())
        return {};
    const TDbRec next = db_.RecordAt(recNo + 1);
    if (SplitKey(next.KeyText()).Part3.empty())
        return {};
    return std::string(next.BodyText());
}
