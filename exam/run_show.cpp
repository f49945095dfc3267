// The test run's shared operations: showing questions and feedback, the
// question header, the answer caption and storing answers.
#include "exam/catalogue.h"
#include "exam/feedback.h"
#include "exam/iq_score.h"
#include "exam/run.h"
#include "exam/stored_answers.h"
#include "platform/datetime.h"

#include <algorithm>

namespace {
using S = TTestRunState;
}

std::string TTestRun::KeyOfQuestion(int questionNo) const {
    const std::string number = content_.QuestionAt(s_.CurrentTest, questionNo);
    return number.empty() ? std::string() : QuestionKey(s_.CurrentTest, number);
}

int32_t TTestRun::RecNoOfQuestion(int questionNo) const {
    // An empty key would match the first entry of the index.
    const std::string key = KeyOfQuestion(questionNo);
    return key.empty() ? 0 : index_.FindRecordNo(key);
}

void TTestRun::ShowNoRecord() {
    host_.ClearText();
    s_.ShownQuestionRec = 0;
    SetAnswerCaption(kAnswerCaptionEmpty);
    host_.UpdateStatus();
}

void TTestRun::ShowRecord(const TDbRec& record, int32_t recNoAsked) {
    if (!record.Key) {
        ShowNoRecord();
        return;
    }
    if (record.RecNo == s_.ShownQuestionRec)
        return; // already on display
    if (record.Body) {
        host_.ShowText(std::string(record.BodyText()));
        s_.ShownQuestionRec = recNoAsked;
        SetAnswerCaption(kAnswerCaptionEmpty);
        host_.FocusText();
    }
    host_.UpdateStatus();
}

void TTestRun::ShowQuestionForAnswering(int questionNo) {
    const int32_t recNo = RecNoOfQuestion(questionNo);
    s_.FeedbackShown = false;
    ShowRecord(db_.RecordAt(recNo), recNo);
    host_.EnableInputs();
    const TQuestionInfo info = content_.QuestionByKey(KeyOfQuestion(questionNo));
    s_.AnswerLength = uint8_t(std::clamp(info.AnswerLength, 0, 255));
    SetQuestionHeader();
}

void TTestRun::ShowFeedbackFor(int questionNo) {
    const int32_t recNo = RecNoOfQuestion(questionNo);
    ShowFeedback(db_.RecordAt(recNo), recNo);
}

void TTestRun::ShowFeedback(const TDbRec& record, int32_t recNoAsked) {
    if (!record.Key) {
        ShowNoRecord();
        return;
    }
    if (record.RecNo == s_.ShownQuestionRec)
        return;
    if (!record.Body) {
        host_.UpdateStatus();
        return;
    }
    const std::string key = KeyOfQuestion(s_.QuestionNo);
    const TQuestionInfo info = content_.QuestionByKey(key);
    const std::string value = ReadAnswer(user_.Name, key);

    TFeedbackParts parts;
    parts.Body = record.BodyText();
    parts.StoredValue = value;
    parts.Correct = info.Answer;
    // The record after the question explains it when its third key part is set; the
    // last record has none after it.
    const int32_t next = recNoAsked + 1;
    if (recNoAsked >= 1 && next <= db_.ActiveCount()) {
        const TDbRec after = db_.RecordAt(next);
        parts.HasExplanation = !SplitKey(after.KeyText()).Part3.empty();
        parts.Explanation = after.BodyText();
    }
    host_.ShowText(ComposeFeedbackText(parts, ReadInternetScores(key)));
    s_.ShownQuestionRec = 0; // the next ShowRecord always redraws
    SetAnswerCaption(kAnswerCaptionEmpty);
    host_.FocusText();
    host_.UpdateStatus();
}

std::string TTestRun::QuestionHeader() const {
    return "Vraag " + std::to_string(s_.QuestionNo) + " van " +
           std::to_string(s_.TestQuestionCount) + " [" + content_.TestTitle(s_.CurrentTest) +
           "] IQ=" + GetTestIQ(content_, s_.CurrentTest, user_.Name, user_.Age);
}

void TTestRun::SetQuestionHeader() {
    host_.SetRemark(QuestionHeader());
}

std::string TTestRun::CurrentAnswer() const {
    const std::string& caption = s_.AnswerCaption;
    const std::size_t colon = caption.find(':');
    std::size_t start = colon == std::string::npos ? 0 : colon + 1;
    while (start < caption.size() && static_cast<unsigned char>(caption[start]) <= ' ')
        ++start;
    return caption.substr(start);
}

void TTestRun::StoreCurrentAnswer() {
    const std::string key = KeyOfQuestion(s_.QuestionNo);
    if (key.empty())
        return;
    Store(key, AnswerValue(CurrentAnswer(), plat::Now(), ElapsedMs(s_.QuestionStart, s_.LastTick)));
}

void TTestRun::Store(std::string_view questionKey, const std::string& value) {
    // Every stored answer changes the catalogue's counts and IQs; the per-test
    // limit stores and opens the catalogue with no next-question click between.
    InvalidateCatalogue(catalogueText_);
    if (!WriteAnswer(user_.Name, questionKey, value))
        host_.WriteFailed(UsersFilePath().toStdString());
}

void TTestRun::ApplyNextCaption() {
    // With direct feedback the next click during a run stores and evaluates.
    s_.FeedbackPending = user_.DirectFB && !s_.Has(S::sfReviewing);
    host_.SetNextCaption(s_.FeedbackPending ? kFeedbackCaption : kNextCaption);
}

void TTestRun::SetAnswerCaption(std::string caption) {
    s_.AnswerCaption = std::move(caption);
    host_.SetAnswerCaption(s_.AnswerCaption);
}
