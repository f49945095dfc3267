#pragma once

#include <string>
#include <string_view>

class TTestContent;
struct TUserProfile;

// What the test engine needs of the main window's Test page. The window
// implements it with its controls; tests implement it with plain records.
class TTestPageHost {
public:
    virtual ~TTestPageHost() = default;

    virtual void ShowTestPage() = 0; // "Test" becomes the active page of MainPages
    virtual void PlaySound(std::string_view relativeFile) = 0;
    virtual void SetTestHeader(const std::string& caption) = 0; // TestHeaderLbl

    // TestView: SetMarkupText with no text, then with the markup; ClearText
    // sets no text only.
    virtual void ShowText(const std::string& markup) = 0;
    virtual void ClearText() = 0;
    virtual void EnableInputs() = 0;
    virtual void DisableInputs() = 0;
    virtual void ClearInputs() = 0;
    virtual void FocusText() = 0; // TestTextCtrl; a failure to focus is ignored

    virtual void SetAnswerCaption(const std::string& caption) = 0; // QuestionAnswerLbl
    virtual void SetRemark(const std::string& text) = 0;           // RemarkLbl
    virtual void SetNextCaption(const std::string& caption) = 0;   // NextQuestionBtn, repainted
    virtual void ShowNextButton() = 0; // after a time-out with direct feedback
    // PauseTestBtn down with "Test vervolgen" or up with "Test pauzeren", repainted.
    virtual void SetPauseButton(bool pressed) = 0;
    virtual void SetTimeCaptions(const std::string& question, const std::string& total) = 0;
    virtual void SetQuestionGauge(int value) = 0; // TimeLimitQGauge, needle
    virtual void SetTestGauge(int value) = 0;     // TimeLimitTGauge

    // TimeLimitQGauge doubles as the progress indicator of a catalogue build:
    // shown in pie style, set per test (letting pending events run), then back
    // to needle style and hidden.
    virtual void BeginCatalogueProgress() = 0;
    virtual void CatalogueProgress(int percent) = 0;
    virtual void EndCatalogueProgress() = 0;

    virtual void StartTimer() = 0; // TestTimer, 1000 ms
    virtual void StopTimer() = 0;
    virtual void UpdateStatus() = 0;
    virtual void ProcessEvents() = 0;

    // The markup of the results page for a user: the window draws its chart
    // into a picture file, which the engine cannot.
    virtual std::string ResultsPageText(const TTestContent& content, const TUserProfile& user) = 0;

    // An answer could not be written to the user file ("Unable to write to %s").
    virtual void WriteFailed(const std::string& fileName) = 0;
};
