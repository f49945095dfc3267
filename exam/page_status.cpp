#include "exam/page_status.h"

TTestPageStatus TestPageStatus(const TTestRunState& s, bool timeLimQ, bool timeLimT) {
    using S = TTestRunState;
    const bool on = s.Has(S::sfLoggedOn);
    const bool running = on && s.Has(S::sfTestRunning);
    const bool reviewing = on && s.Has(S::sfReviewing);
    // Moving on, pausing and clearing need at least one choice.
    const bool chosen = s.AnswerCaption != kAnswerCaptionEmpty;

    TTestPageStatus st;
    st.AnswerVisible = running;
    st.DeleteVisible = running && s.ShownQuestionRec != 0 && chosen;
    st.PreviousVisible = reviewing;
    st.PreviousEnabled = s.QuestionNo > 1;
    // The feedback of a timed-out question has no choice but must still let
    // the user go on.
    st.NextVisible = reviewing || (running && (chosen || s.FeedbackShown));
    st.NextEnabled =
        s.Has(S::sfTestRunning) || (s.Has(S::sfReviewing) && s.QuestionNo < s.TestQuestionCount);
    st.PauseEnabled = running && chosen;
    st.ClearRemark = !s.Has(S::sfTestRunning) && !s.Has(S::sfReviewing);
    st.TimesVisible = running;
    st.QuestionGaugeVisible = running && timeLimQ;
    st.TestGaugeVisible = running && timeLimT;
    return st;
}

TTestPageStatus TestPageStatus(const TTestRunState& state, const TUserProfile& user) {
    return TestPageStatus(state, user.TimeLimQ, user.TimeLimT);
}
