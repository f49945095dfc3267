#include "exam/catalogue.h"

#include "exam/iq_score.h"
#include "platform/ansi.h"

namespace {

constexpr std::string_view kSelectTest = "selecttest#";
constexpr std::string_view kStartTest = "starttest";
constexpr std::string_view kResults = "mijnresultaten";
constexpr std::string_view kCatalogue = "overzicht";
constexpr std::string_view kRetake = "opnieuw#";
constexpr std::size_t kMaxShort = 255;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           plat::AnsiSameText(text.substr(0, prefix.size()), prefix);
}

} // namespace

std::string BuildCatalogueText(const TTestContent& content, const TAnswerSnapshot& answers, int age,
                               const TCatalogueProgress& progress) {
    std::string text = "Kies een test uit onderstaande lijst:\r\n\r\n";
    for (int g = 1; g <= content.GroupCount(); ++g) {
        const std::string group = content.GroupCodeAt(g);
        int64_t groupPossible = 0;
        int64_t groupEarned = 0;
        text += "\r\n" + content.GroupTitle(group) + "\r\n\r\n";
        const int tests = content.TestCount(group);
        for (int t = 1; t <= tests; ++t) {
            if (progress)
                progress(t * 100 / tests);
            const std::string key = TestKey(group, content.TestAt(group, t));
            text += "   <a href=\"selecttest#" + key + "\">" + content.TestTitle(key) + "</a>\r\n";
            const TTestScore score = ScoreTest(content, key, answers);
            groupPossible += score.Possible;
            groupEarned += score.Earned;
            text += "    <i> [" + std::to_string(score.Questions) +
                    (score.Questions == 1 ? " vraag, " : " vragen, ") +
                    std::to_string(score.Answered) +
                    " beantwoord] IQ=" + IQText(score.Earned, score.Possible, age) + "</i>\r\n\r\n";
        }
        // The group's IQ is that of its summed points, not an average of IQs.
        text += "    <i>Gemiddeld IQ=" + IQText(groupEarned, groupPossible, age) + "</i>\r\n\r\n";
    }
    return text;
}

std::string EnsureCatalogue(std::string& CatalogueText, const TTestContent& content,
                            const TUserProfile& user, const TCatalogueProgress& progress) {
    if (!CatalogueText.empty())
        return CatalogueText;
    const std::string name = user.Name;
    const uint8_t age = user.Age;
    std::string text = BuildCatalogueText(content, TAnswerSnapshot::Load(name), age, progress);
    if (CatalogueText.empty() && user.Name == name && user.Age == age)
        CatalogueText = text;
    return text;
}

void InvalidateCatalogue(std::string& CatalogueText) {
    CatalogueText.clear();
}

void InvalidateCatalogueOnAgeChange(std::string& CatalogueText, uint8_t oldAge, uint8_t newAge) {
    if (oldAge != newAge)
        CatalogueText.clear();
}

bool IsSelectTestLink(std::string_view target) {
    return StartsWithNoCase(target, kSelectTest);
}

bool IsStartTestLink(std::string_view target) {
    return StartsWithNoCase(target, kStartTest);
}

std::string CatalogueWithResultsLink(std::string_view catalogue) {
    return std::string(catalogue) + kResultsLinkLine;
}

bool IsResultsLink(std::string_view target) {
    return plat::AnsiSameText(target, kResults);
}

bool IsCatalogueLink(std::string_view target) {
    return plat::AnsiSameText(target, kCatalogue);
}

bool IsRetakeLink(std::string_view target) {
    return StartsWithNoCase(target, kRetake);
}

std::string RetakeTestKey(std::string_view target) {
    const std::string lower = plat::AnsiLower(target);
    return lower.substr(std::min(lower.size(), kRetake.size()), kMaxShort);
}

void ResetRunForCatalogue(TTestRunState& s) {
    s.Set(TTestRunState::sfTestPage);
    s.Clear(TTestRunState::sfTestRunning);
    s.Clear(TTestRunState::sfTestPaused);
    s.Clear(TTestRunState::sfReviewing);
    s.FeedbackPending = false;
    s.FeedbackShown = false;
    s.CurrentTest.clear();
    s.QuestionNo = 0;
    s.TestQuestionCount = 0;
    s.UsedTime = 0;
    s.QuestionStart = 0;
    s.LastTick = 0;
    s.ShownQuestionRec = 0;
}

void SelectTest(TTestRunState& s, const TTestContent& content, const TAnswerSnapshot& answers,
                std::string_view target) {
    const std::string lower = plat::AnsiLower(target);
    s.CurrentTest = lower.substr(std::min(lower.size(), kSelectTest.size()), kMaxShort);
    s.TestQuestionCount = content.QuestionCount(s.CurrentTest);
    s.QuestionNo = 0;
    s.UsedTime = 0;
    s.QuestionStart = 0;
    s.LastTick = 0;
    for (int q = 1; q <= s.TestQuestionCount; ++q) {
        const std::string& value =
            answers.Value(QuestionKey(s.CurrentTest, content.QuestionAt(s.CurrentTest, q)));
        if (!value.empty()) {
            ++s.QuestionNo;
            s.UsedTime += AnswerTime(value);
        }
    }
}

std::string TestHeaderCaption(const TTestContent& content, const TTestRunState& s) {
    const std::string_view test = s.CurrentTest;
    std::string caption =
        content.GroupTitle(test.substr(0, 4)) + " - " + content.TestTitle(test.substr(0, 7));
    if (s.QuestionNo == s.TestQuestionCount)
        caption += " nalopen";
    else if (s.QuestionNo >= 1)
        caption += " voortzetten";
    return caption;
}

bool TestFinished(const TTestContent& content, std::string_view testKey,
                  const TAnswerSnapshot& answers) {
    const int questions = content.QuestionCount(testKey);
    if (questions < 1)
        return false;
    for (int q = 1; q <= questions; ++q)
        if (answers.Value(QuestionKey(testKey, content.QuestionAt(testKey, q))).empty())
            return false;
    return true;
}
