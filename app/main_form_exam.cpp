#include "app/main_form.h"

// The test page: catalogue, test run, pause and feedback.

// FIXME: the test engine builds (or reuses) CatalogueText and shows it.
void TMainForm::ShowCatalogue() {}

// FIXME: the test engine moves on as NextQuestionBtn does, with PauseTestBtn
// as the sender.
void TMainForm::ContinueAfterPause() {}

// FIXME: the test engine stores the chosen answer and the time spent on the
// shown question, and stops TestTimer.
void TMainForm::RecordPausedQuestion() {}

// FIXME: TestView shows "Test is gepauzeerd".
void TMainForm::ShowPausedText() {}
