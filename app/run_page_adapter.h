#pragma once

#include "exam/page_host.h"

class TMainForm;

// The main window's Test page as the test engine sees it: TestView in
// TestTextCtrl, the answer, remark and time labels, the gauges, the
// next-question and pause buttons and TestTimer.
class TMainFormTestHost final : public TTestPageHost {
public:
    explicit TMainFormTestHost(TMainForm& form) : form_(form) {}

    void ShowTestPage() override;
    void PlaySound(std::string_view relativeFile) override;
    void SetTestHeader(const std::string& caption) override;

    void ShowText(const std::string& markup) override;
    void ClearText() override;
    void EnableInputs() override;
    void DisableInputs() override;
    void ClearInputs() override;
    void FocusText() override;

    void SetAnswerCaption(const std::string& caption) override;
    void SetRemark(const std::string& text) override;
    void SetNextCaption(const std::string& caption) override;
    void ShowNextButton() override;
    void SetPauseButton(bool pressed) override;
    void SetTimeCaptions(const std::string& question, const std::string& total) override;
    void SetQuestionGauge(int value) override;
    void SetTestGauge(int value) override;

    void BeginCatalogueProgress() override;
    void CatalogueProgress(int percent) override;
    void EndCatalogueProgress() override;

    void StartTimer() override;
    void StopTimer() override;
    void UpdateStatus() override;
    void ProcessEvents() override;
    std::string ResultsPageText(const TTestContent& content, const TUserProfile& user) override;
    void WriteFailed(const std::string& fileName) override;

private:
    TMainForm& form_;
};
