#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kAnswerCaptionEmpty = "Keuze: ";
inline constexpr const char* kNextCaption = "Volgende vraag";
inline constexpr const char* kFeedbackCaption = "Feedback";
inline constexpr const char* kPauseCaption = "Test pauzeren";
inline constexpr const char* kResumeCaption = "Test vervolgen";
inline constexpr const char* kPausedText = "Test is gepauzeerd";

// The test run's fields, named as the window names them. TTestRun owns the
// one copy; everything else reads it through TTestRun::State().
struct TTestRunState {
    // StatusFlags bits of the log-on and the test page. The page-visit bits
    // of the other pages are the window's own.
    static constexpr uint16_t sfLoggedOn = 0x0002;
    static constexpr uint16_t sfTestPage = 0x0004;
    static constexpr uint16_t sfTestRunning = 0x0008;
    static constexpr uint16_t sfTestPaused = 0x0010;
    static constexpr uint16_t sfReviewing = 0x0020;

    uint16_t StatusFlags = 0;
    std::string CurrentTest; // TestKey of the selected test, empty when none
    int32_t QuestionNo = 0;  // current question; before a start, the answered count
    int32_t TestQuestionCount = 0;
    double UsedTime = 0;      // days spent on the finished questions, earlier runs included
    double QuestionStart = 0; // when the current question was shown or the run resumed
    double LastTick = 0;      // latest timer tick
    uint8_t AnswerLength = 0; // clicks that make one answer
    uint8_t ChoiceCount = 0;  // clicks collected, counting stops at 255
    bool FeedbackPending = false;
    int32_t ShownQuestionRec = 0; // record on display, 0 for none

    // The caption of QuestionAnswerLbl, kept here so that the status rules
    // need no widget.
    std::string AnswerCaption = kAnswerCaptionEmpty;
    // The feedback of the current question is on display during a run; the
    // next-question button must then stay reachable even without a choice.
    bool FeedbackShown = false;

    bool Has(uint16_t flag) const { return (StatusFlags & flag) != 0; }
    void Set(uint16_t flag) { StatusFlags = uint16_t(StatusFlags | flag); }
    void Clear(uint16_t flag) { StatusFlags = uint16_t(StatusFlags & ~flag); }
};
