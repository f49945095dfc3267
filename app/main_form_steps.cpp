#include "app/main_form.h"

// Steps of the user store and the test engine that the page buttons and the
// status rules call at fixed moments. Until those subsystems fill them in,
// each does what can be done without them.

// FIXME: the user store takes the settings page into the record and writes
// it to users.dat.
void TMainForm::SaveUser() {}

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

// FIXME: the reference pages show the topic selected in BkInfoIndexLst.
void TMainForm::ShowSelectedBkInfoTopic() {}
