#pragma once

#include "exam/page_host.h"
#include "users/user_profile.h"

#include <string>
#include <vector>

// Stands in for the main window's Test page and remembers what it was told.
struct FakeTestPage : TTestPageHost {
    std::string text; // what TestView shows
    std::vector<std::string> shown;
    std::string header, answerCaption, remark, nextCaption;
    std::string questionTime, totalTime;
    bool pausePressed = false;
    bool inputsEnabled = true;
    bool timerRunning = false;
    bool progressShown = false;
    int questionGauge = -1, testGauge = -1;
    int nextForced = 0, statusRefreshes = 0, eventRuns = 0, focus = 0, resultsPages = 0;
    std::vector<int> progress;
    std::vector<std::string> sounds, writeFailures;

    void ShowTestPage() override {}
    void PlaySound(std::string_view file) override { sounds.emplace_back(file); }
    void SetTestHeader(const std::string& c) override { header = c; }
    void ShowText(const std::string& m) override {
        text = m;
        shown.push_back(m);
    }
    void ClearText() override { text.clear(); }
    void EnableInputs() override { inputsEnabled = true; }
    void DisableInputs() override { inputsEnabled = false; }
    void ClearInputs() override {}
    void FocusText() override { ++focus; }
    void SetAnswerCaption(const std::string& c) override { answerCaption = c; }
    void SetRemark(const std::string& t) override { remark = t; }
    void SetNextCaption(const std::string& c) override { nextCaption = c; }
    void ShowNextButton() override { ++nextForced; }
    void SetPauseButton(bool pressed) override { pausePressed = pressed; }
    void SetTimeCaptions(const std::string& q, const std::string& t) override {
        questionTime = q;
        totalTime = t;
    }
    void SetQuestionGauge(int v) override { questionGauge = v; }
    void SetTestGauge(int v) override { testGauge = v; }
    void BeginCatalogueProgress() override { progressShown = true; }
    void CatalogueProgress(int p) override { progress.push_back(p); }
    void EndCatalogueProgress() override { progressShown = false; }
    void StartTimer() override { timerRunning = true; }
    void StopTimer() override { timerRunning = false; }
    void UpdateStatus() override { ++statusRefreshes; }
    void ProcessEvents() override { ++eventRuns; }
    std::string ResultsPageText(const TTestContent&, const TUserProfile& user) override {
        ++resultsPages;
        return "Resultaten van " + user.Name;
    }
    void WriteFailed(const std::string& file) override { writeFailures.push_back(file); }
};
