#include "exam/iq_score.h"

#include "platform/paths.h"
#include "platform/profile_file.h"
#include "recdb/record_index.h"

#include <cmath>

QString NormFilePath() {
    return plat::ResolvePath("d\\iq.dat");
}

std::string IQSection(int age) {
    if (age >= 14 && age <= 16)
        return "14-16";
    if (age >= 17 && age <= 21)
        return "17-21";
    if (age >= 22 && age <= 30)
        return "22-30";
    return ">30";
}

std::string LookUpIQ(std::string_view ageText, std::string_view rawText) {
    return LookUpIQ(StrToIntDef(ageText, 0), StrToIntDef(rawText, 0));
}

std::string LookUpIQ(int age, int64_t raw) {
    if (raw > kHighestNormedRaw)
        return kIQAboveNorms;
    return plat::ReadProfileString(NormFilePath(), IQSection(age), std::to_string(raw), kIQNoNorm);
}

int64_t RawScore(int64_t earned, int64_t possible) {
    // The quotient first, then x 200: at the edges this can fall just below a
    // whole number that earned x 200 / possible reaches exactly.
    const long double quotient = static_cast<long double>(earned) / possible;
    return int64_t(std::truncl(quotient * 200));
}

std::string IQText(int64_t earned, int64_t possible, int age) {
    if (possible == 0 || earned <= 0)
        return kIQNotScored;
    return LookUpIQ(age, RawScore(earned, possible));
}

TTestScore ScoreTest(const TTestContent& content, std::string_view testKey,
                     const TAnswerSnapshot& answers) {
    TTestScore score;
    score.Questions = content.QuestionCount(testKey);
    for (int q = 1; q <= score.Questions; ++q) {
        const std::string key = QuestionKey(testKey, content.QuestionAt(testKey, q));
        const TQuestionInfo question = content.QuestionByKey(key);
        const std::string& value = answers.Value(key);
        score.Possible += question.Points;
        if (AnswerIsRight(value, question.Answer))
            score.Earned += question.Points;
        if (!value.empty())
            ++score.Answered;
    }
    return score;
}

std::string GetTestIQ(const TTestContent& content, std::string_view testKey,
                      std::string_view userName, int age) {
    const TTestScore score = ScoreTest(content, testKey, TAnswerSnapshot::Load(userName));
    return IQText(score.Earned, score.Possible, age);
}
